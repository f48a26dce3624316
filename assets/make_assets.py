#!/usr/bin/python3
"""Makes the pictures, the cursor, the tray icon and the sounds that ship with
Quelvo 3.0, and the layout notes LAYOUT.md that go with them.

Run from anywhere:   /usr/bin/python3 assets/make_assets.py
Needs python3-pil and python3-numpy and the fonts-liberation2 fonts.
Every run writes byte-identical files; at the end the script checks its own
output (sizes, palette rules, holes, free areas for the controls, sounds) and
exits non-zero if a check fails.
"""

import math
import os
import sys
import wave

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
SONS = os.path.join(HERE, "sons")
ICONS = os.path.join(HERE, "icons")

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
# Layout: every control that sits on a picture, in window pixels.
# (name, x, y, w, h, note). Labels give the box their text needs.
# --------------------------------------------------------------------------
LAYOUT = {
    "fundo_main": [
        ("iHide", 384, 13, 22, 22, "click area over the hide symbol"),
        ("bNovo", 57, 92, 157, 31, '"Incluir um novo lembrete"'),
        ("bLista", 230, 92, 157, 31, '"Ler / Aterar Lembretes"'),
        ("bDoBackup", 57, 136, 157, 31, '"Gravar Backup"'),
        ("bRestoreBackup", 230, 136, 157, 31, '"Restaurar Backup"'),
        ("bConfig", 57, 180, 157, 31, '"Configurações"'),
        ("bFecha", 230, 180, 157, 31, '"Encerrar o Programa"'),
        ("bHide", 294, 222, 93, 19, '"Ocultar Janela", right-aligned under the right column'),
    ],
    "fundo_list": [
        ("iHide", 384, 13, 22, 22, "click area over the close symbol"),
        ("Label1", 44, 58, 160, 16, '"Mostrar lembretes entre:", 13 px font'),
        ("eInicio", 44, 78, 88, 21, "start date field"),
        ("Label2", 137, 80, 10, 16, '"e", 13 px font'),
        ("eFim", 150, 78, 88, 21, "end date field"),
        ("bListar", 253, 79, 151, 20, '"Mostrar Lembretes"'),
        ("gridLembretes", 44, 108, 199, 99, "grid"),
        ("mTexto", 253, 108, 151, 99, "text of the selected reminder"),
        ("bPrintList", 44, 218, 98, 23, '"Imprimir Lista"'),
        ("bAlter", 150, 218, 82, 23, '"Alterar"'),
        ("bDel", 236, 218, 82, 23, '"Excluir"'),
        ("bCancel", 322, 218, 82, 23, '"Voltar"'),
    ],
    "fundo_config": [
        ("iHide", 384, 13, 22, 22, "click area over the close symbol"),
        ("Label1", 44, 58, 68, 14, '"Cor do Texto"'),
        ("csFront", 44, 74, 62, 21, "text colour selector"),
        ("Label2", 116, 58, 68, 14, '"Cor do Fundo"'),
        ("csBack", 116, 74, 62, 21, "background colour selector"),
        ("mExemplo", 44, 103, 134, 80, "sample text"),
        ("Label3", 204, 58, 80, 14, '"Som do Alarme"'),
        ("lbWave", 204, 74, 198, 81, "sound list"),
        ("bOuvir", 328, 162, 74, 21, '"Testar", right-aligned under the list'),
        ("cbInfo", 44, 197, 13, 15, "check box"),
        ("lbInfo", 61, 197, 290, 15,
         '"Exibir informações adicionais na janela de lembretes", click exception'),
        ("bOK", 205, 228, 93, 28, '"OK"'),
        ("bCancel", 309, 228, 93, 28, '"Cancelar"'),
    ],
    "fundo_lembrete": [
        ("Label1", 32, 50, 40, 13, '"Data"'),
        ("Label2", 121, 50, 37, 13, '"Hora"'),
        ("Label3", 160, 50, 60, 13, '"Repetição"'),
        ("eData", 32, 63, 88, 21, "date field"),
        ("eHora", 121, 63, 37, 21, "time field"),
        ("cbRepeat", 160, 63, 82, 21, "repetition list"),
        ("pLembrete", 32, 86, 212, 92, "panel holding the memo"),
        ("bOK", 31, 181, 88, 21, '"OK"'),
        ("bAlternate", 129, 181, 88, 21, '"Cancelar" / "Excluir"'),
        ("iExpand", 226, 180, 24, 26, "click area over the turned-up corner"),
        ("scroll", 12, 211, 236, 54, "events area (white scroll box)"),
    ],
}

# Controls whose rectangle may contain see-through pixels by design.
MAY_OVERLAP_HOLES = {"iExpand"}

# The pin-holes of the main picture: single see-through pixels in free spots.
PINHOLES = [
    # clusters where the pad was pinned up more than once: near each corner
    # and at the top centre, clear of the title and the controls
    (46, 10), (50, 13), (44, 15),
    (298, 18), (303, 21), (299, 25),
    (392, 44), (397, 47), (391, 50),
    (48, 257), (53, 261), (46, 264),
    (396, 255), (401, 259), (394, 262),
]

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
# The four backgrounds
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


def make_small_header(c, subtitle):
    right = draw_title(c, 46, 38, 30, 50, gap=3, three_drop=5)
    sub = c.text(right + 12, 38, subtitle, "serif-i", 18)
    c.shade(sub, INK, 0.75)


def make_list():
    c = Canvas(417, 278)
    big_pad(c, header_y=48, first_rule=72)
    make_small_header(c, "Lembretes agendados")
    draw_box_symbol(c, 384, 13, "close")
    return c, []


def make_config():
    c = Canvas(417, 278)
    big_pad(c, header_y=48, first_rule=72)
    make_small_header(c, "Configurações")
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
# The hand cursor "MAO"
# --------------------------------------------------------------------------
def write_dib_entry(idx_or_rgba, palette=None):
    """One ICO/CUR image: a BITMAPINFOHEADER (height doubled for the AND
    mask), the colour rows bottom-up, then the 1-bit AND mask (1 = see-through)."""
    import struct
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
    import struct
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, data, colours, a, b in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours % 256, 0, a, b, len(data), offset)
        offset += len(data)
    for *_, data, _c, _a, _b in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def make_cursor(path):
    """A white pointing hand with a black outline, index finger up."""
    S = 8
    N = 32 * S
    ys, xs = np.mgrid[0:N, 0:N].astype(np.float32)
    X, Y = (xs + 0.5) / S, (ys + 0.5) / S

    def capsule(ax, ay, bx, by, r):
        vx, vy = bx - ax, by - ay
        t = np.clip(((X - ax) * vx + (Y - ay) * vy) / (vx * vx + vy * vy), 0, 1)
        return np.hypot(X - ax - t * vx, Y - ay - t * vy) <= r

    def rbox(x0, y0, x1, y1, r):
        qx = np.abs(X - (x0 + x1) / 2) - ((x1 - x0) / 2 - r)
        qy = np.abs(Y - (y0 + y1) / 2) - ((y1 - y0) / 2 - r)
        return np.hypot(np.maximum(qx, 0), np.maximum(qy, 0)) + \
            np.minimum(np.maximum(qx, qy), 0) <= r

    parts = [
        capsule(12.5, 3.6, 12.5, 17.0, 2.6),       # index finger
        capsule(16.9, 12.6, 16.9, 18.0, 2.3),      # middle finger, folded
        capsule(21.1, 13.6, 21.1, 19.0, 2.2),      # ring finger
        capsule(25.0, 15.2, 25.0, 20.0, 2.0),      # little finger
        rbox(9.9, 15.0, 27.1, 26.2, 4.0),          # palm
        capsule(10.6, 21.8, 5.4, 16.6, 2.3),       # thumb
        rbox(12.4, 24.0, 25.2, 30.6, 0.8),         # cuff
    ]
    hand = np.zeros((N, N), bool)
    for p in parts:
        hand |= p
    body = hand.reshape(32, S, 32, S).mean(axis=(1, 3)) >= 0.5

    # one-pixel black outline around the white body (8-neighbourhood)
    pad = np.pad(body, 1)
    grown = np.zeros_like(body)
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            grown |= pad[1 + dy:33 + dy, 1 + dx:33 + dx]
    outline = grown & ~body

    rgba = np.zeros((32, 32, 4), np.uint8)
    rgba[body] = (255, 255, 255, 255)
    rgba[outline] = (0, 0, 0, 255)
    # creases between the folded fingers and the cuff seam
    black = [(15, y) for y in range(13, 18)] + [(19, y) for y in range(14, 19)] + \
            [(23, y) for y in range(16, 20)] + [(x, 26) for x in range(12, 26)] + \
            [(10, y) for y in range(20, 23)]
    for x, y in black:
        if body[y, x]:
            rgba[y, x] = (0, 0, 0, 255)
    # a soft grey shade on the right side of each finger for depth
    for x, y0, y1 in [(14, 4, 13), (18, 14, 18), (22, 15, 19), (26, 17, 20)]:
        for y in range(y0, y1):
            if body[y, x] and rgba[y, x, 0] == 255:
                rgba[y, x] = (200, 200, 200, 255)
    Image.fromarray(rgba, "RGBA").save(path, optimize=True)

    # hotspot: the fingertip, the top-most opaque pixel of the index finger
    top = min(y for y in range(32) if rgba[y, :, 3].any())
    xs_top = [x for x in range(32) if rgba[top, x, 3]]
    hotspot = (int(round(sum(xs_top) / len(xs_top))), top)
    # the same hand as a Windows cursor resource, with its hotspot
    data, _, _ = write_dib_entry(rgba)
    write_icon_file(os.path.splitext(path)[0] + ".cur", 2, [(32, 32, data, 0, hotspot[0], hotspot[1])])
    return hotspot


# --------------------------------------------------------------------------
# Tray icon
# --------------------------------------------------------------------------
def draw_note(S):
    """The program's icon on a 32-unit grid, S pixels per unit: a yellow note
    with red binding rings and a red "3" (RGBA, 32 * S pixels square)."""
    N = 32 * S
    im = Image.new("RGBA", (N, N), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    d.rounded_rectangle((2 * S, 4 * S, 30 * S - 1, 31 * S - 1), radius=4 * S,
                        fill=(150, 112, 30, 255))
    for y in range(5 * S, 30 * S):            # deeper yellow towards the bottom
        t = (y - 5 * S) / (25 * S)
        col = tuple(int(round(a + (b - a) * t)) for a, b in zip((255, 240, 140), (250, 212, 78)))
        d.line((3 * S, y, 29 * S - 1, y), fill=col + (255,))
    mask = Image.new("L", (N, N), 0)
    ImageDraw.Draw(mask).rounded_rectangle((2 * S, 4 * S, 30 * S - 1, 31 * S - 1),
                                           radius=4 * S, fill=255)
    edge = Image.new("L", (N, N), 0)
    ImageDraw.Draw(edge).rounded_rectangle((3 * S, 5 * S, 29 * S - 1, 30 * S - 1),
                                           radius=3 * S, fill=255)
    border = Image.new("RGBA", (N, N), (150, 112, 30, 255))
    im = Image.composite(im, border, edge)
    im.putalpha(mask)
    d = ImageDraw.Draw(im)
    for i in range(4):
        x = (7 + 6 * i) * S
        d.ellipse((x - int(0.9 * S), int(6.2 * S), x + int(0.9 * S), int(8.0 * S)),
                  fill=(90, 60, 10, 255))
        d.rounded_rectangle((x - int(1.5 * S), 1 * S, x + int(1.5 * S), int(7.6 * S)),
                            radius=int(1.5 * S), fill=WIRE_DARK + (255,))
        d.rounded_rectangle((x - int(0.6 * S), int(1.7 * S), x + int(0.4 * S), int(6.4 * S)),
                            radius=int(0.5 * S), fill=(236, 80, 70, 255))
    f = font("serif-b", 28 * S)
    d.text((16.5 * S, 29 * S), "3", font=f, anchor="ms", fill=RED_DARK + (255,),
           stroke_width=int(0.9 * S), stroke_fill=RED_DARK + (255,))
    d.text((16.5 * S, 29 * S), "3", font=f, anchor="ms", fill=(214, 24, 28, 255))
    return im


def make_tray(png_path, ico_path):
    """The icon at 32 pixels in 16 colours, index 0 transparent."""
    small = draw_note(8).resize((32, 32), Image.Resampling.BOX)
    arr = np.asarray(small).copy()
    opaque = arr[..., 3] >= 128
    rgb = arr[..., :3].astype(np.float32)
    alpha = np.maximum(arr[..., 3:4].astype(np.float32), 1) / 255
    # colours were premultiplied by the box filter; undo that for edge pixels
    rgb = np.clip(rgb / alpha, 0, 255)
    rgb = np.where(arr[..., 3:4] > 0, rgb, 0).astype(np.uint8)
    flat = rgb.copy()
    flat[~opaque] = rgb[opaque][0]
    q = Image.fromarray(flat, "RGB").quantize(15, Image.Quantize.MEDIANCUT,
                                             dither=Image.Dither.NONE)
    idx = np.asarray(q).astype(np.uint8) + 1
    idx[~opaque] = 0
    pal = [0, 0, 0] + list(q.getpalette()[:45])
    pal += [0] * (48 - len(pal))
    out = Image.fromarray(idx, "P")
    out.putpalette(pal)
    out.info["transparency"] = 0
    out.save(png_path, transparency=0, optimize=False)
    # A classic 16-colour icon (4 bits per pixel with an AND mask) at 32 and
    # 16 pixels, the 16-pixel one box-filtered from the big picture and
    # mapped onto the same palette.
    tiny = draw_note(8).resize((16, 16), Image.Resampling.BOX)
    ta = np.asarray(tiny)
    t_opaque = ta[..., 3] >= 128
    t_rgb = np.clip(ta[..., :3].astype(np.float32) / (np.maximum(ta[..., 3:4].astype(np.float32), 1) / 255), 0, 255)
    pal_rgb = np.array(pal, np.float32).reshape(16, 3)
    dist = ((t_rgb[:, :, None, :] - pal_rgb[None, None, 1:, :]) ** 2).sum(axis=3)
    t_idx = (dist.argmin(axis=2) + 1).astype(np.uint8)
    t_idx[~t_opaque] = 0
    big, colours, bpp = write_dib_entry(idx, pal)
    small16, _, _ = write_dib_entry(t_idx, pal)
    write_icon_file(ico_path, 1, [(32, 32, big, colours, 1, bpp), (16, 16, small16, colours, 1, bpp)])


# The sizes of the desktop's icon theme folders (hicolor/NxN/apps).
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def make_icons(folder):
    """The icon in full colour for the desktop menu, one file per size, each
    drawn at eight times its size (at least 256 pixels) and scaled down."""
    os.makedirs(folder, exist_ok=True)
    for n in ICON_SIZES:
        im = draw_note(max(8, n // 4)).resize((n, n), Image.Resampling.BOX)
        im.save(os.path.join(folder, "quelvo_%d.png" % n), optimize=False)


# --------------------------------------------------------------------------
# Sounds
# --------------------------------------------------------------------------
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


# --------------------------------------------------------------------------
# LAYOUT.md
# --------------------------------------------------------------------------
TITLES = {
    "fundo_main": ("Main window `formTAVO`", "417 x 278"),
    "fundo_list": ("List window `formList`", "417 x 278"),
    "fundo_config": ("Settings window `formConfig`", "417 x 278"),
    "fundo_lembrete": ("Reminder window `formLembrete`", "255 x 270"),
}


def write_layout(path, hotspot):
    L = []
    w = L.append
    w("# Quelvo assets: files, picture rules and control positions")
    w("")
    w("Everything in this folder except `datas/` and `CMakeLists.txt` is made by")
    w("`make_assets.py`, and so is this file. To re-make (same bytes every run):")
    w("")
    w("    /usr/bin/python3 assets/make_assets.py")
    w("")
    w("It needs `python3-pil`, `python3-numpy` and `fonts-liberation2`, and ends")
    w("with a self-check of what it wrote (non-zero exit status on a failure).")
    w("Change the script, not the made files or this text.")
    w("")
    w("## Files")
    w("")
    w("| file | what |")
    w("|---|---|")
    w("| `fundo_main.bmp` | main window background, 417 x 278 |")
    w("| `fundo_list.bmp` | list window background, 417 x 278 |")
    w("| `fundo_config.bmp` | settings window background, 417 x 278 |")
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
    w("Label boxes are the room left for their text (labels are transparent and")
    w("auto-sized; only x, y are meant to be set).")
    for key in ("fundo_main", "fundo_list", "fundo_config", "fundo_lembrete"):
        title, size = TITLES[key]
        w("")
        w("### %s: `%s.bmp` (%s)" % (title, key, size))
        w("")
        w("| control | x | y | w | h | note |")
        w("|---|---|---|---|---|---|")
        for name, x, y, cw, ch, note in LAYOUT[key]:
            w("| `%s` | %d | %d | %d | %d | %s |" % (name, x, y, cw, ch, note))
    w("")
    w("Main window: the six command buttons are two columns of three (left `bNovo`,")
    w("`bDoBackup`, `bConfig`; right `bLista`, `bRestoreBackup`, `bFecha`), 16 px")
    w("apart sideways and 13 px apart downwards. The hide symbol (a bar with an arrow")
    w("pointing down to it) is drawn exactly in `iHide`'s 22 x 22 square.")
    w("")
    w("List and settings windows: `iHide` covers a drawn close symbol (an x in a")
    w("box) at (384, 13), 22 x 22.")
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
def check(expect_sizes, hotspot):
    problems = []

    def need(ok, msg):
        if not ok:
            problems.append(msg)

    for key, (w, h) in expect_sizes.items():
        path = os.path.join(HERE, key + ".bmp")
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
        for name, x, y, cw, ch, _ in LAYOUT[key]:
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
        if any(n == "iHide" for n, *_ in LAYOUT[key]):
            sym = idx[13:35, 384:406]
            need(len(np.unique(sym)) >= 3, "%s: no hide symbol at (384, 13)" % key)

    lem = read_bmp8(os.path.join(HERE, "fundo_lembrete.bmp"))["idx"]
    need((lem[206:208, :] == 0).all(), "lembrete: no gap between page and strip")
    need((lem[266:, :] == 0).all(), "lembrete: rows 266.. are not outside")
    need((lem[208:266, 12:248] != 0).all(), "lembrete: strip does not cover the events area")
    need(not (lem[180:206, 226:250] == 0).all() and (lem[204, 249] == 0),
         "lembrete: turned-up corner missing")

    cur = Image.open(os.path.join(HERE, "mao.png"))
    need(cur.size == (32, 32) and cur.mode == "RGBA", "mao.png: not 32x32 RGBA")
    ca = np.asarray(cur)
    need(ca[hotspot[1], hotspot[0], 3] == 255, "mao.png: hotspot not on the hand")
    need(not ca[:hotspot[1], :, 3].any(), "mao.png: something above the hotspot")

    import struct
    with open(os.path.join(HERE, "mao.cur"), "rb") as f:
        head = f.read(22)
    need(struct.unpack("<HHH", head[:6]) == (0, 2, 1), "mao.cur: not a cursor with one image")
    need(struct.unpack("<HH", head[10:14]) == hotspot, "mao.cur: hotspot differs")
    with open(os.path.join(HERE, "quelvo.ico"), "rb") as f:
        ico = f.read()
    need(struct.unpack("<HHH", ico[:6]) == (0, 1, 2), "quelvo.ico: not an icon with two images")
    for i, size in enumerate((32, 16)):
        w_, h_, colours, _, planes, bpp = struct.unpack("<BBBBHH", ico[6 + 16 * i:14 + 16 * i])
        need((w_, h_, colours, bpp) == (size, size, 16, 4), "quelvo.ico: image %d is not %d px, 16 colours" % (i, size))

    tray = Image.open(os.path.join(HERE, "quelvo_tray.png"))
    need(tray.size == (32, 32), "tray: not 32x32")
    colours = len(tray.convert("RGBA").getcolors(1024) or range(9999))
    need(colours <= 16, "tray: %d colours" % colours)

    for n in ICON_SIZES:
        icon = Image.open(os.path.join(ICONS, "quelvo_%d.png" % n))
        need(icon.size == (n, n) and icon.mode == "RGBA", "icon %d: not %dx%d RGBA" % (n, n, n))
        ia = np.asarray(icon)
        need(ia[0, 0, 3] == 0 and ia[n // 2, n // 2, 3] == 255,
             "icon %d: corner not transparent or centre not opaque" % n)

    for name in ("gongo", "sino", "campainha", "bipe"):
        path = os.path.join(SONS, name + ".wav")
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
    return problems


# --------------------------------------------------------------------------
def main():
    os.makedirs(SONS, exist_ok=True)
    sizes = {}
    for key, maker in (("fundo_main", make_main), ("fundo_list", make_list),
                       ("fundo_config", make_config), ("fundo_lembrete", make_lembrete)):
        c, holes = maker()
        idx, palette = to_indexed(c, holes)
        write_bmp8(os.path.join(HERE, key + ".bmp"), idx, palette)
        sizes[key] = (c.w, c.h)
    hotspot = make_cursor(os.path.join(HERE, "mao.png"))
    make_tray(os.path.join(HERE, "quelvo_tray.png"), os.path.join(HERE, "quelvo.ico"))
    make_icons(ICONS)
    for name, maker in (("gongo", gong), ("sino", sino), ("campainha", campainha),
                        ("bipe", bipe)):
        write_wav(os.path.join(SONS, name + ".wav"), maker())
    write_layout(os.path.join(HERE, "LAYOUT.md"), hotspot)
    problems = check(sizes, hotspot)
    for p in problems:
        print("make_assets: check failed:", p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
