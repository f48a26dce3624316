"""The five window pictures (fundo_*.bmp): a spiral-bound notepad page per
window, drawn supersampled and reduced to a 256-colour palette whose index 0
marks the pixels outside the window (the window's shape)."""

import math
import os

import numpy as np
from PIL import Image

from .common import (
    SS, Canvas, Cov, font, vgrad, write_bmp8,
    WHITE, PAPER_TOP, PAPER_BOTTOM, SHEET_1, SHEET_2, PAPER_EDGE, RULE, MARGIN,
    WIRE_DARK, WIRE, WIRE_LIGHT, INK, RED_TOP, RED_BOTTOM, RED_DARK,
    FACE, FACE_LIGHT, FACE_DARK, GLYPH, SHADOW)
from .layout import PINHOLES


# --------------------------------------------------------------------------
# Notepad parts
# --------------------------------------------------------------------------
def ring_paths(x0, hx, hy):
    """The wire of one ring of the binding: the part that goes round the left
    edge of the page (partly hidden by the page) and the part on the page's
    front that runs into the hole at (hx, hy)."""
    cy, rx, ry = hy + 0.6, 9.0, 4.1
    back = []
    for i in range(25):
        th = math.radians(270 - 180 * i / 24)  # top -> left -> bottom
        back.append((x0 + rx * math.cos(th), cy + ry * math.sin(th)))
    back.append((x0 + 3.0, cy + ry + 0.2))
    # the front part ends on the hole's upper-left rim, so that most of the
    # hole stays open and the wire is seen dipping into it
    ex, ey = hx - 1.7, hy - 1.1
    front = []
    for i in range(13):
        s = i / 12
        front.append((x0 - 0.3 + s * (ex - x0 + 0.3), cy - ry + (ey - cy + ry) * s * s))
    return back, front


def draw_wire(c, pts, width=3.6):
    c.paint(c.polyline(pts, width / 2), WIRE_DARK)
    c.paint(c.polyline(pts, width / 2 - 0.75), WIRE)
    hl = [(x - 0.35, y - 0.55) for x, y in pts]
    c.paint(c.polyline(hl, 0.45), WIRE_LIGHT, 0.85)


def draw_binding_back(c, x0, hx, ys):
    for hy in ys:
        back, _ = ring_paths(x0, hx, hy)
        draw_wire(c, back)


def draw_binding_front(c, x0, hx, ys, hole_r=3.1):
    for hy in ys:
        c.shade(c.circle(hx + 0.4, hy + 0.5, hole_r + 1.0), SHADOW, 0.35)
        c.erase(c.circle(hx, hy, hole_r))
    for hy in ys:
        _, front = ring_paths(x0, hx, hy)
        c.shade(c.blurred(c.polyline(front, 1.6), 0.9, 0.9, 1.6), SHADOW, 0.45)
    for hy in ys:
        _, front = ring_paths(x0, hx, hy)
        draw_wire(c, front)


def draw_sheet(c, x0, y0, x1, y1, r, top, bottom, edge=PAPER_EDGE):
    c.paint(c.rrect(x0, y0, x1, y1, r), edge)
    c.paint(c.rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1), vgrad(top, bottom, y0, y1))


def draw_rules(c, x0, x1, ys, margin_x=None, y_top=None, y_bottom=None):
    for y in ys:
        c.shade(c.box(x0, y, x1, y + 1), RULE, 0.38)
    if margin_x is not None:
        c.shade(c.box(margin_x, y_top, margin_x + 1, y_bottom), MARGIN, 0.55)
        c.shade(c.box(margin_x + 2, y_top, margin_x + 3, y_bottom), MARGIN, 0.30)


def draw_header_line(c, x0, x1, y):
    c.shade(c.box(x0, y, x1, y + 1), MARGIN, 0.75)
    c.shade(c.box(x0, y + 2, x1, y + 3), MARGIN, 0.45)


def draw_title(c, x, base, name_px, three_px, gap=4, three_drop=6):
    """The product name in ink and a large red "3" after it."""
    name = c.text(x, base, "Quelvo", "serif-bi", name_px)
    c.shade(c.blurred(name, 0.6, 0.8, 0.9), SHADOW, 0.30)
    c.shade(name, INK)
    f = font("serif-bi", name_px * SS)
    w = f.getlength("Quelvo") / SS
    tx, tb = x + w + gap, base + three_drop
    three = c.text(tx, tb, "3", "serif-b", three_px)
    edge = c.text(tx, tb, "3", "serif-b", three_px, stroke=max(1.0, three_px / 40))
    c.shade(c.blurred(edge, 1.2, 1.6, 2.0), SHADOW, 0.40)
    c.shade(edge, RED_DARK)
    ascent = three_px * 0.68
    c.shade(three, vgrad(RED_TOP, RED_BOTTOM, tb - ascent, tb))
    # a light rim along the upper-left curves gives the digit some body
    up = c.text(tx - three_px / 70, tb - three_px / 55, "3", "serif-b", three_px)
    down = c.text(tx + three_px / 60, tb + three_px / 50, "3", "serif-b", three_px)
    rim = Cov(three.sl, three.arr * up.arr * (1 - down.arr))
    c.shade(rim, (255, 190, 170), 0.55)
    return tx + font("serif-b", three_px * SS).getlength("3") / SS


def draw_box_symbol(c, x, y, glyph):
    """A small flat button drawn on the paper: a hide ("_") or close ("x") sign."""
    c.paint(c.box(x, y, x + 22, y + 22), GLYPH)
    c.paint(c.box(x + 1, y + 1, x + 21, y + 21), FACE_LIGHT)
    c.paint(c.box(x + 2, y + 2, x + 21, y + 21), FACE_DARK)
    c.paint(c.box(x + 2, y + 2, x + 20, y + 20), FACE)
    if glyph == "hide":
        c.paint(c.box(x + 6, y + 14, x + 16, y + 17), GLYPH)
        # a small arrow pointing down to the bar
        c.paint(c.polygon([(x + 7, y + 6), (x + 15, y + 6), (x + 11, y + 11)]), GLYPH)
    else:
        a = (x + 6.5, y + 6.5)
        b = (x + 15.5, y + 15.5)
        c.paint(c.polyline([a, b], 1.3), GLYPH)
        c.paint(c.polyline([(a[0], b[1]), (b[0], a[1])], 1.3), GLYPH)


def draw_pinhole_halo(c, x, y):
    c.shade(c.circle(x + 0.5, y + 0.5, 1.6), SHADOW, 0.28)
    c.shade(c.circle(x + 0.9, y + 1.0, 1.1), WHITE, 0.25)


# --------------------------------------------------------------------------
# The five backgrounds
# --------------------------------------------------------------------------
BIG = dict(x0=14, y0=3, x1=410, y1=272, r=12, hx=25)


def big_pad(c, header_y, first_rule):
    g = BIG
    x0, y0, x1, y1, r, hx = g["x0"], g["y0"], g["x1"], g["y1"], g["r"], g["hx"]
    rings = list(range(y0 + 15, y1 - 10, 18))
    draw_binding_back(c, x0, hx, rings)
    draw_sheet(c, x0 + 4, y0 + 4, x1 + 4, y1 + 4, r, SHEET_2, SHEET_2)
    draw_sheet(c, x0 + 2, y0 + 2, x1 + 2, y1 + 2, r, SHEET_1, SHEET_1)
    draw_sheet(c, x0, y0, x1, y1, r, PAPER_TOP, PAPER_BOTTOM)
    draw_rules(c, 38, x1 - 3, range(first_rule, y1 - 8, 20),
               margin_x=38, y_top=y0 + 1, y_bottom=y1 - 1)
    draw_header_line(c, 41, x1 - 5, header_y)
    draw_binding_front(c, x0, hx, rings)
    return rings


def make_main():
    c = Canvas(417, 278)
    big_pad(c, header_y=78, first_rule=98)
    right = draw_title(c, 52, 62, 50, 84, gap=4, three_drop=8)
    tag = c.text(right + 12, 62, "lembretes", "serif-i", 19)
    c.shade(tag, INK, 0.75)
    draw_box_symbol(c, 384, 13, "hide")
    for x, y in PINHOLES:
        draw_pinhole_halo(c, x, y)
    return c, PINHOLES


def make_titled(subtitle):
    """The list and settings pictures: the big pad, a smaller title with the
    window's subtitle, and a close symbol where the main picture has hide."""
    c = Canvas(417, 278)
    big_pad(c, header_y=48, first_rule=72)
    right = draw_title(c, 46, 38, 30, 50, gap=3, three_drop=5)
    sub = c.text(right + 12, 38, subtitle, "serif-i", 18)
    c.shade(sub, INK, 0.75)
    draw_box_symbol(c, 384, 13, "close")
    return c, []


def make_lembrete():
    c = Canvas(255, 270)
    x0, y0, x1, y1, r, hx = 11, 2, 251, 206, 10, 20
    rings = list(range(y0 + 14, y1 - 8, 17))
    draw_binding_back(c, x0, hx, rings)
    draw_sheet(c, x0, y0, x1, y1, r, PAPER_TOP, PAPER_BOTTOM)
    draw_rules(c, 28, x1 - 3, [], margin_x=27, y_top=y0 + 1, y_bottom=y1 - 1)
    draw_header_line(c, 30, x1 - 5, 44)
    draw_binding_front(c, x0, hx, rings)
    draw_title(c, 34, 37, 27, 44, gap=3, three_drop=4)

    # the turned-up corner: fold line from A (bottom edge) to C (right edge)
    A = np.array([226.0, 206.0])
    C = np.array([251.0, 181.0])
    B = np.array([251.0, 206.0])
    d = (C - A) / np.linalg.norm(C - A)
    Bp = A + 2 * np.dot(B - A, d) * d - (B - A)   # B mirrored over the fold
    c.erase(c.polygon([tuple(A), tuple(B + [2, 2]), tuple(C + [2, 0])]))
    flap = [tuple(A), tuple(C)]
    mid = (Bp + (A + C) / 2) / 2
    # slightly curved outer edges so the flap looks lifted
    for i in range(1, 7):
        s = i / 7
        p = C + (Bp - C) * s
        bulge = math.sin(math.pi * s) * 1.8
        flap.append(tuple(p + np.array([bulge, bulge])))
    flap.append(tuple(Bp))
    for i in range(1, 7):
        s = i / 7
        p = Bp + (A - Bp) * s
        bulge = math.sin(math.pi * s) * 1.8
        flap.append(tuple(p + np.array([bulge, bulge])))
    flap_cov = c.polygon(flap)
    c.shade(c.blurred(flap_cov, 1.6, -1.5, -1.5), SHADOW, 0.45)

    n = np.array([-d[1], d[0]])
    if np.dot(Bp - A, n) < 0:
        n = -n
    depth = float(np.dot(Bp - A, n))

    def flap_colour(X, Y):
        t = ((X - A[0]) * n[0] + (Y - A[1]) * n[1]) / depth
        t = np.clip(t, 0, 1)[..., None]
        lo = np.array(FACE_LIGHT, np.float32) / 255
        hi = np.array((226, 206, 140), np.float32) / 255
        return lo * (1 - t) + hi * t
    c.paint(c.polygon(flap), PAPER_EDGE)
    inner = [tuple(mid + (np.array(p) - mid) * 0.86) for p in flap]
    c.paint(c.polygon(inner), flap_colour)
    c.paint(c.polyline([tuple(A), tuple(C)], 0.5), PAPER_EDGE, 0.8)

    # the strip behind the events area
    draw_sheet(c, 8, 208, 252, 266, 4, PAPER_TOP, PAPER_BOTTOM)
    return c, []


# --------------------------------------------------------------------------
# Palette pictures
# --------------------------------------------------------------------------
def to_indexed(c, pinholes):
    """Index 0 (white) outside, indexes 1..255 inside; the outline is hard."""
    rgb, a = c.result()
    inside = a >= 0.5
    img = np.round(rgb * 255).astype(np.uint8)
    img[~inside] = img[inside][0]       # outside pixels take no palette room
    q = Image.fromarray(img, "RGB").quantize(255, Image.Quantize.MEDIANCUT,
                                             dither=Image.Dither.NONE)
    pal = list(q.getpalette()[:255 * 3])
    pal += [0] * (255 * 3 - len(pal))
    idx = np.asarray(q, np.uint8).astype(np.int32) + 1
    idx[~inside] = 0
    for x, y in pinholes:
        idx[y, x] = 0
    palette = [255, 255, 255] + pal
    return idx.astype(np.uint8), palette


# The pictures, each named after the window it belongs to.
PICTURES = (("fundo_main", make_main),
            ("fundo_list", lambda: make_titled("Lembretes agendados")),
            ("fundo_config", lambda: make_titled("Configurações")),
            ("fundo_sync", lambda: make_titled("Sincronização")),
            ("fundo_lembrete", make_lembrete))


def make(out):
    """Writes the pictures into out; returns each one's size for the check."""
    sizes = {}
    for key, maker in PICTURES:
        c, holes = maker()
        idx, palette = to_indexed(c, holes)
        write_bmp8(os.path.join(out, key + ".bmp"), idx, palette)
        sizes[key] = (c.w, c.h)
    return sizes
