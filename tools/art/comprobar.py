#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks every generated asset and prints a summary table.

Exits with status 1 when something is off: a wrong size in pixels, a loop
setting that would make a reward animation repeat, a WAV that is not 16-bit
mono PCM or is too long or too loud, an icon with too many colours...
"""

import math
import os
import struct
import sys
import wave

from PIL import Image, ImageSequence

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from comun import GREY, ROOT  # noqa: E402

rows = []
failures = []


def check(name, ok, what):
    if not ok:
        failures.append("%s: %s" % (name, what))
    return ok


def row(name, kind, size, detail, ok):
    rows.append((name, kind, size, detail, "ok" if ok else "FALLO"))


def rel(*parts):
    return os.path.join(ROOT, *parts)


# --------------------------------------------------------------------------
SOUNDS = ("acierto", "muybien", "bien", "cambia", "no", "ayuda", "rapido", "resultados")


def check_wav(name):
    path = rel("assets", "sonidos", name + ".wav")
    label = "assets/sonidos/%s.wav" % name
    if not check(label, os.path.isfile(path), "missing"):
        row(label, "WAV", "-", "missing", False)
        return
    with open(path, "rb") as fh:
        head = fh.read(44)
    ok = check(label, head[:4] == b"RIFF" and head[8:12] == b"WAVE", "not RIFF/WAVE")
    fmt_tag = struct.unpack("<H", head[20:22])[0]
    ok &= check(label, fmt_tag == 1, "not PCM (format %d)" % fmt_tag)
    with wave.open(path, "rb") as w:
        ch, sw, rate, n = w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes()
        raw = w.readframes(n)
    ok &= check(label, ch == 1, "%d channels" % ch)
    ok &= check(label, sw == 2, "%d-bit" % (sw * 8))
    ok &= check(label, rate in (22050, 44100), "rate %d" % rate)
    dur = n / float(rate)
    ok &= check(label, 0.1 < dur < 2.0, "duration %.2f s" % dur)
    samples = struct.unpack("<%dh" % n, raw)
    peak = max(abs(s) for s in samples) / 32768.0
    rms = (sum(s * s for s in samples) / n) ** 0.5 / 32768.0
    ok &= check(label, 0.1 < peak <= 0.71, "peak %.2f of full scale" % peak)
    detail = "%d Hz, 16-bit mono PCM, pico %.1f dBFS, RMS %.1f dBFS" % (
        rate, 20 * math.log10(peak), 20 * math.log10(max(rms, 1e-9)))
    row(label, "WAV", "%.2f s" % dur, detail, ok)


# --------------------------------------------------------------------------
def gif_frames(path):
    im = Image.open(path)
    frames, durations = [], []
    for f in ImageSequence.Iterator(im):
        frames.append(f.convert("RGB").copy())
        durations.append(f.info.get("duration", 0))
    return im, frames, durations


def background_grey(frames):
    """The commonest colour of every frame is the window grey, exactly."""
    for f in frames:
        count, colour = max(f.getcolors(1 << 16))
        if colour != GREY:
            return False
    return True


def check_anim(name, size, loop_forever, nmin, nmax):
    path = rel("assets", "gifs", name)
    label = "assets/gifs/" + name
    if not check(label, os.path.isfile(path), "missing"):
        row(label, "GIF", "-", "missing", False)
        return None
    im, frames, durations = gif_frames(path)
    with open(path, "rb") as fh:
        data = fh.read()
    ok = check(label, im.size == size, "size %r" % (im.size,))
    ok &= check(label, nmin <= len(frames) <= nmax, "%d frames" % len(frames))
    has_loop = "loop" in im.info
    has_netscape = b"NETSCAPE2.0" in data
    if loop_forever:
        ok &= check(label, has_loop and im.info["loop"] == 0 and has_netscape,
                    "must loop for ever (loop=0)")
    else:
        ok &= check(label, not has_loop and not has_netscape, "must play once (no loop)")
        ok &= check(label, sum(durations) < 2000, "lasts %d ms" % sum(durations))
    ok &= check(label, background_grey(frames), "background is not RGB(192,192,192)")
    ok &= check(label, len({f.tobytes() for f in frames}) > 1, "frames do not change")
    loop = ("loop=%d" % im.info["loop"]) if has_loop else "sin bucle (una vez)"
    row(label, "GIF89a" if data[:6] == b"GIF89a" else data[:6].decode(),
        "%dx%d" % im.size, "%d fotogramas, %d ms, %s" % (len(frames), sum(durations), loop),
        ok)
    return frames[-1]


def check_tile():
    path = rel("assets", "fondo.gif")
    label = "assets/fondo.gif"
    im = Image.open(path)
    rgb = im.convert("RGB")
    w, h = im.size
    ok = check(label, w == h and 64 <= w <= 128, "size %r" % (im.size,))
    lum = rgb.convert("L")
    lo, hi = lum.getextrema()
    ok &= check(label, hi - lo <= 40, "contrast %d" % (hi - lo))

    # seamless: the jump across the tile's edges is no larger than inside it
    def jump(a, b):
        return sum(abs(x - y) for x, y in zip(a, b)) / float(len(a))
    px = lum.load()
    inner = max(jump([px[x, y] for y in range(h)], [px[x + 1, y] for y in range(h)])
                for x in range(w - 1))
    edge_x = jump([px[w - 1, y] for y in range(h)], [px[0, y] for y in range(h)])
    edge_y = jump([px[x, h - 1] for x in range(w)], [px[x, 0] for x in range(w)])
    ok &= check(label, edge_x <= inner and edge_y <= inner * 1.5 + 1, "edges do not meet")
    with open(path, "rb") as fh:
        version = fh.read(6).decode()
    row(label, version, "%dx%d" % im.size,
        "mosaico, luminancia %d-%d, bordes %.1f/%.1f" % (lo, hi, edge_x, edge_y), ok)


# --------------------------------------------------------------------------
def check_still(name, size, version):
    path = rel("forms", "images", name)
    label = "forms/images/" + name
    if not check(label, os.path.isfile(path), "missing"):
        row(label, "GIF", "-", "missing", False)
        return
    with open(path, "rb") as fh:
        head = fh.read(6)
    im = Image.open(path)
    ok = check(label, im.size == size, "size %r" % (im.size,))
    ok &= check(label, head == b"GIF" + version, "header %r" % head)
    ok &= check(label, getattr(im, "n_frames", 1) == 1, "more than one frame")
    row(label, head.decode(), "%dx%d" % im.size,
        "%d colores" % len(im.convert("RGB").getcolors(1 << 16)), ok)


def check_icon(name, colours, bpp):
    for ext in ("png", "ico"):
        path = rel("forms", "images", "%s.%s" % (name, ext))
        label = "forms/images/%s.%s" % (name, ext)
        if not check(label, os.path.isfile(path), "missing"):
            row(label, ext.upper(), "-", "missing", False)
            continue
        im = Image.open(path)
        im.load()
        ok = check(label, im.size == (32, 32), "size %r" % (im.size,))
        used = len(im.convert("RGBA").getcolors(1 << 16))
        ok &= check(label, used <= colours, "%d colours" % used)
        if ext == "ico":
            with open(path, "rb") as fh:
                data = fh.read()
            reserved, kind, count = struct.unpack("<HHH", data[:6])
            w, h, ncol, _, planes, bits, size, off = struct.unpack("<BBBBHHII", data[6:22])
            ok &= check(label, (reserved, kind, count) == (0, 1, 1), "bad ICO header")
            ok &= check(label, bits == bpp and ncol == (colours % 256),
                        "%d bpp, %d colours in directory" % (bits, ncol))
            ok &= check(label, data[off:off + 4] == struct.pack("<I", 40), "not a DIB")
            detail = "ICO %d bpp (%d colores), %d usados, máscara AND" % (bits, colours, used)
        else:
            ok &= check(label, im.mode == "P" and "transparency" in im.info,
                        "not an indexed PNG with transparency")
            detail = "PNG indexado, %d colores usados, fondo transparente" % used
        row(label, ext.upper(), "%dx%d" % im.size, detail, ok)


def main():
    for s in SOUNDS:
        check_wav(s)
    check_anim("corre.gif", (81, 81), True, 6, 10)
    last = [check_anim("%d.gif" % k, (129, 137), False, 8, 20) for k in (1, 2, 3)]
    if all(f is not None for f in last):
        check("assets/gifs/1-3.gif", len({f.tobytes() for f in last}) == 3,
              "the three rewards are not different")
    check_tile()
    check_still("splash.gif", (663, 510), b"89a")
    check_still("siguiente.gif", (40, 41), b"87a")
    check_still("anterior.gif", (40, 40), b"87a")
    check_still("salir.gif", (46, 47), b"87a")
    check_icon("resultados", 256, 8)
    check_icon("ayuda", 16, 4)
    check_icon("icono", 16, 4)

    widths = [max(len(r[i]) for r in rows) for i in range(4)]
    head = ("fichero", "tipo", "tamaño", "detalle")
    widths = [max(w, len(h)) for w, h in zip(widths, head)]
    fmt = "  ".join("%%-%ds" % w for w in widths) + "  %s"
    print(fmt % (head + ("estado",)))
    print("  ".join("-" * w for w in widths) + "  ------")
    for r in rows:
        print(fmt % r)
    if failures:
        print("\n%d fallo(s):" % len(failures))
        for f in failures:
            print("  - " + f)
        return 1
    print("\nTodo correcto: %d ficheros." % len(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
