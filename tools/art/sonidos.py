#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Synthesises the sound cues in assets/sonidos/.

Tones are made here sample by sample; the two spoken cues come from
espeak-ng's Spanish voice. Output: 16-bit PCM mono WAV at 22050 Hz,
each under two seconds, all brought to the same moderate loudness.
"""

import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import wave

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from comun import out_path  # noqa: E402

RATE = 22050
PEAK = 0.50          # -6 dBFS: loud enough to hear, never a jolt
VOICE = "es+f3"      # Castilian Spanish with a female variant


def silence(sec):
    return [0.0] * int(round(sec * RATE))


def mix_into(buf, snd, at):
    start = int(round(at * RATE))
    need = start + len(snd)
    if need > len(buf):
        buf.extend([0.0] * (need - len(buf)))
    for i, v in enumerate(snd):
        buf[start + i] += v


def envelope(n, attack, decay):
    """Fast linear attack, exponential decay (decay = time constant, s)."""
    a = max(1, int(attack * RATE))
    out = []
    for i in range(n):
        t = i / RATE
        e = math.exp(-t / decay)
        if i < a:
            e *= i / a
        out.append(e)
    return out


def bell(freq, dur, decay=0.25, partials=((1, 1.0), (2, 0.25), (3, 0.08)),
         attack=0.004, vibrato=0.0):
    n = int(dur * RATE)
    env = envelope(n, attack, decay)
    out = []
    ph = [0.0] * len(partials)
    for i in range(n):
        t = i / RATE
        f = freq * (1.0 + vibrato * math.sin(2 * math.pi * 5.5 * t))
        v = 0.0
        for k, (mult, amp) in enumerate(partials):
            ph[k] += 2 * math.pi * f * mult / RATE
            # upper partials die away faster, as on a real bar or bell
            v += amp * math.sin(ph[k]) * math.exp(-t * (mult - 1) * 3.0)
        out.append(v * env[i])
    # short release so a note never stops with a click
    rel = min(n, int(0.04 * RATE))
    for i in range(rel):
        out[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / rel)
    return out


def fade(buf, fin=0.004, fout=0.02):
    n = len(buf)
    a, b = int(fin * RATE), int(fout * RATE)
    for i in range(min(a, n)):
        buf[i] *= i / a
    for i in range(min(b, n)):
        buf[n - 1 - i] *= i / b
    return buf


def normalise(buf, peak=PEAK):
    m = max(abs(v) for v in buf) or 1.0
    return [v * peak / m for v in buf]


def write(name, buf):
    buf = fade(normalise(buf))
    path = out_path("assets", "sonidos", name)
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(v * 32767)))))
                      for v in buf)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    print("  %-16s %.2f s" % (name, len(buf) / RATE))


# --------------------------------------------------------------------------
# speech
# --------------------------------------------------------------------------

def speak(text, speed=135, pitch=62):
    """Runs espeak-ng and returns the trimmed samples (floats)."""
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "voz.wav")
        subprocess.run(["espeak-ng", "-v", VOICE, "-s", str(speed), "-p", str(pitch),
                        "-a", "120", "-w", wav, text], check=True)
        with wave.open(wav, "rb") as w:
            if w.getnchannels() != 1 or w.getsampwidth() != 2:
                raise RuntimeError("unexpected espeak-ng output format")
            rate = w.getframerate()
            raw = w.readframes(w.getnframes())
    samples = [v / 32768.0 for v in struct.unpack("<%dh" % (len(raw) // 2), raw)]
    if rate != RATE:
        samples = resample(samples, rate, RATE)
    thr = 0.01 * max(abs(v) for v in samples)
    first = next(i for i, v in enumerate(samples) if abs(v) > thr)
    last = len(samples) - next(i for i, v in enumerate(reversed(samples)) if abs(v) > thr)
    pad = int(0.015 * RATE)
    return samples[max(0, first - pad): last + pad]


def resample(samples, src, dst):
    n = int(len(samples) * dst / src)
    out = []
    for i in range(n):
        x = i * src / dst
        j = int(x)
        f = x - j
        a = samples[j]
        b = samples[j + 1] if j + 1 < len(samples) else a
        out.append(a + (b - a) * f)
    return out


# --------------------------------------------------------------------------
# the cues
# --------------------------------------------------------------------------

def note(name):
    """Equal-tempered frequency, e.g. note('C6')."""
    names = {"C": -9, "C#": -8, "D": -7, "D#": -6, "E": -5, "F": -4, "F#": -3,
             "G": -2, "G#": -1, "A": 0, "A#": 1, "B": 2}
    pitch, octave = name[:-1], int(name[-1])
    return 440.0 * 2 ** ((names[pitch] + 12 * (octave - 4)) / 12.0)


def acierto():
    # three quick rising notes, the last one left to ring
    buf = silence(0.0)
    for at, n, dur, dec in ((0.00, "E6", 0.25, 0.08), (0.07, "G#6", 0.25, 0.08),
                            (0.14, "B6", 0.50, 0.16)):
        mix_into(buf, bell(note(n), dur, decay=dec), at)
    return buf


def chime_pair(first, second, gap=0.09, level=0.55):
    buf = silence(0.0)
    mix_into(buf, [v * level for v in bell(note(first), 0.35, decay=0.10)], 0.0)
    mix_into(buf, [v * level for v in bell(note(second), 0.45, decay=0.14)], gap)
    return buf


def muybien():
    buf = chime_pair("G5", "C6")
    voice = speak("¡Muy bien!", speed=130, pitch=65)
    mix_into(buf, [v * 1.0 for v in normalise(voice, 1.0)], 0.22)
    return buf


def bien():
    buf = silence(0.0)
    mix_into(buf, [v * 0.5 for v in bell(note("E5"), 0.35, decay=0.12)], 0.0)
    voice = speak("¡Bien!", speed=130, pitch=58)
    mix_into(buf, normalise(voice, 1.0), 0.16)
    return buf


def whoosh(dur=0.45, f0=500.0, f1=2400.0, seed=7):
    """Band-passed noise sweeping upward with a swell-and-fade envelope."""
    rng = random.Random(seed)
    n = int(dur * RATE)
    out = []
    x1 = x2 = y1 = y2 = 0.0
    lp = 0.0
    k = 1.0 - math.exp(-2 * math.pi * 2500.0 / RATE)   # one-pole low-pass, softer hiss
    for i in range(n):
        t = i / n
        fc = f0 * (f1 / f0) ** t
        q = 1.2
        w0 = 2 * math.pi * fc / RATE
        alpha = math.sin(w0) / (2 * q)
        b0, b2 = alpha, -alpha
        a0, a1, a2 = 1 + alpha, -2 * math.cos(w0), 1 - alpha
        x0 = rng.uniform(-1.0, 1.0)
        y0 = (b0 * x0 + b2 * x2 - a1 * y1 - a2 * y2) / a0
        x2, x1, y2, y1 = x1, x0, y1, y0
        lp += k * (y0 - lp)
        env = math.sin(math.pi * t) ** 2
        out.append(lp * env)
    return out


def cambia():
    buf = silence(0.0)
    mix_into(buf, normalise(whoosh(), 0.35), 0.0)
    mix_into(buf, chime_pair("A5", "D6", gap=0.11, level=0.5), 0.22)
    return buf


def no():
    # a soft, falling "uh-oh": warm tone, small vibrato, gentle attack
    buf = silence(0.0)
    warm = ((1, 1.0), (2, 0.30), (3, 0.10))
    mix_into(buf, bell(note("E4"), 0.30, decay=0.35, partials=warm, attack=0.03,
                       vibrato=0.004), 0.0)
    mix_into(buf, bell(note("C#4"), 0.55, decay=0.30, partials=warm, attack=0.03,
                       vibrato=0.006), 0.24)
    return buf


def ayuda():
    # small hand bell: slightly inharmonic partials, long soft tail
    parts = ((1, 1.0), (2.76, 0.30), (5.40, 0.10), (8.93, 0.04))
    buf = silence(0.0)
    mix_into(buf, bell(note("A5"), 1.30, decay=0.45, partials=parts, attack=0.006), 0.0)
    mix_into(buf, [v * 0.35 for v in bell(note("E6"), 1.00, decay=0.35, partials=parts)],
             0.012)
    return buf


def tick(freq, seed):
    rng = random.Random(seed)
    n = int(0.08 * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        body = math.sin(2 * math.pi * freq * t) * math.exp(-t / 0.012)
        click = rng.uniform(-1, 1) * math.exp(-t / 0.0012) * 0.2
        taper = 0.5 + 0.5 * math.cos(math.pi * i / n)
        out.append((body + click) * taper)
    return out


def rapido():
    # wood-block ticks that speed up
    buf = silence(0.0)
    at = 0.0
    for k, gap in enumerate((0.16, 0.13, 0.10, 0.08, 0.065, 0.0)):
        mix_into(buf, tick(1500 if k % 2 == 0 else 1900, 100 + k), at)
        at += gap
    buf.extend(silence(0.05))
    return buf


def resultados():
    buf = silence(0.0)
    marimba = ((1, 1.0), (4, 0.12), (10, 0.02))
    for k, n in enumerate(("C5", "E5", "G5", "C6")):
        mix_into(buf, bell(note(n), 0.6, decay=0.18, partials=marimba), 0.09 * k)
    mix_into(buf, [v * 0.6 for v in bell(note("E6"), 0.7, decay=0.22)], 0.36)
    mix_into(buf, [v * 0.5 for v in bell(note("G6"), 0.7, decay=0.22)], 0.36)
    return buf


CUES = (
    ("acierto.wav", acierto),
    ("muybien.wav", muybien),
    ("bien.wav", bien),
    ("cambia.wav", cambia),
    ("no.wav", no),
    ("ayuda.wav", ayuda),
    ("rapido.wav", rapido),
    ("resultados.wav", resultados),
)


def main():
    print("sonidos:")
    for name, make in CUES:
        write(name, make())


if __name__ == "__main__":
    main()
