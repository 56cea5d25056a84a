#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the word pictures of Miravellon: assets/Graficos/<palabra>.gif.

When a pupil has corrected a word, a click on it in the list of corrected
words opens its picture. The program looks for "Graficos/" + word + ".gif"
(then ".jpg"), with the word exactly as it stands in the correct text,
punctuation included, ignoring letter case. So every file here is named
after one line of tools/content/corrected_words.txt.

Each picture is a soft pastel card, 240 x 240 pixels, with a drawing on top
and the word written underneath. Most drawings are emoji from Noto Color
Emoji; a few things that have no emoji are drawn shape by shape below.

    /usr/bin/python3 tools/art/graficos/make_graficos.py           # write and check
    /usr/bin/python3 tools/art/graficos/make_graficos.py --check   # check only

Needs (Debian): python3-pil fonts-noto-color-emoji fonts-dejavu-core.
The output is deterministic: no clocks, no randomness.
"""

import calendar
import glob
import math
import os
import sys
import zlib

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
OUT_DIR = os.path.join(ROOT, "assets", "Graficos")
WORDS_FILE = os.path.join(ROOT, "tools", "content", "corrected_words.txt")
TEXTS_GLOB = os.path.join(ROOT, "assets", "Ejercicios", "*", "correcto", "*.txt")

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
EMOJI_SIZE = 109            # the only size of the colour bitmaps in the font
BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

SIZE = 240                  # the card is SIZE x SIZE pixels
ART = (120, 86)             # centre of the drawing area
ART_BOX = 150               # hand-drawn pictures fit in ART_BOX x ART_BOX pixels
ART_WIDE = 206              # emoji side by side may use this width
CAPTION_Y = 205             # centre line of the word
SS = 4                      # hand-drawn shapes are drawn SS times larger

PUNCTUATION = "¡!¿?«».,;:—\"'()"

# Background and border of the cards; each word picks one by a checksum of
# its name, so the colour never changes between runs.
PASTELS = [
    ((255, 236, 236), (236, 170, 170)),   # rose
    ((255, 244, 222), (236, 196, 140)),   # apricot
    ((255, 251, 220), (224, 206, 120)),   # lemon
    ((232, 248, 232), (150, 204, 150)),   # mint
    ((228, 244, 252), (140, 190, 222)),   # sky
    ((238, 236, 252), (176, 166, 226)),   # lavender
    ((250, 234, 246), (218, 160, 200)),   # lilac
    ((234, 248, 244), (140, 202, 186)),   # sea green
]
INK = (54, 58, 84)          # colour of the word


# ---------------------------------------------------------------------------
# Hand-drawn pictures. Each function draws on a transparent square of
# ART_BOX * SS pixels (coordinates below are in final pixels, 0..ART_BOX) and
# returns it; the card scales it down, which smooths the edges.

class Pad:
    """A transparent drawing square addressed in final-pixel coordinates."""

    def __init__(self):
        self.img = Image.new("RGBA", (ART_BOX * SS, ART_BOX * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def b(self, x0, y0, x1, y1):
        return [x0 * SS, y0 * SS, x1 * SS, y1 * SS]

    def pts(self, points):
        return [(x * SS, y * SS) for x, y in points]

    def rect(self, x0, y0, x1, y1, fill, outline=None, width=0, radius=0):
        self.d.rounded_rectangle(self.b(x0, y0, x1, y1), radius=radius * SS, fill=fill,
                                 outline=outline, width=int(width * SS))

    def ellipse(self, x0, y0, x1, y1, fill, outline=None, width=0):
        self.d.ellipse(self.b(x0, y0, x1, y1), fill=fill, outline=outline, width=int(width * SS))

    def circle(self, cx, cy, r, fill, outline=None, width=0):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, fill, outline, width)

    def poly(self, points, fill):
        self.d.polygon(self.pts(points), fill=fill)

    def line(self, points, fill, width):
        """A polyline with round ends and joints."""
        self.d.line(self.pts(points), fill=fill, width=int(width * SS), joint="curve")
        for x, y in (points[0], points[-1]):
            self.circle(x, y, width / 2, fill)

    def text(self, x, y, s, size, fill, font=BOLD_FONT):
        face = ImageFont.truetype(font, int(size * SS))
        self.d.text((x * SS, y * SS), s, font=face, fill=fill, anchor="mm")

    def paste(self, art, cx, cy, box):
        """Puts another picture (an RGBA image) into a box of box x box pixels."""
        fitted = fit(art, box * SS)
        self.img.alpha_composite(fitted, (int(cx * SS - fitted.width / 2),
                                          int(cy * SS - fitted.height / 2)))


MONTHS = ["ENERO", "FEBRERO", "MARZO", "ABRIL", "MAYO", "JUNIO", "JULIO", "AGOSTO",
          "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"]
WEEK_LETTERS = "LMXJVSD"     # lunes ... domingo, as Spanish calendars write them


def calendar_page(p, header):
    """A wall calendar page with two rings; returns nothing, draws on p."""
    p.rect(10, 20, 140, 142, (255, 255, 255), outline=(170, 176, 196), width=2, radius=12)
    p.rect(10, 20, 140, 50, header, radius=12)
    p.d.rectangle(p.b(10, 38, 140, 50), fill=header)
    for x in (45, 105):
        p.rect(x - 4, 10, x + 4, 30, (120, 124, 140), radius=4)


def month(number):
    """Calendar page of a month: its name on the red band and its days."""
    def draw():
        p = Pad()
        calendar_page(p, (226, 84, 84))
        name = MONTHS[number - 1]
        p.text(75, 36, name, 15 if len(name) < 9 else 12, (255, 255, 255))
        first, days = calendar.monthrange(2025, number)      # a fixed year: same page every run
        for col, letter in enumerate(WEEK_LETTERS):
            p.text(23 + col * 17, 60, letter, 8, (226, 84, 84) if col >= 5 else (120, 124, 140))
        for day in range(1, days + 1):
            slot = first + day - 1
            col, row = slot % 7, slot // 7
            colour = (226, 84, 84) if col == 6 else (70, 74, 96)
            p.text(23 + col * 17, 75 + row * 13, str(day), 8, colour)
        return p.img
    return draw


def weekday(index):
    """A week page: the day's initial large, and the strip L M X J V S D
    underneath with that day picked out."""
    def draw():
        p = Pad()
        calendar_page(p, (86, 150, 220))
        p.text(75, 36, "SEMANA", 14, (255, 255, 255))
        p.circle(75, 80, 20, (255, 206, 84), outline=(232, 150, 40), width=2)
        p.text(75, 81, WEEK_LETTERS[index], 26, (130, 64, 0))
        for col, letter in enumerate(WEEK_LETTERS):
            x = 24 + col * 17
            if col == index:
                p.rect(x - 8, 112, x + 8, 132, (255, 206, 84), radius=4)
                p.text(x, 122, letter, 11, (130, 64, 0))
            else:
                p.text(x, 122, letter, 10, (150, 154, 170))
        return p.img
    return draw


def pizarra():
    p = Pad()
    p.rect(8, 22, 142, 122, (164, 108, 62), radius=8)
    p.rect(16, 30, 134, 114, (46, 96, 74), radius=4)
    p.text(75, 64, "a b c", 26, (244, 244, 236))
    p.text(75, 95, "1 2 3", 20, (250, 232, 150))
    p.rect(30, 122, 120, 130, (140, 90, 50), radius=3)
    p.rect(96, 116, 114, 122, (250, 250, 246), radius=2)
    return p.img


def tiza():
    p = Pad()
    sticks = [((36, 112), (96, 40), (250, 250, 246)),
              ((58, 124), (118, 52), (250, 196, 214)),
              ((84, 130), (136, 74), (252, 232, 140))]
    for (x0, y0), (x1, y1), colour in sticks:
        p.line([(x0, y0), (x1, y1)], (150, 150, 160), 18)
        p.line([(x0, y0), (x1, y1)], colour, 14)
    p.line([(20, 138), (70, 138)], (250, 250, 246), 3)     # a chalk stroke
    return p.img


def alfombra():
    p = Pad()
    for y in range(38, 116, 6):                             # fringes
        p.line([(8, y), (20, y)], (236, 214, 160), 2)
        p.line([(130, y), (142, y)], (236, 214, 160), 2)
    p.rect(18, 32, 132, 120, (200, 56, 60), radius=6)
    p.rect(26, 40, 124, 112, (200, 56, 60), outline=(246, 200, 100), width=4, radius=4)
    p.poly([(75, 50), (108, 76), (75, 102), (42, 76)], (246, 200, 100))
    p.poly([(75, 62), (92, 76), (75, 90), (58, 76)], (40, 84, 150))
    return p.img


def valla():
    p = Pad()
    p.ellipse(0, 118, 150, 146, (130, 196, 110))
    p.rect(12, 62, 138, 72, (186, 132, 80), radius=2)
    p.rect(12, 98, 138, 108, (186, 132, 80), radius=2)
    for x in range(22, 140, 24):
        p.poly([(x - 9, 128), (x - 9, 44), (x, 30), (x + 9, 44), (x + 9, 128)], (222, 170, 110))
        p.line([(x - 6, 48), (x - 6, 124)], (240, 200, 150), 2)
    return p.img


def barrera():
    p = Pad()
    p.rect(18, 40, 34, 134, (120, 124, 140), radius=3)
    p.rect(8, 130, 44, 140, (90, 94, 110), radius=3)
    p.circle(26, 30, 12, (60, 60, 70))
    p.circle(26, 30, 8, (240, 60, 50))
    p.rect(26, 70, 146, 84, (255, 255, 255), outline=(90, 94, 110), width=1.5, radius=4)
    for x in range(38, 146, 24):
        p.d.rectangle(p.b(x, 71, x + 12, 83), fill=(226, 52, 52))
    p.circle(26, 77, 7, (90, 94, 110))
    return p.img


def barril():
    p = Pad()
    body = [(42, 22), (108, 22), (122, 50), (126, 76), (122, 102), (108, 130), (42, 130),
            (28, 102), (24, 76), (28, 50)]
    p.poly(body, (176, 112, 60))
    for x in (52, 75, 98):                                  # staves
        p.line([(x, 24), (x + (x - 75) * 0.25, 76), (x, 128)], (140, 84, 42), 2)
    for y, w in ((36, 94), (116, 94), (62, 110), (90, 110)):
        p.rect(75 - w / 2, y - 4, 75 + w / 2, y + 4, (96, 98, 110), radius=3)
    p.ellipse(42, 16, 108, 30, (200, 140, 84), outline=(140, 84, 42), width=2)
    return p.img


def baul():
    p = Pad()
    p.d.chord(p.b(14, 26, 136, 86), 180, 360, fill=(176, 104, 52))
    p.rect(14, 56, 136, 130, (158, 92, 44), radius=4)
    p.d.rectangle(p.b(14, 54, 136, 62), fill=(214, 170, 60))
    for x in (34, 116):
        p.rect(x - 5, 28, x + 5, 130, (214, 170, 60), radius=2)
    p.rect(64, 56, 86, 82, (240, 200, 70), outline=(170, 120, 30), width=2, radius=4)
    p.circle(75, 66, 3.5, (90, 60, 20))
    p.poly([(73, 67), (77, 67), (78, 76), (72, 76)], (90, 60, 20))
    return p.img


def acorn(p, cx, cy, k, tilt=0):
    """One acorn of height about 100 * k, centred on (cx, cy)."""
    def xy(x, y):
        return (cx + (x + tilt * y) * k, cy + y * k)
    nut = [xy(-30, -14), xy(30, -14), xy(30, 10), xy(22, 34), xy(0, 50), xy(-22, 34), xy(-30, 10)]
    p.poly(nut, (196, 132, 64))
    p.circle(*xy(0, 47), 4 * k, (150, 96, 44))
    p.line([xy(-16, -6), xy(-14, 24)], (226, 176, 110), 4 * k)   # shine
    cap = [xy(-38, -10), xy(-34, -30), xy(-16, -42), xy(16, -42), xy(34, -30), xy(38, -10)]
    p.poly(cap, (128, 86, 50))
    for row in range(3):
        for col in range(-3, 4):
            x, y = xy(col * 10 + (row % 2) * 5, -34 + row * 9)
            p.circle(x, y, 2.6 * k, (100, 64, 36))
    p.line([xy(0, -42), xy(4, -56)], (110, 74, 40), 5 * k)


def bellota():
    p = Pad()
    acorn(p, 75, 80, 1.15)
    return p.img


def bellotas():
    p = Pad()
    acorn(p, 48, 72, 0.78, -0.15)
    acorn(p, 104, 88, 0.78, 0.15)
    return p.img


def botella():
    p = Pad()
    glass = (104, 178, 120, 235)
    p.rect(60, 10, 90, 22, (210, 60, 60), radius=3)          # cap
    p.rect(63, 20, 87, 52, glass, radius=4)                   # neck
    p.poly([(63, 46), (87, 46), (104, 66), (46, 66)], glass)  # shoulder
    p.rect(46, 60, 104, 142, glass, radius=10)
    p.rect(46, 84, 104, 116, (250, 244, 220), radius=2)       # label
    p.text(75, 100, "zumo", 12, (200, 110, 40))
    p.line([(54, 70), (54, 134)], (196, 236, 204), 5)         # shine
    p.line([(68, 24), (68, 44)], (196, 236, 204), 3)
    return p.img


def almohada():
    p = Pad()
    p.ellipse(16, 118, 134, 134, (0, 0, 0, 40))                # shadow
    pts = [(14, 36), (40, 44), (75, 40), (110, 44), (136, 36), (128, 76), (136, 116),
           (110, 108), (75, 112), (40, 108), (14, 116), (22, 76)]
    p.poly(pts, (170, 196, 236))
    inner = [(24, 46), (44, 52), (75, 48), (106, 52), (126, 46), (120, 76), (126, 106),
             (106, 100), (75, 104), (44, 100), (24, 106), (30, 76)]
    p.poly(inner, (214, 228, 252))
    p.ellipse(52, 60, 98, 92, (236, 242, 255))
    return p.img


def columpio():
    p = Pad()
    wood = (178, 116, 64)
    p.line([(20, 24), (130, 24)], (150, 96, 52), 8)
    for x0, x1 in ((20, 6), (20, 34), (130, 116), (130, 144)):
        p.line([(x0, 24), (x1, 140)], wood, 7)
    p.line([(54, 26), (54, 104)], (120, 110, 100), 3)
    p.line([(96, 26), (96, 104)], (120, 110, 100), 3)
    p.rect(44, 102, 106, 112, (226, 80, 80), radius=3)
    p.ellipse(0, 132, 150, 148, (130, 196, 110))
    return p.img


def hamaca():
    p = Pad()
    for x in (16, 134):
        p.line([(x, 40), (x, 140)], (150, 98, 56), 10)
        p.circle(x, 36, 14, (110, 180, 90))
    p.ellipse(0, 132, 150, 148, (130, 196, 110))
    p.line([(16, 56), (34, 74)], (120, 110, 100), 2.5)
    p.line([(134, 56), (116, 74)], (120, 110, 100), 2.5)
    colours = [(236, 96, 96), (250, 200, 80), (96, 170, 226)]
    for i, colour in enumerate(colours):
        top = 72 + i * 8
        p.d.chord(p.b(30, top - 40, 120, top + 40 - i * 3), 0, 180, fill=colour)
    p.d.chord(p.b(36, 56, 114, 80), 0, 180, fill=(0, 0, 0, 0))
    return p.img


def lampara():
    p = Pad()
    for (x0, y0), (x1, y1) in (((24, 30), (12, 22)), ((126, 30), (138, 22)), ((75, 8), (75, 0))):
        p.line([(x0, y0), (x1, y1)], (250, 210, 90), 3)
    p.poly([(50, 20), (100, 20), (122, 70), (28, 70)], (252, 208, 96))
    p.poly([(50, 20), (60, 20), (44, 70), (28, 70)], (255, 228, 150))
    p.rect(70, 70, 80, 120, (150, 120, 100), radius=3)
    p.ellipse(42, 114, 108, 134, (120, 96, 80))
    p.ellipse(42, 110, 108, 128, (160, 130, 110))
    return p.img


def churros():
    p = Pad()
    p.ellipse(8, 96, 142, 140, (236, 238, 244), outline=(190, 196, 210), width=2)
    sticks = [((22, 104), (118, 56)), ((30, 118), (130, 78)), ((20, 88), (112, 38))]
    for (x0, y0), (x1, y1) in sticks:
        p.line([(x0, y0), (x1, y1)], (196, 120, 50), 18)
        p.line([(x0, y0), (x1, y1)], (226, 158, 74), 12)
        p.line([(x0, y0), (x1, y1)], (246, 196, 110), 3)
        for i in range(1, 12):
            t = i / 12
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            p.circle(x + 2, y - 2, 1.3, (255, 255, 255))
    return p.img


def rayas():
    p = Pad()
    colours = [(236, 96, 96), (250, 168, 70), (250, 216, 80), (110, 196, 110),
               (96, 170, 226), (160, 120, 210)]
    mask = Image.new("L", p.img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(p.b(15, 15, 135, 135), radius=18 * SS, fill=255)
    stripes = Image.new("RGBA", p.img.size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(stripes)
    for i in range(-6, 12):
        x = i * 20
        sd.polygon([((x) * SS, 0), ((x + 20) * SS, 0), ((x + 20 + 150) * SS, 150 * SS),
                    ((x + 150) * SS, 150 * SS)], fill=colours[i % len(colours)])
    p.img.paste(stripes, (0, 0), mask)
    return p.img


def hormiguero():
    p = Pad()
    p.ellipse(0, 120, 150, 146, (130, 196, 110))
    p.d.chord(p.b(14, 52, 136, 192), 180, 360, fill=(186, 132, 84))
    p.d.chord(p.b(30, 64, 120, 176), 180, 360, fill=(204, 152, 100))
    p.ellipse(64, 60, 86, 72, (90, 58, 34))                   # the entrance
    for x, y in ((40, 104), (100, 100), (70, 118)):
        p.circle(x, y, 2.5, (160, 110, 66))
    p.paste(emoji_image("🐜"), 38, 126, 34)
    p.paste(emoji_image("🐜"), 116, 124, 34)
    p.paste(emoji_image("🐜"), 92, 76, 28)
    return p.img


def gorro():
    p = Pad()
    p.circle(75, 26, 16, (250, 196, 70))                      # pompom
    for a in range(0, 360, 30):
        p.circle(75 + 11 * math.cos(math.radians(a)), 26 + 11 * math.sin(math.radians(a)), 6,
                 (240, 180, 50))
    p.d.chord(p.b(22, 34, 128, 160), 180, 360, fill=(70, 130, 200))
    for x in range(34, 120, 12):                               # knitted ribs
        p.line([(x, 60 if 50 < x < 100 else 80), (x, 96)], (96, 156, 222), 3)
    p.rect(16, 92, 134, 124, (226, 80, 80), radius=10)
    for x in range(26, 130, 12):
        p.line([(x, 98), (x, 118)], (240, 120, 120), 3)
    return p.img


def yogur():
    p = Pad()
    p.poly([(36, 40), (114, 40), (104, 138), (46, 138)], (250, 250, 250))
    p.poly([(38, 62), (112, 62), (108, 104), (42, 104)], (246, 170, 190))   # label
    p.paste(emoji_image("🍓"), 75, 83, 34)
    p.rect(28, 30, 122, 44, (210, 214, 226), radius=4)        # lid
    p.poly([(110, 30), (130, 18), (134, 26), (116, 40)], (190, 196, 210))
    p.line([(48, 44), (56, 134)], (232, 232, 236), 3)
    return p.img


def pecera():
    p = Pad()
    p.ellipse(14, 22, 136, 144, (214, 236, 250, 150), outline=(140, 186, 220), width=3)
    p.d.chord(p.b(16, 24, 134, 142), 340, 200, fill=(120, 190, 240, 170))
    p.d.rectangle(p.b(14, 14, 136, 32), fill=(0, 0, 0, 0))
    p.ellipse(40, 24, 110, 38, (240, 248, 255), outline=(140, 186, 220), width=3)
    for x, y, r in ((44, 126, 6), (58, 131, 5), (88, 131, 6), (104, 126, 5), (72, 133, 5)):
        p.circle(x, y, r, (200, 170, 130))
    p.paste(emoji_image("🐠"), 78, 88, 62)
    for x, y, r in ((48, 70, 4), (42, 56, 3), (50, 46, 2.5)):
        p.circle(x, y, r, (255, 255, 255, 200), outline=(150, 200, 235), width=1)
    return p.img


# ---------------------------------------------------------------------------
# The pictures. Key: the word exactly as in corrected_words.txt. Value: an
# emoji, a tuple of emoji (drawn side by side, e.g. for plurals), or a
# function from above that draws the picture.

PICTURES = {
    # words the neutral rewrite of the first and middle years brought in
    "zorros": ("🦊", "🦊"),
    "manzanas": ("🍎", "🍎"),
    "rompecabezas": "🧩",
    "cumpleaños.": "🎂",
    "timbales": ("🥁", "🥁"),
    "hueso": "🦴",
    "pececillo": "🐟",
    "guisado": "🍲",
    "ballenas": ("🐋", "🐋"),
    "liebre": "🐇",
    # the first years' C, QU and Z, G and GU, BR and BL, and their rewritten texts
    "cabra": "🐐",
    "cebra": "🦓",
    "pingüino": "🐧",
    "pingüinos": ("🐧", "🐧"),
    "guepardo": "🐆",
    "liebre.": "🐇",
    "lechuza.": "🦉",
    "zapato": "👞",
    "canoa": "🛶",
    "juguete": "🧸",
    "sombrero.": "🎩",
    "trompeta.": "🎺",
    "tranvía.": "🚋",
    "llave!": "🔑",
    "castillo.": "🏰",
    "empanadas.": "🥟",
    "ferrocarril.": "🚂",
    "pollitos.": "🐥",
    "cuchara": "🥄",
    "circo.": "🎪",
    "peces.": "🐟",
    "hormiguero.": "🐜",
    "guitarras": ("🎸", "🎸"),
    "relojes": "⏰",
    "cebra:": "🦓",
    "cabra.": "🐐",
    "lámparas": "💡",
    "escalera": "🪜",
    "sillas.": ("🪑", "🪑"),
    "silla.": "🪑",
    # animals
    "conejo": "🐇",
    "abeja": "🐝",
    "águila.": "🦅",
    "ardilla": "🐿️",
    "ballena": "🐋",
    "Bigotes": "🐈",                 # the cat called Bigotes
    "Bigotes,": "🐈",
    "Margarita.": "🦒",              # the giraffe called Margarita
    "«ratón": ("🐭", "📚"),          # «ratón de biblioteca»
    "búho": "🦉",
    "burro": "🫏",
    "caballo": "🐎",
    "cabras": ("🐐", "🐐"),
    "cerdos": ("🐖", "🐖"),
    "cisne": "🦢",
    "delfín": "🐬",
    "erizo": "🦔",
    "gallina": "🐔",
    "hámster": "🐹",
    "hipopótamo": "🦛",
    "hormiga": "🐜",
    "huellas": "🐾",
    "jabalí": "🐗",
    "jabalíes": ("🐗", "🐗"),
    "grillos": ("🦗", "🦗"),
    "vaca": "🐄",
    "jirafa": "🦒",
    "león": "🦁",
    "lombriz": "🪱",
    "mosquito": "🦟",
    "murciélago": "🦇",
    "pájaro": "🐦",
    "peces": ("🐟", "🐠"),
    "perro": "🐕",
    "pollito": "🐣",
    "ratón": "🐁",
    "tiburón": "🦈",
    "Toby": "🐕",                    # the dog called Toby
    "zorro": "🦊",

    # people and fantasy
    "ángel.": "👼",
    "cicatriz": "🩹",
    "bruja": "🧙‍♀️",
    "dragón": "🐉",
    "gemelos": "👬",
    "gente": "👥",
    "granjera": "👩‍🌾",
    "hada": "🧚",
    "hermana": "👧",
    "hermanas": ("👧", "👧"),
    "hermano": "👦",
    "hombre": "👨",
    "mujer": "👩",
    "payaso": "🤡",
    "pelirrojo": "🧑‍🦰",
    "rey": "🤴",

    # body
    "boca": "👄",
    "brazo": "💪",
    "cinco": "🖐️",
    "hocico": "🐽",
    "huele": ("👃", "🌸"),
    "nariz": "👃",

    # feelings and faces
    "alegría": "😄",
    "frío!": "🥶",
    "silencio": "🤫",
    "sonrisa": "😊",
    "tímida": "🙈",
    "vergüenza": "😳",

    # food and drink
    "arroz": "🍚",
    "bebida": "🥤",
    "calabaza": "🎃",
    "cebolla": "🧅",
    "cebollas": ("🧅", "🧅"),
    "galletas": ("🍪", "🍪"),
    "hamburguesa": "🍔",
    "helado": "🍦",
    "huevo": "🥚",
    "huevos": ("🥚", "🥚"),
    "huerto": ("🥕", "🥬"),
    "limones": ("🍋", "🍋"),
    "maíz": "🌽",
    "manzana": "🍎",
    "plátano": "🍌",
    "plátanos": ("🍌", "🍌"),
    "queso": "🧀",
    "uvas": "🍇",
    "yogur": yogur,
    "yema": "🍳",
    "zanahoria": "🥕",
    "zanahorias": ("🥕", "🥕"),

    # plants and nature
    "hierba.": "🌿",
    "ola": "🌊",
    "árbol": "🌳",
    "arrecife": "🪸",
    "bambú.": "🎋",
    "bellotas": bellotas,
    "bosque": ("🌲", "🌳", "🌲"),
    "campo": "🌾",
    "girasol": "🌻",
    "hierba": "🌿",
    "hoja": "🍁",
    "hojas": ("🍁", "🍂"),
    "isla": "🏝️",
    "macetas.": ("🪴", "🪴"),
    "olas": "🌊",
    "paisaje": "🏔️",
    "río": "🏞️",
    "volcán": "🌋",

    # weather, sky and seasons
    "cielo": "🌤️",
    "día": "🌞",
    "estrella": "⭐",
    "estrellas": ("⭐", "🌟"),
    "hielo": "🧊",
    "invierno": "⛄",
    "llueve": "☔",
    "lluvia": "🌧️",
    "luz": "💡",
    "nieve": "❄️",
    "nubes": ("☁️", "☁️"),
    "otoño": "🍂",
    "primavera": "🌸",
    "relámpago": "⚡",
    "verano": "☀️",
    "viento": "🌬️",

    # days and months
    "lunes": weekday(0),
    "viernes": weekday(4),
    "sábado": weekday(5),
    "domingo": weekday(6),
    "enero": month(1),
    "marzo": month(3),
    "junio,": month(6),
    "agosto": month(8),
    "diciembre": month(12),

    # vehicles and travel
    "excursión": "🎒",
    "autobús": "🚌",
    "avión": "✈️",
    "barca": "🚣",
    "barco": "🚢",
    "barcos": ("⛵", "⛵"),
    "bicicleta": "🚲",
    "camión": "🚚",
    "carretera": "🛣️",
    "equipaje": "🧳",
    "helicópteros": ("🚁", "🚁"),
    "viaje": "🚗",

    # places and buildings
    "casa": "🏠",
    "ascensor": "🛗",
    "construcción": "🏗️",
    "piscina": "🏊",
    "contaminación": "🏭",
    "valla": valla,
    "cabaña": "🛖",
    "campamento": "🏕️",
    "castillo": "🏰",
    "circo": "🎪",
    "ciudad!": "🏙️",
    "habitación": "🛏️",
    "hospital": "🏥",
    "hotel": "🏨",
    "jardín": "🏡",

    # countries, with their flags
    "España.": "🇪🇸",
    "Italia.": "🇮🇹",
    "Senegal.": "🇸🇳",
    "Venezuela,": "🇻🇪",

    # things at home and at school
    "diccionario": "📖",
    "redacción": "📝",
    "escribo": "✍️",
    "escribe": "✍️",
    "escribimos": "✍️",
    "escribieron": "✍️",
    "leyó": "📖",
    "leyeron": "📖",
    "leyendo": "📖",
    "hojea": "📖",
    "hojeamos": "📖",
    "recibido": "📬",
    "invitación:": "💌",
    "experimento": "🧪",
    "explosión": "💥",
    "coser": ("🧵", "🪡"),
    "cocer": "🍲",
    "prohibido": "🚫",
    "inspección": "🔍",
    "exploradores.": ("🔍", "🐞"),
    "protección": "⛑️",
    "agujero": "🕳️",
    "almohada": almohada,
    "alfombra": alfombra,
    "barril": barril,
    "baúl": baul,
    "biblioteca": "📚",
    "biblioteca».": "📚",
    "botella": botella,
    "brújula": "🧭",
    "campana": "🔔",
    "cepillo": "🪥",
    "columpio": columpio,
    "cuchillo": "🔪",
    "escoba": "🧹",
    "fotografía": "📷",
    "hacha": "🪓",
    "hamaca": hamaca,
    "hilo": "🧵",
    "imagen": "🖼️",
    "imágenes": ("🖼️", "🖼️"),
    "juguetes": ("🧸", "🪁"),
    "lámpara": lampara,
    "lápices": ("✏️", "✏️"),
    "lápiz": "✏️",
    "libro": "📖",
    "llave": "🗝️",
    "pecera": pecera,
    "sofá": "🛋️",
    "teléfono": "☎️",
    "tijeras": "✂️",

    # clothes
    "abrigo": "🧥",
    "bufanda": "🧣",
    "buzo": "🤿",
    "gorra": "🧢",
    "sombrero": "👒",
    "zapatos": ("👞", "👞"),

    # music, games and sport
    "botar": "🏀",
    "botó": "🏀",
    "grabar": "🎙️",
    "escena:": "🎭",
    "escenario": "🎭",
    "espectáculo": "🎪",
    "atracción": "🎢",
    "ajedrez,": "♟️",
    "balón": "⚽",
    "gimnasia,": "🤸",
    "globo": "🎈",
    "guitarra": "🎸",
    "magia": "🪄",
    "magia.": "🪄",
    "matemáticas.": "🔢",
    "música": "🎶",
    "natación": "🏊",
    "película": "🎬",
    "tambor": "🥁",
    "trompeta": "🎺",

    # things people do, and a few more
    "votar": "🗳️",
    "Hola,": "👋",
    "ayuda": "🛟",
    "brillaba": "✨",
    "ciento": "💯",
    "comprar": "🛒",
    "corazón.": "❤️",
    "corriendo": "🏃‍♀️",
    "dibujos": "🎨",
    "escribir": "✍️",
    "hoguera": "🔥",
    "mensaje": "✉️",
    "ruido": "🔊",
    "tejer": "🧶",
    "timbre.": "🛎️",
    "amarilla": "🟡",
    "amarilla.": "🟡",
    "amarillo": "🟡",
    "azul": "🔵",
}

# Words whose capital letter belongs to the word (names), so the caption
# keeps it; every other caption is written in small letters.
NAMES = {"Algodón", "Bigotes", "Canadá", "Drácula", "España", "Europa", "Italia", "Margarita",
         "Marruecos", "Senegal", "Toby", "Venezuela"}


# ---------------------------------------------------------------------------

_emoji_font = None


def emoji_image(text):
    """One emoji (a single grapheme, flags and joined sequences included),
    rendered in colour and cropped to its visible pixels."""
    global _emoji_font
    if _emoji_font is None:
        _emoji_font = ImageFont.truetype(EMOJI_FONT, EMOJI_SIZE)
    canvas = Image.new("RGBA", (600, 260), (0, 0, 0, 0))
    ImageDraw.Draw(canvas).text((40, 40), text, font=_emoji_font, embedded_color=True)
    box = canvas.getbbox()
    if box is None:
        raise SystemExit("La fuente Noto Color Emoji no tiene %r" % text)
    img = canvas.crop(box)
    if img.width > 150 or img.height > 150:
        raise SystemExit("%r no se dibuja como un solo emoji (%dx%d)" % (text, img.width, img.height))
    return img


def fit(img, box):
    """Scales an RGBA picture to fit in box x box pixels."""
    k = min(box / img.width, box / img.height)
    size = (max(1, round(img.width * k)), max(1, round(img.height * k)))
    return img.resize(size, Image.LANCZOS)


def art_for(value):
    """The drawing of a PICTURES value as an RGBA image ART_WIDE x ART_BOX."""
    layer = Image.new("RGBA", (ART_WIDE, ART_BOX), (0, 0, 0, 0))
    if callable(value):
        drawn = value().resize((ART_BOX, ART_BOX), Image.LANCZOS)
        layer.alpha_composite(drawn, ((ART_WIDE - ART_BOX) // 2, 0))
        return layer
    items = (value,) if isinstance(value, str) else value
    x, y = ART_WIDE / 2, ART_BOX / 2
    if len(items) == 1:
        places = [(x, y, 134)]
    elif len(items) == 2:
        places = [(x - 46, y + 8, 92), (x + 46, y - 8, 92)]
    elif len(items) == 3:
        places = [(x, y - 32, 78), (x - 44, y + 30, 78), (x + 44, y + 30, 78)]
    else:
        raise SystemExit("Demasiados emoji en un dibujo: %r" % (value,))
    for text, (cx, cy, box) in zip(items, places):
        img = fit(emoji_image(text), box)
        layer.alpha_composite(img, (round(cx - img.width / 2), round(cy - img.height / 2)))
    return layer


def caption_of(word):
    bare = word.strip(PUNCTUATION)
    return bare if bare in NAMES else bare.lower()


def card(word, value):
    bg, border = PASTELS[zlib.crc32(word.encode("utf-8")) % len(PASTELS)]
    scale = 2
    base = Image.new("RGB", (SIZE * scale, SIZE * scale), (255, 255, 255))
    d = ImageDraw.Draw(base)
    d.rounded_rectangle([5 * scale, 5 * scale, (SIZE - 6) * scale, (SIZE - 6) * scale],
                        radius=26 * scale, fill=bg, outline=border, width=3 * scale)
    # a lighter halo behind the drawing
    halo = tuple(min(255, v + (255 - v) // 2) for v in bg)
    cx, cy = ART
    d.ellipse([(cx - 80) * scale, (cy - 72) * scale, (cx + 80) * scale, (cy + 72) * scale], fill=halo)
    base = base.resize((SIZE, SIZE), Image.LANCZOS).convert("RGBA")

    art = art_for(value)
    base.alpha_composite(art, (cx - ART_WIDE // 2, cy - ART_BOX // 2))

    # the word, as large as fits
    text = caption_of(word)
    d = ImageDraw.Draw(base)
    for size in range(30, 11, -1):
        face = ImageFont.truetype(BOLD_FONT, size)
        left, top, right, bottom = d.textbbox((0, 0), text, font=face)
        if right - left <= SIZE - 36:
            break
    d.text((SIZE // 2, CAPTION_Y), text, font=face, fill=INK, anchor="mm")
    return base.convert("RGB")


def save_gif(img, path):
    """A still 256-colour GIF (one frame, no animation)."""
    indexed = img.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.FLOYDSTEINBERG)
    indexed.save(path, format="GIF", optimize=False)


# ---------------------------------------------------------------------------

def read_words():
    with open(WORDS_FILE, encoding="utf-8") as f:
        return [line.rstrip("\r\n") for line in f if line.strip()]


def words_of_texts():
    """Every word (punctuation attached) of the correct versions, lower-cased."""
    words = set()
    for path in glob.glob(TEXTS_GLOB):
        with open(path, encoding="cp1252", newline="") as f:
            words.update(w.lower() for w in f.read().split())
    return words


def check_mapping(words):
    # A drawing whose word no text corrects any more is not drawn: the texts
    # change more often than the drawings, and a picture nobody can open
    # only makes the checker warn.
    lines = set(words)
    unused = [k for k in PICTURES if k not in lines]
    for k in unused:
        del PICTURES[k]
    if unused:
        print("Sin dibujar (no son palabras de corrected_words.txt): %s" % ", ".join(unused))
    seen = {}
    for k in PICTURES:
        if k.lower() in seen:
            raise SystemExit("«%s» y «%s» darían el mismo archivo" % (seen[k.lower()], k))
        seen[k.lower()] = k


def check_output(words):
    """Every file opens, is a still GIF of the right size and is named after
    a corrected word of the correct texts; every mapped word has its file."""
    lines = {w.lower(): w for w in words}
    in_texts = words_of_texts()
    errors = []
    names = sorted(os.listdir(OUT_DIR)) if os.path.isdir(OUT_DIR) else []
    found = set()
    for name in names:
        path = os.path.join(OUT_DIR, name)
        if not name.endswith(".gif"):
            errors.append("%s: no es un .gif" % name)
            continue
        word = name[:-4]
        if word not in lines.values():
            errors.append("%s: no es una línea de corrected_words.txt" % name)
        if word.lower() not in in_texts:
            errors.append("%s: ninguna palabra de los textos correctos se llama así" % name)
        try:
            with Image.open(path) as im:
                im.load()
                if im.format != "GIF" or getattr(im, "n_frames", 1) != 1:
                    errors.append("%s: no es un GIF de un solo fotograma" % name)
                if im.size != (SIZE, SIZE):
                    errors.append("%s: mide %dx%d" % (name, im.width, im.height))
        except Exception as e:          # noqa: BLE001 - report any reading failure
            errors.append("%s: no se puede abrir (%s)" % (name, e))
        found.add(word)
    for word in PICTURES:
        if word not in found:
            errors.append("falta %s.gif" % word)
    return names, errors


def main():
    check_only = "--check" in sys.argv[1:]
    words = read_words()
    check_mapping(words)

    if not check_only:
        os.makedirs(OUT_DIR, exist_ok=True)
        wanted = {w + ".gif" for w in PICTURES}
        for name in sorted(os.listdir(OUT_DIR)):
            if name.endswith(".gif") and name not in wanted:
                os.remove(os.path.join(OUT_DIR, name))
                print("borrado %s (ya no está en la lista)" % name)
        for word in sorted(PICTURES):
            save_gif(card(word, PICTURES[word]), os.path.join(OUT_DIR, word + ".gif"))

    names, errors = check_output(words)
    covered = {w.lower() for w in PICTURES}
    missing = [w for w in words if w.lower() not in covered]
    print("%d dibujos en %s" % (len(names), os.path.relpath(OUT_DIR, ROOT)))
    print("%d palabras corregidas sin dibujo:" % len(missing))
    print("  " + " ".join(missing))
    if errors:
        print("ERRORES:")
        for e in errors:
            print("  " + e)
        return 1
    print("Comprobado: todos se abren y cada nombre es una palabra corregida de los textos.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
