#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the pictures built into the program (forms/images/).

splash.gif                  663 x 510, title picture shown at start-up
siguiente.gif / anterior.gif  arrows of the next / previous buttons
salir.gif                   the exit button: a door and an arrow
resultados, ayuda, icono    32 x 32 icons, as .png (for Qt) and .ico
"""

import math
import os
import random
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from comun import (GREY, Canvas, icon_indexed, mix, out_path,  # noqa: E402
                   save_ico, save_icon_png, save_still_gif, star_points)

NAVY = (30, 45, 100)
INK = (40, 40, 60)


def images(name):
    return out_path("forms", "images", name)


# --------------------------------------------------------------------------
# pieces used by the splash picture
# --------------------------------------------------------------------------

def gradient(c, y0, y1, top, bottom):
    s = c.s
    for y in range(int(y0 * s), int(y1 * s)):
        t = (y - y0 * s) / max(1.0, (y1 - y0) * s)
        c.d.line([(0, y), (c.w * s, y)], fill=mix(top, bottom, t))


def cloud(c, x, y, k):
    for dx, dy, r in ((0, 0, 16), (18, -8, 20), (38, 0, 15), (20, 6, 16)):
        c.circle(x + dx * k, y + dy * k, r * k, fill=(255, 255, 255))


def nice_star(c, x, y, r, rot=0.0, colour=(255, 214, 60)):
    c.poly(star_points(x, y, r + 1.6, (r + 1.6) * 0.48, 5, rot), fill=INK)
    c.poly(star_points(x, y, r, r * 0.48, 5, rot), fill=colour)
    c.poly(star_points(x - r * 0.08, y - r * 0.08, r * 0.55, r * 0.26, 5, rot),
           fill=mix(colour, (255, 255, 255), 0.45))


def to_world(origin, angle, pts):
    ox, oy = origin
    ca, sa = math.cos(angle), math.sin(angle)
    return [(ox + u * ca - v * sa, oy + u * sa + v * ca) for u, v in pts]


def pencil(c, tip, angle, length, width, body=(255, 196, 40)):
    """A wooden pencil; `tip` is the point, `angle` the direction to the eraser."""
    h = width / 2.0
    cone = min(width * 1.6, length * 0.3)
    ferrule = min(width * 0.9, length * 0.12)
    eraser = min(width * 0.9, length * 0.14)
    w = lambda pts: to_world(tip, angle, pts)   # noqa: E731
    shaft0, shaft1 = cone, length - ferrule - eraser
    # outline first, as one fat shape
    c.poly(w([(0, 0), (cone, -h), (length, -h), (length, h), (cone, h)]), fill=INK)
    out = max(0.6, width * 0.06)                # outline thickness
    c.poly(w([(out * 2.2, 0), (cone + out * 0.3, -h + out), (cone + out * 0.3, h - out)]),
           fill=(240, 205, 160))                                   # bare wood
    c.poly(w([(out * 1.2, 0), (cone * 0.42, -h * 0.36), (cone * 0.42, h * 0.36)]),
           fill=(60, 60, 70))                                      # lead
    third = (2 * h - 2 * out) / 3.0
    shades = (mix(body, (255, 255, 255), 0.35), body, mix(body, (0, 0, 0), 0.18))
    for k, col in enumerate(shades):
        v0 = -h + out + k * third
        c.poly(w([(shaft0 + out, v0), (shaft1, v0), (shaft1, v0 + third),
                  (shaft0 + out, v0 + third)]), fill=col)
    c.poly(w([(shaft1, -h + out), (shaft1 + ferrule, -h + out), (shaft1 + ferrule, h - out),
              (shaft1, h - out)]), fill=(190, 195, 205))           # metal band
    for k in range(3):
        u = shaft1 + ferrule * (0.25 + 0.25 * k)
        c.line(w([(u, -h + out), (u, h - out)]), (140, 145, 160), 0.9)
    c.poly(w([(shaft1 + ferrule, -h + out), (length - out, -h + out),
              (length - out, h - out), (shaft1 + ferrule, h - out)]), fill=(245, 140, 160))


def letter_block(c, x, y, size, letter, face_col, letter_col):
    """A toy cube seen slightly from above and the right."""
    d = size * 0.32
    front = [(x, y), (x + size, y), (x + size, y + size), (x, y + size)]
    top = [(x, y), (x + d, y - d), (x + size + d, y - d), (x + size, y)]
    side = [(x + size, y), (x + size + d, y - d), (x + size + d, y + size - d),
            (x + size, y + size)]
    for shape, col in ((top, mix(face_col, (255, 255, 255), 0.35)),
                       (side, mix(face_col, (0, 0, 0), 0.22)), (front, face_col)):
        c.poly(shape, fill=col, outline=INK, width=2)
    inset = size * 0.12
    c.rect(x + inset, y + inset, x + size - inset, y + size - inset,
           outline=mix(face_col, (255, 255, 255), 0.5), width=2, radius=4)
    c.text(x + size / 2, y + size / 2 + 1, letter, c.face("DejaVuSans-Bold", size * 0.62),
           letter_col, stroke=1.5, stroke_fill=(255, 255, 255))


def open_book(c, cx, top, w, h):
    """An open book lying flat, pages fanned, with a few lines of writing."""
    half = w / 2.0
    cover = (200, 60, 60)
    c.rect(cx - half - 8, top + 10, cx + half + 8, top + h + 12, fill=INK, radius=8)
    c.rect(cx - half - 6, top + 12, cx + half + 6, top + h + 10, fill=cover, radius=7)
    for side in (-1, 1):
        pts = []
        steps = 16
        for k in range(steps + 1):              # the top edge sags towards the spine
            u = k / steps
            x = cx + side * u * half
            pts.append((x, top + 10 * (1 - math.sin(math.pi * u / 2))))
        bottom = [(cx + side * half, top + h), (cx, top + h - 8)]
        page = pts + bottom
        c.poly(page, fill=(255, 252, 240), outline=INK, width=2)
    c.line([(cx, top + 10), (cx, top + h - 8)], (200, 190, 170), 2)
    # writing: short grey strokes and a couple of big letters
    rng = random.Random(5)
    for side in (-1, 1):
        for row in range(5):
            y = top + 34 + row * 15
            x0 = cx + side * 16
            length = rng.uniform(0.45, 0.8) * (half - 30)
            if row < 2:                         # room for the big letters
                continue
            c.line([(x0, y + 4), (x0 + side * length, y + 4)], (170, 175, 195), 3)
    c.text(cx - half * 0.5, top + 32, "a b c", c.face("DejaVuSerif-Bold", 22), (60, 110, 200))
    c.text(cx + half * 0.5, top + 32, "ñ", c.face("DejaVuSerif-Bold", 30), (220, 80, 60))


# --------------------------------------------------------------------------
# splash.gif
# --------------------------------------------------------------------------

def make_splash():
    W, H = 663, 510
    c = Canvas(W, H, (200, 230, 255), scale=3)
    gradient(c, 0, 400, (140, 200, 250), (232, 246, 255))
    # rolling hills
    c.ellipse(-140, 380, 420, 700, fill=(150, 210, 120))
    c.ellipse(250, 395, 860, 720, fill=(130, 196, 104))
    c.ellipse(-40, 420, 720, 760, fill=(164, 220, 128))
    cloud(c, 40, 40, 1.0)
    cloud(c, 540, 58, 0.9)
    cloud(c, 300, 250, 0.7)

    # title, letter by letter, each a different colour, on a gentle wave
    title = "MIRAVELLON"
    colours = [(235, 70, 80), (255, 150, 40), (240, 200, 30), (90, 190, 90),
               (50, 160, 210), (90, 110, 230), (170, 90, 210), (235, 80, 160),
               (255, 150, 40), (90, 190, 90)]
    face = c.face("DejaVuSans-Bold", 78)
    widths = [c.d.textlength(ch, font=face) / c.s for ch in title]
    gap = 2
    total = sum(widths) + gap * (len(title) - 1)
    x = (W - total) / 2
    for k, ch in enumerate(title):
        cx = x + widths[k] / 2
        cy = 92 + 7 * math.sin(k * 0.75 + 0.4)
        c.text(cx + 4, cy + 5, ch, face, (70, 110, 170), stroke=6, stroke_fill=(70, 110, 170))
        c.text(cx, cy, ch, face, (255, 255, 255), stroke=6, stroke_fill=(255, 255, 255))
        c.text(cx, cy, ch, face, colours[k], stroke=2.2, stroke_fill=NAVY)
        x += widths[k] + gap

    c.text(W / 2, 168, "Ortografía para niños", c.face("DejaVuSans-Bold", 30), NAVY,
           stroke=3, stroke_fill=(255, 255, 255))

    # stars around the title
    for x, y, r, rot in ((40, 150, 11, 0.2), (618, 150, 12, -0.2), (120, 200, 8, 0.5),
                         (560, 210, 9, 0.1), (30, 262, 7, 0.3), (636, 300, 8, 0.6),
                         (470, 236, 6, 0.2), (210, 232, 7, -0.3)):
        nice_star(c, x, y, r, rot)

    # the picture: toy blocks, an open book and a big pencil
    letter_block(c, 50, 350, 62, "A", (235, 80, 80), (255, 255, 255))
    letter_block(c, 126, 360, 54, "b", (70, 150, 230), (255, 255, 255))
    letter_block(c, 84, 285, 54, "Ñ", (255, 200, 50), (200, 60, 60))
    open_book(c, 336, 262, 210, 150)
    pencil(c, (446, 430), math.radians(-52), 190, 24)
    for x, y, r in ((520, 300, 5), (560, 270, 4), (600, 330, 5)):
        c.poly(star_points(x, y, r * 2.0, r * 0.5, 4, 0.0), fill=(255, 255, 255))

    # the invitation to start, in a pill at the bottom
    c.rect(W / 2 - 150, 455, W / 2 + 150, 495, fill=INK, radius=20)
    c.rect(W / 2 - 148, 457, W / 2 + 148, 493, fill=(255, 255, 255), radius=18)
    c.text(W / 2, 475, "Haz clic para empezar", c.face("DejaVuSans-Bold", 22),
           (40, 120, 60))
    img = c.result()
    save_still_gif(images("splash.gif"), img, version=b"89a", keep=None, dither=True)
    return img


# --------------------------------------------------------------------------
# button pictures (GIF87a, drawn on the grey of a button)
# --------------------------------------------------------------------------

def arrow(w, h, pointing_right):
    c = Canvas(w, h, GREY, scale=8)
    cy = h / 2.0
    x0, x1 = 5.0, w - 5.0
    head = 15.0
    hs, hh = 5.5, 13.0
    pts = [(x0, cy - hs), (x1 - head, cy - hs), (x1 - head, cy - hh), (x1, cy),
           (x1 - head, cy + hh), (x1 - head, cy + hs), (x0, cy + hs)]
    if not pointing_right:
        pts = [(w - x, y) for x, y in pts]
    shadow = [(x + 1.2, y + 1.4) for x, y in pts]
    c.poly(shadow, fill=(150, 150, 150), outline=(150, 150, 150), width=2.2)
    c.poly(pts, fill=(70, 175, 80), outline=(25, 95, 35), width=2.0)
    # a lighter band along the upper half gives it some relief
    band = [(x0 + 1.5, cy - hs + 1.6), (x1 - head + 0.6, cy - hs + 1.6)]
    if not pointing_right:
        band = [(w - x, y) for x, y in band]
    c.line(band, (150, 220, 140), 1.6)
    tip = (x1 - 3.5, cy) if pointing_right else (w - x1 + 3.5, cy)
    base = (x1 - head + 1.5, cy - hh + 3.5) if pointing_right else \
        (w - x1 + head - 1.5, cy - hh + 3.5)
    c.line([base, tip], (150, 220, 140), 1.4)
    return c.result()


def door_exit():
    w, h = 46, 47
    c = Canvas(w, h, GREY, scale=8)
    # the door frame with the dark opening
    c.rect(4, 4, 28, 44, fill=(110, 70, 40), outline=INK, width=1.0)
    c.rect(7, 7, 25, 44, fill=(40, 30, 35))
    c.poly([(7, 44), (25, 44), (28, 46), (4, 46)], fill=(120, 110, 100))
    # the door, swung open towards us on its left hinge
    panel = [(7, 7), (17, 3), (17, 46), (7, 44)]
    c.poly(panel, fill=(200, 130, 65), outline=INK, width=1.0)
    c.poly([(9, 11), (15, 8.5), (15, 22), (9, 23)], fill=(225, 160, 90))
    c.poly([(9, 27), (15, 27), (15, 41), (9, 40)], fill=(225, 160, 90))
    c.circle(15, 25.5, 1.3, fill=(250, 210, 60), outline=INK, width=0.5)
    # the red arrow on its way out
    cy = 25.0
    pts = [(19, cy - 3.6), (33, cy - 3.6), (33, cy - 9), (43.5, cy), (33, cy + 9),
           (33, cy + 3.6), (19, cy + 3.6)]
    c.poly([(x + 1, y + 1.2) for x, y in pts], fill=(150, 150, 150),
           outline=(150, 150, 150), width=1.6)
    c.poly(pts, fill=(225, 50, 45), outline=(110, 20, 20), width=1.5)
    c.line([(20.5, cy - 2.2), (33.5, cy - 2.2)], (250, 140, 130), 1.1)
    return c.result()


# --------------------------------------------------------------------------
# icons: 32 x 32 with a transparent surround
# --------------------------------------------------------------------------

def icon_canvas():
    return Canvas(32, 32, INK + (0,), scale=8, mode="RGBA")


def icon_resultados():
    c = icon_canvas()
    c.rect(4, 3, 27, 31, fill=INK, radius=3)
    c.rect(5, 4, 26, 30, fill=(185, 120, 60), radius=2.5)
    c.rect(7.5, 7, 23.5, 28, fill=(255, 255, 255), outline=(150, 150, 160), width=0.6)
    c.rect(11, 1, 20, 8, fill=INK, radius=2)
    c.rect(12, 2, 19, 7, fill=(200, 205, 215), radius=1.5)
    c.rect(14, 3, 17, 4.6, fill=INK, radius=0.8)
    for k, y in enumerate((12, 17, 22)):
        c.rect(9.5, y - 1.6, 12.5, y + 1.4, fill=(255, 255, 255), outline=(90, 90, 110),
               width=0.6)
        c.line([(14.5, y), (21.5 - 2 * (k % 2), y)], (120, 130, 160), 1.6)
    # the big tick
    tick = [(13, 21), (17.5, 26.5), (29, 12)]
    c.line(tick, INK, 5.2)
    c.line(tick, (60, 190, 70), 3.2)
    return c.result()


def icon_ayuda():
    c = icon_canvas()
    c.circle(16, 16, 15, fill=INK)
    c.circle(16, 16, 14, fill=(45, 120, 225))
    c.arc(16, 16, 11.5, 200, 290, (140, 190, 250), 1.6)
    c.text(16.3, 17.3, "?", c.face("DejaVuSans-Bold", 23), (255, 255, 255))
    return c.result()


def icon_icono(c=None):
    """The window icon. Drawn on `c` when given (a canvas addressed in the
    same 32 x 32 units, as tools/art/iconos_escritorio.py passes for the
    desktop sizes and the SVG)."""
    c = c or icon_canvas()
    c.rect(1, 1, 31, 31, fill=INK, radius=6)
    c.rect(2, 2, 30, 30, fill=(255, 210, 70), radius=5)
    # a hand-drawn "M", as if just written by the pencil
    m = [(4.5, 25), (7.5, 7.5), (13, 19), (18.5, 7.5), (20.5, 18)]
    c.line(m, (40, 80, 200), 4.0)
    pencil(c, (21, 20), math.radians(-58), 14, 6.0, body=(235, 70, 60))
    return c.result()


def save_icon(name, rgba, colours, bpp, keys=()):
    pimg, tindex = icon_indexed(rgba, colours, keys)
    save_icon_png(images(name + ".png"), pimg, tindex)
    save_ico(images(name + ".ico"), pimg, tindex, bpp)


def main():
    print("imagenes: splash, botones e iconos")
    make_splash()
    save_still_gif(images("siguiente.gif"), arrow(40, 41, True), version=b"87a")
    save_still_gif(images("anterior.gif"), arrow(40, 40, False), version=b"87a")
    save_still_gif(images("salir.gif"), door_exit(), version=b"87a")
    save_icon("resultados", icon_resultados(), 256, 8)
    save_icon("ayuda", icon_ayuda(), 16, 4,
              keys=(INK, (45, 120, 225), (255, 255, 255), (140, 190, 250)))
    save_icon("icono", icon_icono(), 16, 4,
              keys=(INK, (255, 210, 70), (40, 80, 200), (235, 70, 60), (240, 205, 160),
                    (190, 195, 205), (245, 140, 160)))


if __name__ == "__main__":
    main()
