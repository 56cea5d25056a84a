# SPDX-License-Identifier: GPL-3.0-or-later
"""Shared helpers for the Miravellon artwork generators.

Everything here is deterministic: no clocks, no unseeded randomness.
Pictures are drawn at SCALE times their final size and then box-reduced,
which gives clean anti-aliased edges without any external tools.
"""

import math
import os
import struct

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
GREY = (192, 192, 192)          # the window colour the animations sit on
SCALE = 4

FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def font(name, size):
    """A DejaVu face (fonts-dejavu-core), e.g. font("DejaVuSans-Bold", 40)."""
    return ImageFont.truetype(os.path.join(FONT_DIR, name + ".ttf"), int(round(size)))


def out_path(*parts):
    path = os.path.join(ROOT, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


class Canvas:
    """A drawing surface addressed in final-pixel coordinates (floats allowed)."""

    def __init__(self, w, h, bg=GREY, scale=SCALE, mode="RGB"):
        self.w, self.h, self.s = w, h, scale
        if mode == "RGBA" and len(bg) == 3:
            bg = tuple(bg) + (255,)
        self.img = Image.new(mode, (w * scale, h * scale), bg)
        self.d = ImageDraw.Draw(self.img)

    # coordinate helpers -------------------------------------------------
    def p(self, x, y):
        return (x * self.s, y * self.s)

    def pts(self, points):
        return [self.p(x, y) for x, y in points]

    def box(self, x0, y0, x1, y1):
        return [x0 * self.s, y0 * self.s, x1 * self.s, y1 * self.s]

    # primitives ---------------------------------------------------------
    def circle(self, cx, cy, r, fill=None, outline=None, width=0):
        self.d.ellipse(self.box(cx - r, cy - r, cx + r, cy + r), fill=fill,
                       outline=outline, width=int(round(width * self.s)))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=0):
        self.d.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                       width=int(round(width * self.s)))

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=0, radius=0):
        if radius:
            self.d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=radius * self.s,
                                     fill=fill, outline=outline,
                                     width=int(round(width * self.s)))
        else:
            self.d.rectangle(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                             width=int(round(width * self.s)))

    def poly(self, points, fill=None, outline=None, width=0):
        pts = self.pts(points)
        if fill is not None:
            self.d.polygon(pts, fill=fill)
        if outline is not None and width:
            self.line(points + [points[0]], outline, width)

    def line(self, points, fill, width):
        """Polyline with round caps and joints."""
        w = width * self.s
        pts = self.pts(points)
        self.d.line(pts, fill=fill, width=int(round(w)), joint="curve")
        r = w / 2.0
        for x, y in pts:
            self.d.ellipse([x - r, y - r, x + r, y + r], fill=fill)

    def arc(self, cx, cy, r, start, end, fill, width):
        self.d.arc(self.box(cx - r, cy - r, cx + r, cy + r), start, end, fill=fill,
                   width=int(round(width * self.s)))

    def star(self, cx, cy, r_out, r_in, points=5, rot=0.0, fill=None, outline=None,
             width=0):
        self.poly(star_points(cx, cy, r_out, r_in, points, rot), fill, outline, width)

    def text(self, x, y, s, face, fill, anchor="mm", stroke=0, stroke_fill=None):
        self.d.text(self.p(x, y), s, font=face, fill=fill, anchor=anchor,
                    stroke_width=int(round(stroke * self.s)), stroke_fill=stroke_fill)

    def face(self, name, size):
        return font(name, size * self.s)

    # result -------------------------------------------------------------
    def result(self):
        return self.img.reduce(self.s)


def star_points(cx, cy, r_out, r_in, points=5, rot=0.0):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rot + math.pi * i / points - math.pi / 2
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c1, c2))


def ease_out_back(t, k=1.70158):
    t -= 1.0
    return t * t * ((k + 1) * t + k) + 1.0


def ease_out(t):
    return 1.0 - (1.0 - t) ** 3


# --------------------------------------------------------------------------
# GIF output
# --------------------------------------------------------------------------

def shared_palette(frames, colors=255, keep=GREY):
    """One palette for all frames (no flicker) with `keep` present exactly."""
    w, h = frames[0].size
    strip = Image.new("RGB", (w, h * len(frames)))
    for i, f in enumerate(frames):
        strip.paste(f.convert("RGB"), (0, i * h))
    q = strip.quantize(colors=colors, method=Image.Quantize.MEDIANCUT,
                       dither=Image.Dither.NONE)
    pal = (q.getpalette() or [])[: colors * 3]
    pal += [0] * (768 - len(pal))
    if keep is not None:
        pal[255 * 3: 256 * 3] = list(keep)
    pimg = Image.new("P", (1, 1))
    pimg.putpalette(pal)
    return pimg


def to_palette(frames, colors=255, keep=GREY, dither=False):
    pimg = shared_palette(frames, colors, keep)
    mode = Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE
    return [f.convert("RGB").quantize(palette=pimg, dither=mode) for f in frames]


def save_animation(path, frames, durations, loop_forever):
    """Animated GIF; a NETSCAPE loop block only when it must repeat."""
    pframes = to_palette(frames)
    extra = {"loop": 0} if loop_forever else {}
    pframes[0].save(path, save_all=True, append_images=pframes[1:],
                    duration=durations, disposal=1, optimize=False, **extra)


def save_still_gif(path, img, version=b"87a", colors=255, keep=GREY, dither=False):
    p = to_palette([img], colors=colors, keep=keep, dither=dither)[0]
    if version == b"89a":
        p.info["version"] = b"89a"
    p.save(path, optimize=False)
    with open(path, "rb") as fh:
        head = fh.read(6)
    want = b"GIF" + version
    if head != want:
        raise RuntimeError("%s: wrote %r, wanted %r" % (path, head, want))


# --------------------------------------------------------------------------
# Icons: a few colours plus one fully transparent entry
# --------------------------------------------------------------------------

def icon_indexed(rgba, colors, keys=()):
    """RGBA picture -> (P image, transparent index) with at most `colors`
    entries in all, the last one being transparent. Alpha is made binary,
    as a classic icon mask is. `keys` are colours that must survive as they
    are (small details would otherwise be merged away); the other entries
    are chosen from the picture."""
    rgba = rgba.convert("RGBA")
    w, h = rgba.size
    alpha = rgba.getchannel("A")
    mask = alpha.point(lambda a: 255 if a >= 128 else 0)
    # un-premultiply edge colours so the rim does not go dark
    px = rgba.load()
    rgb = Image.new("RGB", (w, h))
    rp = rgb.load()
    fill = None
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            if a >= 128:
                rp[x, y] = (r, g, b)
                if fill is None:
                    fill = (r, g, b)
    for y in range(h):
        for x in range(w):
            if px[x, y][3] < 128:
                rp[x, y] = fill
    n = colors - 1
    keys = [tuple(k) for k in keys]
    free = n - len(keys)
    pal = [v for k in keys for v in k]
    if free > 0:
        q = rgb.quantize(colors=free, method=Image.Quantize.MEDIANCUT,
                         dither=Image.Dither.NONE)
        extra = (q.getpalette() or [])[: free * 3]
        pal += extra + [0] * (free * 3 - len(extra))
    # unused slots repeat the first colour so nothing maps to them by accident
    while len(pal) < n * 3:
        pal += pal[:3]
    pimg = Image.new("P", (1, 1))
    pimg.putpalette(pal + pal[:3] * (256 - n))
    q = rgb.quantize(palette=pimg, dither=Image.Dither.NONE)
    pal += [255, 0, 255]                       # the transparent entry
    pal += [0] * (768 - len(pal))
    out = Image.new("P", (w, h))
    out.putpalette(pal)
    op, qp, mp = out.load(), q.load(), mask.load()
    for y in range(h):
        for x in range(w):
            op[x, y] = qp[x, y] if mp[x, y] else n
    return out, n


def save_icon_png(path, pimg, tindex):
    pimg.save(path, transparency=tindex, optimize=False)


def save_ico(path, pimg, tindex, bpp):
    """Windows .ico holding one indexed bitmap (4 or 8 bits per pixel) with its
    AND mask. Pillow's own ICO writer stores PNG or 8-bit data with an empty
    mask, so the few bytes of the classic layout are written here."""
    w, h = pimg.size
    ncol = 1 << bpp
    pal = pimg.getpalette()[: ncol * 3]
    pal += [0] * (ncol * 3 - len(pal))
    px = pimg.load()
    for y in range(h):
        for x in range(w):
            if px[x, y] >= ncol:
                raise ValueError("index beyond %d colours" % ncol)

    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, 0, 0, 0, ncol, 0)
    palette = b"".join(struct.pack("BBBB", pal[i * 3 + 2], pal[i * 3 + 1], pal[i * 3], 0)
                       for i in range(ncol))
    xor_rows, and_rows = [], []
    for y in range(h - 1, -1, -1):              # bottom-up rows
        idx = [px[x, y] for x in range(w)]
        opaque = [i != tindex for i in idx]
        idx = [i if o else 0 for i, o in zip(idx, opaque)]
        if bpp == 4:
            row = bytes((idx[x] << 4) | idx[x + 1] for x in range(0, w, 2))
        else:
            row = bytes(idx)
        row += b"\0" * ((-len(row)) % 4)
        xor_rows.append(row)
        bits = bytearray((w + 7) // 8)
        for x in range(w):
            if not opaque[x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        bits += b"\0" * ((-len(bits)) % 4)
        and_rows.append(bytes(bits))
    data = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, ncol % 256, 0, 1, bpp,
                        len(data), 6 + 16)
    with open(path, "wb") as fh:
        fh.write(struct.pack("<HHH", 0, 1, 1) + entry + data)
