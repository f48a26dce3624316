"""The hand cursor (mao.png, mao.cur), the 16-colour tray icon
(quelvo_tray.png, quelvo.ico) and the full-colour desktop icons
(icons/quelvo_N.png). The cursor is drawn on a pixel grid, the icons from one
drawing of the note at several scales."""

import os

import numpy as np
from PIL import Image, ImageDraw

from .common import RED_DARK, WIRE_DARK, font, write_dib_entry, write_icon_file


# --------------------------------------------------------------------------
# The hand cursor "MAO"
# --------------------------------------------------------------------------
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


def make(out):
    """Writes the cursor and the icons into out; returns the cursor's hotspot."""
    hotspot = make_cursor(os.path.join(out, "mao.png"))
    make_tray(os.path.join(out, "quelvo_tray.png"), os.path.join(out, "quelvo.ico"))
    make_icons(os.path.join(out, "icons"))
    return hotspot
