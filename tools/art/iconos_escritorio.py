#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's icon for the Linux desktop (packaging/icons/hicolor/).

The drawing is the window icon of forms/images/icono.png (a hand-written "M"
and a red pencil on a yellow tile), drawn again at every size of the hicolor
theme instead of being scaled from the 32 x 32 picture, plus an SVG of the
same shapes for the scalable folder:

    packaging/icons/hicolor/<n>x<n>/apps/es.miravellon.Miravellon.png
        n = 16, 22, 24, 32, 48, 64, 128, 256 (RGBA PNG, transparent corners)
    packaging/icons/hicolor/scalable/apps/es.miravellon.Miravellon.svg

    /usr/bin/python3 tools/art/iconos_escritorio.py           # write them
    /usr/bin/python3 tools/art/iconos_escritorio.py --check   # check only

Deterministic: the same files every time on the same Debian release.
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from PIL import Image, ImageDraw  # noqa: E402

import imagenes  # noqa: E402
from comun import out_path  # noqa: E402

APP_ID = "es.miravellon.Miravellon"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
UNITS = 32           # the icon is designed on a 32 x 32 grid
OVERSAMPLE = 8       # drawn this many times larger, then box-reduced


def png_path(n):
    return out_path("packaging", "icons", "hicolor", f"{n}x{n}", "apps", APP_ID + ".png")


def svg_path():
    return out_path("packaging", "icons", "hicolor", "scalable", "apps", APP_ID + ".svg")


class SizedCanvas:
    """The drawing calls of comun.Canvas used by the icon, addressed in
    32 x 32 design units, on an RGBA picture of n x n pixels."""

    def __init__(self, n):
        self.n = n
        self.s = n * OVERSAMPLE / UNITS
        self.img = Image.new("RGBA", (n * OVERSAMPLE, n * OVERSAMPLE), imagenes.INK + (0,))
        self.d = ImageDraw.Draw(self.img)

    def _pts(self, points):
        return [(x * self.s, y * self.s) for x, y in points]

    def rect(self, x0, y0, x1, y1, fill=None, radius=0, **_):
        box = [x0 * self.s, y0 * self.s, x1 * self.s, y1 * self.s]
        self.d.rounded_rectangle(box, radius=radius * self.s, fill=fill)

    def poly(self, points, fill=None, **_):
        self.d.polygon(self._pts(points), fill=fill)

    def line(self, points, fill, width):
        """Polyline with round caps and joints, as comun.Canvas draws it."""
        w = width * self.s
        pts = self._pts(points)
        self.d.line(pts, fill=fill, width=max(1, int(round(w))), joint="curve")
        r = w / 2.0
        for x, y in pts:
            self.d.ellipse([x - r, y - r, x + r, y + r], fill=fill)

    def result(self):
        return self.img.reduce(OVERSAMPLE)


def _colour(c):
    return "#%02x%02x%02x" % tuple(c[:3])


def _num(v):
    return ("%.3f" % v).rstrip("0").rstrip(".")


class SvgCanvas:
    """The same calls, written as SVG shapes in a 32 x 32 view box."""

    def __init__(self):
        self.parts = []

    def rect(self, x0, y0, x1, y1, fill=None, radius=0, **_):
        self.parts.append(
            f'<rect x="{_num(x0)}" y="{_num(y0)}" width="{_num(x1 - x0)}" height="{_num(y1 - y0)}" '
            f'rx="{_num(radius)}" fill="{_colour(fill)}"/>')

    def poly(self, points, fill=None, **_):
        pts = " ".join(f"{_num(x)},{_num(y)}" for x, y in points)
        self.parts.append(f'<polygon points="{pts}" fill="{_colour(fill)}"/>')

    def line(self, points, fill, width):
        pts = " ".join(f"{_num(x)},{_num(y)}" for x, y in points)
        self.parts.append(
            f'<polyline points="{pts}" fill="none" stroke="{_colour(fill)}" '
            f'stroke-width="{_num(width)}" stroke-linecap="round" stroke-linejoin="round"/>')

    def result(self):
        body = "\n  ".join(self.parts)
        return ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
                'viewBox="0 0 32 32">\n'
                '  <title>Miravellon</title>\n'
                f'  {body}\n'
                '</svg>\n')


def render_png(n):
    return imagenes.icon_icono(SizedCanvas(n))


def render_svg():
    return imagenes.icon_icono(SvgCanvas())


def check():
    """Every size present, of the right size, with a transparent corner and
    an opaque middle; the SVG as the script writes it."""
    problems = []
    for n in SIZES:
        path = png_path(n)
        if not os.path.exists(path):
            problems.append(f"missing {path}")
            continue
        with Image.open(path) as img:
            if img.format != "PNG" or img.size != (n, n) or img.mode != "RGBA":
                problems.append(f"{path}: {img.format} {img.size} {img.mode}")
                continue
            if img.getpixel((0, 0))[3] != 0 or img.getpixel((n // 2, n // 2))[3] != 255:
                problems.append(f"{path}: corner not transparent or middle not opaque")
    if not os.path.exists(svg_path()):
        problems.append(f"missing {svg_path()}")
    else:
        with open(svg_path(), encoding="utf-8") as f:
            if f.read() != render_svg():
                problems.append(f"{svg_path()} differs from what the script draws")
    for p in problems:
        print("iconos_escritorio:", p, file=sys.stderr)
    return not problems


def main():
    if "--check" in sys.argv[1:]:
        sys.exit(0 if check() else 1)
    print("iconos_escritorio: icono de Miravellon para el escritorio")
    for n in SIZES:
        render_png(n).save(png_path(n), optimize=True)
    with open(svg_path(), "w", encoding="utf-8") as f:
        f.write(render_svg())
    if not check():
        sys.exit(1)


if __name__ == "__main__":
    main()
