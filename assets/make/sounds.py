"""The alarm sounds (sons/*.wav), synthesised from modal models of a gong and
bells and from beeps, with a hashed noise instead of a random generator so
that every machine writes the same samples."""

import math
import os
import wave

import numpy as np

RATE = 22050
PEAK = 0.891  # -1 dBFS


def hash_noise(n, seed):
    """White noise in [-1, 1) from an integer hash, the same on every machine."""
    x = (np.arange(n, dtype=np.uint64) + np.uint64(seed) * np.uint64(0x9E3779B9))
    x &= np.uint64(0xFFFFFFFF)
    x ^= x >> np.uint64(16)
    x = (x * np.uint64(0x7FEB352D)) & np.uint64(0xFFFFFFFF)
    x ^= x >> np.uint64(15)
    x = (x * np.uint64(0x846CA68B)) & np.uint64(0xFFFFFFFF)
    x ^= x >> np.uint64(16)
    return x.astype(np.float64) / 2 ** 31 - 1.0


def lowpass(x, fc):
    """One-pole low-pass filter, run twice for a gentler slope."""
    k = math.exp(-2 * math.pi * fc / RATE)
    for _ in range(2):
        y = np.empty_like(x)
        acc = 0.0
        for i, v in enumerate(x):
            acc = (1 - k) * v + k * acc
            y[i] = acc
        x = y
    return x


def finish(sig, fade_in=0.004, fade_out=0.25):
    sig = sig - np.mean(sig)
    n = len(sig)
    ni, no = int(fade_in * RATE), int(fade_out * RATE)
    sig[:ni] *= 0.5 - 0.5 * np.cos(np.linspace(0, math.pi, ni))
    sig[n - no:] *= 0.5 + 0.5 * np.cos(np.linspace(0, math.pi, no))
    sig[0] = sig[-1] = 0.0
    return sig / np.max(np.abs(sig)) * PEAK


def write_wav(path, sig):
    pcm = np.round(np.clip(sig, -1, 1) * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def gong():
    """A chau gong struck with a soft mallet. Plate modes are inharmonic; each
    is split into two close frequencies that beat (the shimmer); the low modes
    ring longest; the soft mallet gives little treble at first, and the upper
    modes swell in over the first second as the plate's energy spreads upwards
    (the gong's bloom), then die away sooner than the low ones."""
    dur = 4.0
    t = np.arange(int(dur * RATE)) / RATE
    # the low, clearly pitched modes: (frequency Hz, amplitude, -60 dB time s)
    modes = [
        (98.0, 0.80, 9.0), (151.3, 0.45, 8.0), (197.8, 0.70, 7.2),
        (243.6, 0.45, 6.5), (301.2, 0.60, 6.0), (356.9, 0.45, 5.4),
        (421.5, 0.50, 4.9), (489.0, 0.40, 4.4), (563.7, 0.38, 4.0),
        (641.2, 0.30, 3.6),
    ]
    # above them a dense cloud of modes that bloom after the strike
    jitter = hash_noise(64, 7)
    cloud = []
    for i in range(48):
        f = 700.0 * (5200.0 / 700.0) ** (i / 47) * (1 + 0.025 * jitter[i])
        cloud.append((f, 0.28 * (700.0 / f) ** 0.45, 0.6 + 3.2 * (700.0 / f) ** 0.7,
                      0.15 + 0.55 * i / 47))
    sig = np.zeros_like(t)
    attack = 1 - np.exp(-t / 0.007)                   # soft mallet
    glide = 1 + 0.004 * np.exp(-t / 0.5)              # a faint pitch sag
    allmodes = [(f, a, t60, 0.0) for f, a, t60 in modes] + cloud
    for i, (f, amp, t60, swell) in enumerate(allmodes):
        beat = 0.4 + 0.3 * ((i * 7) % 11)             # 0.4 .. 3.4 Hz apart
        env = np.exp(-6.91 * t / t60) * attack
        if swell > 0:
            env = env * (1 - np.exp(-t / swell)) ** 2
        ph0 = 2 * math.pi * ((i * 0.618034) % 1.0)
        for k, (df, w) in enumerate(((0.0, 0.6), (beat, 0.4))):
            ph = 2 * math.pi * np.cumsum((f + df) * glide) / RATE + ph0 + k * 1.3
            sig += amp * w * env * np.sin(ph)
    # the mallet's thump: a short low-passed noise burst
    n = int(0.05 * RATE)
    thump = lowpass(hash_noise(n, 1), 300.0) * np.exp(-np.arange(n) / (0.010 * RATE))
    sig[:n] += 1.2 * thump * (1 - np.exp(-np.arange(n) / (0.002 * RATE)))
    return finish(sig, fade_in=0.002, fade_out=1.4)


def bell_strike(t, f0, level=1.0):
    """One strike of a small bell: hum, prime, tierce, quint, nominal and the
    upper partials, with a little warble on the lowest ones."""
    partials = [(0.50, 0.35, 2.6), (1.00, 0.80, 2.0), (1.19, 0.45, 1.6),
                (1.50, 0.30, 1.4), (2.00, 1.00, 1.2), (2.52, 0.35, 0.9),
                (2.66, 0.30, 0.8), (3.01, 0.25, 0.7), (4.07, 0.18, 0.5),
                (5.03, 0.10, 0.35), (6.12, 0.06, 0.25)]
    out = np.zeros_like(t)
    live = t >= 0
    tt = np.where(live, t, 0)
    for i, (r, a, t60) in enumerate(partials):
        f = f0 * r
        env = np.exp(-6.91 * tt / t60) * (1 - np.exp(-tt / 0.0015))
        if r < 1.3:   # the low partials are doublets a little apart: they warble
            tone = 0.7 * np.sin(2 * math.pi * f * tt + i) + \
                0.3 * np.sin(2 * math.pi * (f + 1.7) * tt + i + 1)
        else:
            tone = np.sin(2 * math.pi * f * tt + i)
        out += a * env * tone
    return out * live * level


def sino():
    dur = 3.0
    t = np.arange(int(dur * RATE)) / RATE
    sig = bell_strike(t, 660.0) + bell_strike(t - 1.1, 660.0, 0.8)
    n = int(0.004 * RATE)
    click = hash_noise(n, 2) * np.exp(-np.arange(n) / (0.0008 * RATE))
    sig[:n] += 0.3 * click
    return finish(sig, fade_out=0.6)


def campainha():
    """An electric bell: a hammer hitting a small bell 22 times a second in two rings."""
    dur = 2.8
    n = int(dur * RATE)
    hits = np.zeros(n)
    rate = 22.0
    for start, length in ((0.0, 1.0), (1.35, 1.0)):
        k = 0
        while k / rate < length:
            pos = int((start + k / rate) * RATE)
            hits[pos] += 1.0 - 0.25 * (k % 2)       # the hammer swings unevenly
            k += 1
    m = int(0.6 * RATE)
    tr = np.arange(m) / RATE
    ir = np.zeros(m)
    for r, a, t60 in ((1.0, 1.0, 0.50), (2.32, 0.55, 0.30), (3.87, 0.35, 0.20),
                      (5.12, 0.20, 0.12)):
        ir += a * np.exp(-6.91 * tr / t60) * np.sin(2 * math.pi * 1180.0 * r * tr)
    size = 1 << int(math.ceil(math.log2(n + m)))
    sig = np.fft.irfft(np.fft.rfft(hits, size) * np.fft.rfft(ir, size), size)[:n]
    sig += 0.05 * np.convolve(hits, np.ones(30) / 30, "same") * hash_noise(n, 3)
    return finish(sig, fade_out=0.35)


def bipe():
    """An alarm clock: two groups of four short beeps."""
    dur = 2.0
    n = int(dur * RATE)
    sig = np.zeros(n)
    f = 1760.0
    on, off, ramp = 0.085, 0.065, 0.004
    m = int(on * RATE)
    tb = np.arange(m) / RATE
    tone = np.sin(2 * math.pi * f * tb) + 0.22 * np.sin(2 * math.pi * 3 * f * tb) \
        + 0.08 * np.sin(2 * math.pi * 5 * f * tb)
    r = int(ramp * RATE)
    win = np.ones(m)
    win[:r] = 0.5 - 0.5 * np.cos(np.linspace(0, math.pi, r))
    win[m - r:] = 0.5 + 0.5 * np.cos(np.linspace(0, math.pi, r))
    for group in (0.02, 1.0):
        for k in range(4):
            pos = int((group + k * (on + off)) * RATE)
            sig[pos:pos + m] += tone * win
    return finish(sig, fade_in=0.002, fade_out=0.01)


# File name (without .wav) and maker; gongo is the default alarm.
SOUNDS = (("gongo", gong), ("sino", sino), ("campainha", campainha), ("bipe", bipe))


def make(out):
    """Writes the sounds into out/sons."""
    folder = os.path.join(out, "sons")
    os.makedirs(folder, exist_ok=True)
    for name, maker in SOUNDS:
        write_wav(os.path.join(folder, name + ".wav"), maker())
