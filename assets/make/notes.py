"""LAYOUT.md, the notes that tell the program's windows where their controls
go and how to read the pictures, and the self-check of the written files:
what the program relies on (sizes, palette index 0 as the outside, free
control areas, hotspot, icon formats, sound levels without clicks)."""

import os
import struct
import wave

import numpy as np
from PIL import Image

from .common import WHITE, read_bmp8
from .icons import ICON_SIZES
from .layout import MAY_OVERLAP_HOLES, PINHOLES
from .sounds import RATE, SOUNDS

# --------------------------------------------------------------------------
# LAYOUT.md
# --------------------------------------------------------------------------
TITLES = {
    "fundo_main": ("Main window `formTAVO`", "417 x 278"),
    "fundo_list": ("List window `formList`", "417 x 278"),
    "fundo_config": ("Settings window `formConfig`", "417 x 278"),
    "fundo_sync": ("Sync window `formSync`", "417 x 278"),
    "fundo_lembrete": ("Reminder window `formLembrete`", "255 x 270"),
}


def write_layout(path, hotspot, layout):
    L = []
    w = L.append
    w("# Quelvo assets: files, picture rules and control positions")
    w("")
    w("Everything in this folder except `datas/`, `CMakeLists.txt` and the generator")
    w("itself (`make_assets.py` and its package `make/`) is made by `make_assets.py`,")
    w("and so is this file. To re-make (same bytes every run):")
    w("")
    w("    /usr/bin/python3 assets/make_assets.py")
    w("")
    w("It needs `python3-pil`, `python3-numpy` and `fonts-liberation2`, and ends")
    w("with a self-check of what it wrote (non-zero exit status on a failure).")
    w("Change the generator, not the made files or this text; the test")
    w("`assets_reproducible` fails when the committed files are not its output.")
    w("")
    w("## Files")
    w("")
    w("| file | what |")
    w("|---|---|")
    w("| `fundo_main.bmp` | main window background, 417 x 278 |")
    w("| `fundo_list.bmp` | list window background, 417 x 278 |")
    w("| `fundo_config.bmp` | settings window background, 417 x 278 |")
    w("| `fundo_sync.bmp` | sync window background, 417 x 278 |")
    w("| `fundo_lembrete.bmp` | reminder window background, 255 x 270 |")
    w("| `mao.png` | hand cursor \"MAO\", 32 x 32 RGBA |")
    w("| `mao.cur` | the same hand as a Windows cursor, hotspot at the fingertip |")
    w("| `quelvo_tray.png` | tray icon, 32 x 32, 16-colour palette, index 0 transparent |")
    w("| `quelvo.ico` | the same icon as a Windows icon, 16 colours (32 and 16 pixels) |")
    w("| `icons/quelvo_N.png` | the same design in full colour (RGBA) for the desktop menu, "
      "N = %s |" % ", ".join(str(n) for n in ICON_SIZES))
    w("| `sons/gongo.wav` | the default alarm: a gong (4 s) |")
    w("| `sons/sino.wav` | a small bell struck twice (3 s) |")
    w("| `sons/campainha.wav` | an electric bell ringing twice (2.8 s) |")
    w("| `sons/bipe.wav` | alarm-clock beeps, two groups of four (2 s) |")
    w("")
    w("The sounds are 16-bit PCM mono WAV at %d Hz, peak-normalised to -1 dBFS," % RATE)
    w("starting and ending on silence.")
    w("")
    w("## Background pictures")
    w("")
    w("Uncompressed BMP, 8 bits per pixel, 256-entry palette, rows stored bottom-up.")
    w("")
    w("- Palette index 0 is white (255, 255, 255) and marks a pixel **outside** the")
    w("  window: the area round the pad, the rounded corners, the ring holes of the")
    w("  binding, the gaps between the rings, the cut-away page corner and the gap")
    w("  above the events strip of the reminder picture, and the 15 pin-holes of the")
    w("  main picture.")
    w("- Every other index is **inside**. The outline is hard: no pixel next to the")
    w("  outside is blended with white; smoothing happens only between inside colours.")
    w("  Do not read index 0's colour as \"white paper\": read the index.")
    w("- The window region is the union of each row's runs of non-zero indexes.")
    w("- Load them with `QImage` (Format_Indexed8) and test `pixelIndex(x, y) != 0`.")
    w("")
    w("The main picture's 15 pin-holes (single index-0 pixels, every neighbour")
    w("inside), as (x, y):")
    w("")
    w("    " + ", ".join("(%d, %d)" % p for p in PINHOLES))
    w("")
    w("Each has a faint darker halo drawn round it; none lies under a control below.")
    w("")
    w("## Control positions")
    w("")
    w("x, y are the top-left corner in window (client) pixels; w x h is the size.")
    w("All the areas below are inside the window (no index-0 pixel under them) except")
    w("`iExpand`, which covers the turned-up corner and so part of the cut-away corner.")
    w("Label boxes are the room left for their text: labels are transparent, their")
    w("text left-aligned and centred vertically in the box. The places come from the")
    w("program's window tables (`forms/window_tables.h`), printed by `tools/window_layout`.")
    for key in ("fundo_main", "fundo_list", "fundo_config", "fundo_sync", "fundo_lembrete"):
        title, size = TITLES[key]
        w("")
        w("### %s: `%s.bmp` (%s)" % (title, key, size))
        w("")
        w("| control | x | y | w | h | note |")
        w("|---|---|---|---|---|---|")
        for name, x, y, cw, ch, note in layout.get(key, []):
            w("| `%s` | %d | %d | %d | %d | %s |" % (name, x, y, cw, ch, note))
    w("")
    w("Main window: the six command buttons are two columns of three (left `bNovo`,")
    w("`bDoBackup`, `bConfig`; right `bLista`, `bRestoreBackup`, `bFecha`), 16 px")
    w("apart sideways and 13 px apart downwards. The hide symbol (a bar with an arrow")
    w("pointing down to it) is drawn exactly in `iHide`'s 22 x 22 square.")
    w("")
    w("List, settings and sync windows: `iHide` covers a drawn close symbol (an x in")
    w("a box) at (384, 13), 22 x 22.")
    w("")
    w("Reminder window: the page ends with row 205 (collapsed height 206); rows")
    w("206..207 are see-through; the strip behind the events area covers x 8..251,")
    w("rows 208..265 (expanded height 266); rows 266..269 are outside. The page's")
    w("turned-up corner fills `iExpand` (226, 180, 24 x 26): the fold runs from")
    w("(226, 206) to (251, 181) and the corner beyond the fold is cut away.")
    w("")
    w("## Hand cursor")
    w("")
    w("`mao.png`: a white pointing hand with a black outline, index finger up.")
    w("Hotspot (the fingertip): **x = %d, y = %d**." % hotspot)
    w("")
    w("    QCursor(QPixmap(\":/mao.png\"), %d, %d)" % hotspot)
    w("")
    w("## Tray icon")
    w("")
    w("`quelvo_tray.png`: a yellow note with four red binding rings and a red \"3\";")
    w("at most 16 palette colours, index 0 fully transparent. `quelvo.ico` holds")
    w("the same picture at 16 and 32 pixels. `icons/quelvo_N.png` draw the same")
    w("design at N x N pixels without the palette limit; the Debian package installs")
    w("them as the hicolor theme's `NxN/apps/quelvo.png`.")
    w("")
    w("## Fonts used in the pictures")
    w("")
    w("\"Quelvo\" and the subtitles: Liberation Serif Bold Italic / Italic; the \"3\":")
    w("Liberation Serif Bold (fonts-liberation2). Label boxes above were sized for")
    w("Liberation Sans (the fontconfig stand-in for Arial) at 13 px (list window)")
    w("and 11 px (the other labels).")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(L) + "\n")


# --------------------------------------------------------------------------
# Self-check
# --------------------------------------------------------------------------
class Problems(list):
    """What the checks found wrong, one line each."""

    def need(self, ok, msg):
        if not ok:
            self.append(msg)


def check_pictures(out, expect_sizes, layout, problems):
    need = problems.need
    for key, (w, h) in expect_sizes.items():
        path = os.path.join(out, key + ".bmp")
        b = read_bmp8(path)
        need((b["w"], b["h"]) == (w, h), "%s: size %dx%d" % (key, b["w"], b["h"]))
        need(b["bpp"] == 8 and b["comp"] == 0 and b["used"] == 256,
             "%s: not an 8-bit 256-colour BMP" % key)
        need(b["palette"][0] == WHITE, "%s: palette entry 0 is not white" % key)
        idx = b["idx"]
        outside = idx == 0
        # corners of the picture are outside, the page centre is inside
        need(outside[0, 0] and outside[0, -1] and outside[-1, 0] and outside[-1, -1],
             "%s: a picture corner is inside" % key)
        need(not outside[h // 3, w // 2], "%s: the page centre is outside" % key)
        for name, x, y, cw, ch, _ in layout.get(key, []):
            if name in MAY_OVERLAP_HOLES:
                continue
            area = outside[y:y + ch, x:x + cw]
            need(area.shape == (ch, cw) and not area.any(),
                 "%s: %s covers see-through pixels" % (key, name))
        # isolated see-through pixels: pin-holes
        pad = np.pad(outside, 1, constant_values=True)
        neigh = sum(pad[1 + dy:h + 1 + dy, 1 + dx:w + 1 + dx]
                    for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                    if (dy, dx) != (0, 0))
        single = outside & (neigh == 0)
        want = len(PINHOLES) if key == "fundo_main" else 0
        need(int(single.sum()) == want,
             "%s: %d isolated see-through pixels, want %d" % (key, single.sum(), want))
        # the binding: see-through holes in the left edge region
        left = outside[:, :30]
        rows_with_holes = [y for y in range(h)
                           if (np.diff(left[y].astype(int)) != 0).sum() >= 3]
        need(len(rows_with_holes) > 20, "%s: no ring holes along the left edge" % key)
        # the hide symbol is drawn (not plain paper) where iHide lies
        for name, x, y, cw, ch, _ in layout.get(key, []):
            if name == "iHide":
                sym = idx[y:y + ch, x:x + cw]
                need(len(np.unique(sym)) >= 3, "%s: no hide symbol at (%d, %d)" % (key, x, y))

    need(set(layout) == set(expect_sizes),
         "the window tables' pictures %s are not the pictures made %s" % (sorted(layout), sorted(expect_sizes)))

    lem = read_bmp8(os.path.join(out, "fundo_lembrete.bmp"))["idx"]
    need((lem[206:208, :] == 0).all(), "lembrete: no gap between page and strip")
    need((lem[266:, :] == 0).all(), "lembrete: rows 266.. are not outside")
    need((lem[208:266, 12:248] != 0).all(), "lembrete: strip does not cover the events area")
    need(not (lem[180:206, 226:250] == 0).all() and (lem[204, 249] == 0),
         "lembrete: turned-up corner missing")


def check_icons(out, hotspot, problems):
    need = problems.need
    cur = Image.open(os.path.join(out, "mao.png"))
    need(cur.size == (32, 32) and cur.mode == "RGBA", "mao.png: not 32x32 RGBA")
    ca = np.asarray(cur)
    need(ca[hotspot[1], hotspot[0], 3] == 255, "mao.png: hotspot not on the hand")
    need(not ca[:hotspot[1], :, 3].any(), "mao.png: something above the hotspot")

    with open(os.path.join(out, "mao.cur"), "rb") as f:
        head = f.read(22)
    need(struct.unpack("<HHH", head[:6]) == (0, 2, 1), "mao.cur: not a cursor with one image")
    need(struct.unpack("<HH", head[10:14]) == hotspot, "mao.cur: hotspot differs")
    with open(os.path.join(out, "quelvo.ico"), "rb") as f:
        ico = f.read()
    need(struct.unpack("<HHH", ico[:6]) == (0, 1, 2), "quelvo.ico: not an icon with two images")
    for i, size in enumerate((32, 16)):
        w_, h_, colours, _, planes, bpp = struct.unpack("<BBBBHH", ico[6 + 16 * i:14 + 16 * i])
        need((w_, h_, colours, bpp) == (size, size, 16, 4), "quelvo.ico: image %d is not %d px, 16 colours" % (i, size))

    tray = Image.open(os.path.join(out, "quelvo_tray.png"))
    need(tray.size == (32, 32), "tray: not 32x32")
    colours = len(tray.convert("RGBA").getcolors(1024) or range(9999))
    need(colours <= 16, "tray: %d colours" % colours)

    for n in ICON_SIZES:
        icon = Image.open(os.path.join(out, "icons", "quelvo_%d.png" % n))
        need(icon.size == (n, n) and icon.mode == "RGBA", "icon %d: not %dx%d RGBA" % (n, n, n))
        ia = np.asarray(icon)
        need(ia[0, 0, 3] == 0 and ia[n // 2, n // 2, 3] == 255,
             "icon %d: corner not transparent or centre not opaque" % n)


def check_sounds(out, problems):
    need = problems.need
    for name, _ in SOUNDS:
        path = os.path.join(out, "sons", name + ".wav")
        with wave.open(path, "rb") as wv:
            need(wv.getnchannels() == 1 and wv.getsampwidth() == 2
                 and wv.getframerate() in (22050, 44100), "%s: format" % name)
            data = np.frombuffer(wv.readframes(wv.getnframes()), "<i2").astype(int)
            secs = wv.getnframes() / wv.getframerate()
        need(1.0 <= secs <= 4.0, "%s: %.2f s long" % (name, secs))
        need(os.path.getsize(path) < 400 * 1024, "%s: too big" % name)
        peak = np.abs(data).max() / 32767
        need(0.85 <= peak <= 0.95, "%s: peak %.3f" % (name, peak))
        # no click: the first and last samples are silent and the sound
        # creeps in and out instead of jumping
        need(np.abs(data[:3]).max() < 0.01 * 32767 and
             np.abs(data[-3:]).max() < 0.01 * 32767, "%s: click at an end" % name)
        need(np.abs(np.diff(data[:8])).max() < 0.02 * 32767 and
             np.abs(np.diff(data[-8:])).max() < 0.02 * 32767, "%s: jump at an end" % name)
