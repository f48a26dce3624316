"""What the picture, cursor and icon makers share: the fonts, the colours, the
supersampled drawing surface, and writers and readers for the 8-bit BMP and
the ICO/CUR formats (written by hand so that every run gives the same bytes)."""

import math
import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor of the background pictures

FONT_DIRS = ["/usr/share/fonts/truetype/liberation2",
             "/usr/share/fonts/truetype/liberation",
             "/usr/share/fonts/truetype/dejavu"]
FONT_FILES = {
    "serif-bi": ["LiberationSerif-BoldItalic.ttf", "DejaVuSerif-BoldItalic.ttf"],
    "serif-i": ["LiberationSerif-Italic.ttf", "DejaVuSerif-Italic.ttf"],
    "serif-b": ["LiberationSerif-Bold.ttf", "DejaVuSerif-Bold.ttf"],
}


def font_path(kind):
    for name in FONT_FILES[kind]:
        for d in FONT_DIRS:
            p = os.path.join(d, name)
            if os.path.exists(p):
                return p
    sys.exit("make_assets: no font for %s (install fonts-liberation2)" % kind)


def font(kind, px):
    return ImageFont.truetype(font_path(kind), int(round(px)))


# --------------------------------------------------------------------------
# Colours
# --------------------------------------------------------------------------
WHITE = (255, 255, 255)
PAPER_TOP = (255, 251, 206)
PAPER_BOTTOM = (252, 242, 172)
SHEET_1 = (238, 224, 152)
SHEET_2 = (222, 205, 130)
PAPER_EDGE = (168, 140, 70)
RULE = (150, 180, 214)
MARGIN = (226, 96, 96)
WIRE_DARK = (104, 8, 14)
WIRE = (200, 30, 34)
WIRE_LIGHT = (255, 156, 146)
INK = (34, 48, 108)
RED_TOP = (236, 58, 48)
RED_BOTTOM = (168, 14, 20)
RED_DARK = (112, 6, 12)
FACE = (213, 194, 132)          # the buttons' face colour
FACE_LIGHT = (246, 236, 204)
FACE_DARK = (134, 107, 57)
GLYPH = (70, 44, 16)
SHADOW = (96, 72, 20)


# --------------------------------------------------------------------------
# Drawing surface: premultiplied RGBA at SS times the final size
# --------------------------------------------------------------------------
class Cov:
    """A coverage mask (0..1) over a sub-rectangle of a canvas."""

    def __init__(self, sl, arr):
        self.sl = sl
        self.arr = arr


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.W, self.H = w * SS, h * SS
        self.p = np.zeros((self.H, self.W, 3), np.float32)
        self.a = np.zeros((self.H, self.W), np.float32)

    # -- coverage makers (coordinates in final pixels, continuous) ---------
    def _grid(self, x0, y0, x1, y1):
        X0 = max(0, int(math.floor(x0 * SS)) - 2)
        Y0 = max(0, int(math.floor(y0 * SS)) - 2)
        X1 = min(self.W, int(math.ceil(x1 * SS)) + 2)
        Y1 = min(self.H, int(math.ceil(y1 * SS)) + 2)
        X1, Y1 = max(X1, X0), max(Y1, Y0)
        xs = (np.arange(X0, X1, dtype=np.float32) + 0.5) / SS
        ys = (np.arange(Y0, Y1, dtype=np.float32) + 0.5) / SS
        return (slice(Y0, Y1), slice(X0, X1)), xs[None, :], ys[:, None]

    @staticmethod
    def _from_dist(d):
        return np.clip(0.5 - d * SS, 0.0, 1.0).astype(np.float32)

    def rrect(self, x0, y0, x1, y1, r):
        sl, X, Y = self._grid(x0, y0, x1, y1)
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
        qx = np.abs(X - cx) - hx
        qy = np.abs(Y - cy) - hy
        out = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
        inside = np.minimum(np.maximum(qx, qy), 0)
        return Cov(sl, self._from_dist(out + inside - r))

    def circle(self, cx, cy, r):
        sl, X, Y = self._grid(cx - r, cy - r, cx + r, cy + r)
        return Cov(sl, self._from_dist(np.hypot(X - cx, Y - cy) - r))

    def polyline(self, pts, radius):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        sl, X, Y = self._grid(min(xs) - radius, min(ys) - radius,
                              max(xs) + radius, max(ys) + radius)
        d = np.full(np.broadcast(X, Y).shape, 1e9, np.float32)
        for (ax, ay), (bx, by) in zip(pts[:-1], pts[1:]):
            vx, vy = bx - ax, by - ay
            ll = vx * vx + vy * vy
            t = ((X - ax) * vx + (Y - ay) * vy) / ll if ll > 0 else 0 * X
            t = np.clip(t, 0, 1)
            d = np.minimum(d, np.hypot(X - ax - t * vx, Y - ay - t * vy))
        return Cov(sl, self._from_dist(d - radius))

    def box(self, x0, y0, x1, y1):
        """Pixel-exact rectangle: pixels x0..x1-1, y0..y1-1."""
        sl = (slice(y0 * SS, y1 * SS), slice(x0 * SS, x1 * SS))
        return Cov(sl, np.ones(((y1 - y0) * SS, (x1 - x0) * SS), np.float32))

    def polygon(self, pts):
        im = Image.new("L", (self.W, self.H), 0)
        ImageDraw.Draw(im).polygon([(x * SS, y * SS) for x, y in pts], fill=255)
        return Cov((slice(None), slice(None)), np.asarray(im, np.float32) / 255)

    def text(self, x, y, s, kind, px, anchor="ls", stroke=0.0):
        im = Image.new("L", (self.W, self.H), 0)
        ImageDraw.Draw(im).text((x * SS, y * SS), s, font=font(kind, px * SS),
                                fill=255, anchor=anchor,
                                stroke_width=int(round(stroke * SS)), stroke_fill=255)
        return Cov((slice(None), slice(None)), np.asarray(im, np.float32) / 255)

    def full(self, cov):
        """The coverage spread over the whole canvas."""
        a = np.zeros((self.H, self.W), np.float32)
        a[cov.sl] = cov.arr
        return a

    def blurred(self, cov, radius, dx=0.0, dy=0.0):
        a = self.full(cov)
        im = Image.fromarray(np.round(a * 255).astype(np.uint8))
        im = im.filter(ImageFilter.GaussianBlur(radius * SS))
        if dx or dy:
            im = im.transform(im.size, Image.Transform.AFFINE,
                              (1, 0, -dx * SS, 0, 1, -dy * SS),
                              resample=Image.Resampling.BILINEAR)
        return Cov((slice(None), slice(None)), np.asarray(im, np.float32) / 255)

    # -- painting ----------------------------------------------------------
    def _colour(self, cov, rgb):
        if callable(rgb):
            sl = cov.sl
            ys = (np.arange(self.H, dtype=np.float32)[sl[0]] + 0.5) / SS
            xs = (np.arange(self.W, dtype=np.float32)[sl[1]] + 0.5) / SS
            return rgb(xs[None, :], ys[:, None]).astype(np.float32)
        return np.asarray(rgb, np.float32) / 255

    def paint(self, cov, rgb, opacity=1.0):
        """Lay colour over everything; makes the covered pixels part of the window."""
        k = (cov.arr * opacity)[..., None]
        c = self._colour(cov, rgb)
        self.p[cov.sl] = c * k + self.p[cov.sl] * (1 - k)
        self.a[cov.sl] = k[..., 0] + self.a[cov.sl] * (1 - k[..., 0])

    def shade(self, cov, rgb, opacity=1.0):
        """Tint what is already there without changing the window's outline."""
        k = (cov.arr * opacity)[..., None]
        c = self._colour(cov, rgb)
        a = self.a[cov.sl][..., None]
        self.p[cov.sl] = self.p[cov.sl] * (1 - k) + c * k * a

    def erase(self, cov):
        """Cut the covered area out of the window."""
        k = cov.arr
        self.p[cov.sl] *= (1 - k)[..., None]
        self.a[cov.sl] *= 1 - k

    # -- result --------------------------------------------------------------
    def result(self):
        """Final-size colours (not blended with the outside) and alpha."""
        p = self.p.reshape(self.h, SS, self.w, SS, 3).mean(axis=(1, 3))
        a = self.a.reshape(self.h, SS, self.w, SS).mean(axis=(1, 3))
        rgb = np.where(a[..., None] > 1e-6, p / np.maximum(a, 1e-6)[..., None], 1.0)
        return np.clip(rgb, 0, 1), a


def vgrad(top, bottom, y0, y1):
    t0 = np.asarray(top, np.float32) / 255
    t1 = np.asarray(bottom, np.float32) / 255

    def f(X, Y):
        t = np.clip((Y - y0) / max(1e-6, y1 - y0), 0, 1)[..., None]
        t = np.broadcast_to(t, np.broadcast(X, Y).shape + (1,))
        return t0 * (1 - t) + t1 * t
    return f


# --------------------------------------------------------------------------
# 8-bit palette BMP (the window pictures)
# --------------------------------------------------------------------------
def write_bmp8(path, idx, palette):
    """8 bits per pixel, 256-entry palette, bottom-up rows."""
    h, w = idx.shape
    stride = (w + 3) & ~3
    pal = bytearray()
    for i in range(256):
        r, g, b = palette[3 * i: 3 * i + 3]
        pal += bytes((b, g, r, 0))
    offset = 14 + 40 + len(pal)
    size = offset + stride * h
    head = b"BM" + size.to_bytes(4, "little") + bytes(4) + offset.to_bytes(4, "little")
    info = (40).to_bytes(4, "little") + w.to_bytes(4, "little", signed=True) \
        + h.to_bytes(4, "little", signed=True) + (1).to_bytes(2, "little") \
        + (8).to_bytes(2, "little") + bytes(4) + (stride * h).to_bytes(4, "little") \
        + (3780).to_bytes(4, "little") * 2 + (256).to_bytes(4, "little") \
        + (256).to_bytes(4, "little")
    rows = np.zeros((h, stride), np.uint8)
    rows[:, :w] = idx
    with open(path, "wb") as f:
        f.write(head + info + bytes(pal) + rows[::-1].tobytes())


def read_bmp8(path):
    data = open(path, "rb").read()
    assert data[:2] == b"BM", path
    offset = int.from_bytes(data[10:14], "little")
    w = int.from_bytes(data[18:22], "little", signed=True)
    h = int.from_bytes(data[22:26], "little", signed=True)
    bpp = int.from_bytes(data[28:30], "little")
    comp = int.from_bytes(data[30:34], "little")
    used = int.from_bytes(data[46:50], "little")
    pal = data[54:54 + 4 * 256]
    palette = [(pal[4 * i + 2], pal[4 * i + 1], pal[4 * i]) for i in range(256)]
    stride = (w + 3) & ~3
    rows = np.frombuffer(data[offset:offset + stride * h], np.uint8).reshape(h, stride)
    return dict(w=w, h=h, bpp=bpp, comp=comp, used=used, palette=palette,
                idx=rows[::-1, :w].copy())


# --------------------------------------------------------------------------
# Windows icon and cursor files
# --------------------------------------------------------------------------
def write_dib_entry(idx_or_rgba, palette=None):
    """One ICO/CUR image: a BITMAPINFOHEADER (height doubled for the AND
    mask), the colour rows bottom-up, then the 1-bit AND mask (1 = see-through)."""
    h, w = idx_or_rgba.shape[:2]
    if palette is not None:                     # 4 bits per pixel, 16 colours
        bpp, colours = 4, 16
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            row = idx_or_rgba[y]
            packed = bytes((int(row[x]) << 4) | int(row[x + 1]) for x in range(0, w, 2))
            xor += packed + b"\0" * ((-len(packed)) % 4)
        see_through = idx_or_rgba == 0
        pal = b"".join(bytes((palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0))
                       for i in range(16))
    else:                                       # 32 bits per pixel, BGRA
        bpp, colours = 32, 0
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = (int(v) for v in idx_or_rgba[y, x])
                xor += bytes((b, g, r, a))
        see_through = idx_or_rgba[..., 3] == 0
        pal = b""
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = 0
        row = bytearray()
        for x in range(w):
            bits = (bits << 1) | (1 if see_through[y, x] else 0)
            if x % 8 == 7:
                row.append(bits)
                bits = 0
        mask += row + b"\0" * ((-len(row)) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, len(xor) + len(mask), 0, 0, colours, 0)
    return header + pal + bytes(xor) + bytes(mask), colours, bpp


def write_icon_file(path, kind, entries):
    """An ICO (kind 1) or CUR (kind 2) file. entries: (width, height, data,
    colours, field_a, field_b): planes and bit count for an icon, the hotspot
    x and y for a cursor."""
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, data, colours, a, b in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours % 256, 0, a, b, len(data), offset)
        offset += len(data)
    for *_, data, _c, _a, _b in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)

