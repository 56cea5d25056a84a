#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the spelling exercises that Miravellon ships.

Reads the exercise sources in tools/content/exercises/*.txt, checks them,
lays every paragraph out in short lines, and has miravellon-crear (the
teachers' command, built with the program) write, for every exercise and
every item n (1, 2, 3 ...):

    assets/Ejercicios/<folder>/correcto/<n>.txt     the text as it should be
    assets/Ejercicios/<folder>/incorrecto/<n>.txt   the text shown to the pupil

plus the two lists of corrected words in tools/content/.

Source notation (see README.md for the full description):

    # a comment
    carpeta: 02 B y V

    == La granja de Marta
    En la granja de Marta vive una {vaca|baca} muy tranquila...

Each error is written {correct|faulty}. Consecutive text lines form one
paragraph; a blank line (or a new item) ends it. The generator wraps every
paragraph into short lines, identically for both versions.

Only the Python standard library is used. miravellon-crear is found through
--crear, then $MIRAVELLON_CREAR, then build/bin/ of the repository, then the
PATH.

    /usr/bin/python3 tools/content/build_exercises.py           build
    /usr/bin/python3 tools/content/build_exercises.py --check   verify only
    /usr/bin/python3 tools/content/build_exercises.py --spell   also run hunspell
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unicodedata
from pathlib import Path

import exercise_rules

HERE = Path(__file__).resolve().parent
REPO = HERE.parent.parent
SOURCE_DIR = HERE / "exercises"
OUTPUT_DIR = REPO / "assets" / "Ejercicios"
WORDS_FILE = HERE / "corrected_words.txt"
BARE_WORDS_FILE = HERE / "corrected_words_bare.txt"
# Word lists a teacher can edit (UTF-8, one entry a line, '#' comments):
HOMOPHONES_FILE = HERE / "homofonos.txt"        # "correct faulty" pairs
DENY_FILE = HERE / "palabras_prohibidas.txt"     # words no text may use
NAMES_FILE = HERE / "nombres_propios.txt"        # names the dictionary lacks
REWORKED_FILE = HERE / "revisados.txt"           # folders held to exercise_rules
HUNSPELL_DIR = Path("/usr/share/hunspell")
CREAR_ENV = "MIRAVELLON_CREAR"

ENCODING = "cp1252"
EOL = "\r\n"

MIN_ERRORS = 3
MAX_ERRORS = 9
MIN_WORDS = 30
MAX_WORDS = 160

# Line wrapping of the generated texts. The program shows them line by line in
# a large font, so lines are kept short.
MAX_LINE_CHARS = 52
MAX_LINE_WORDS = 12
LINE_TOLERANCE = 12       # a paragraph this much over one line stays whole
MIN_LAST_LINE_WORDS = 4   # a shorter last line of a paragraph is avoided

MARK_RE = re.compile(r"\{([^{}|]*)\|([^{}|]*)\}")
FOLDER_FORBIDDEN = set('<>:"/\\|?*')
ITEM_FILE_RE = re.compile(r"^[0-9]+\.txt$")


VOWEL_TILDES = [(a, b) for plain, accented in zip("aeiou", "áéíóú")
                for a, b in ((accented, plain), (plain, accented))]

# The spelling families an exercise may practise. A family is a list of
# (correct, faulty) replacements; a misspelling belongs to the family when
# its faulty form is the correct one with one or more of them applied. "^"
# and "$" stand for the start and the end of the word (punctuation apart).
# The letter case must stay as it is, except in "mayusculas", and the
# punctuation around the word too, except in "signos".
FAMILIES = {
    "mayusculas": "case",
    "signos": [("¿", ""), ("¡", "")],
    "b-v": [("b", "v"), ("v", "b")],
    "g-j": [("g", "j"), ("j", "g")],
    "gu-gü": [("gü", "gu"), ("gu", "g"), ("gu", "gü")],
    "h": [("h", ""), ("^", "^h")],
    "ll-y": [("ll", "y"), ("y", "ll"), ("y$", "i$")],
    # -sión written -ción (televición, decición) too, but no s written c
    # elsewhere, where c before a, o or u would change the sound.
    "c-z-s": [("c", "s"), ("z", "s"), ("c", "z"), ("z", "c"), ("sión", "ción")],
    "c-qu-k": [("qu", "k"), ("c", "k"), ("qu", "c"), ("cu", "qu"), ("qu", "q")],
    "r-rr": [("rr", "r"), ("^r", "^rr"), ("nr", "nrr"), ("lr", "lrr"),
             ("sr", "srr")],
    "m-n": [("mp", "np"), ("mb", "nb"), ("nv", "mv")],
    "tildes": VOWEL_TILDES,
    "homofonos": "homophones",
    "x-s": [("x", "s"), ("s", "x")],
    "cc-sc": [("cc", "c"), ("c", "cc"), ("sc", "s"), ("sc", "c"),
              ("s", "sc")],
    # Final d dropped (verdá, salú), final z written s (lápis), the plural
    # of a word in z (lápizes); z for d and d for z as well.
    "d-z": [("d$", "z$"), ("z$", "d$"), ("d$", "$"), ("ad$", "á$"), ("ud$", "ú$"),
            ("ed$", "é$"), ("z$", "s$"), ("ces$", "zes$"), ("ces$", "ses$")],
    "br-bl": [("br", "bl"), ("bl", "br")],
    "y-verbos": [("y", "ll"), ("y", "i")],
    "hue-hie": [("hue", "ue"), ("hué", "ué"), ("hie", "ie"), ("^hue", "^güe"),
                ("^o", "^ho"), ("^ó", "^hó")],
}


class SourceError(Exception):
    """A problem in an exercise source, reported with its location."""


# --------------------------------------------------------------------------
# Data

class Mark:
    def __init__(self, correct, faulty, line_no):
        self.correct = correct
        self.faulty = faulty
        self.line_no = line_no
        self.offset = None          # position in the correct paragraph
        self.word_index = None      # index of the word inside the item
        self.correct_word = None    # whole word of the correct version
        self.faulty_word = None     # whole word of the faulty version


class Item:
    def __init__(self, title, line_no):
        self.title = title
        self.line_no = line_no
        self.paragraphs = []        # list of Paragraph
        self.correct_lines = []
        self.faulty_lines = []
        self.marks = []
        self.word_count = 0


class Paragraph:
    """Text lines of a source joined with spaces, remembering where each
    source line starts so that messages can name the right line."""

    def __init__(self, text, starts):
        self.text = text
        self.starts = starts        # list of (offset in text, source line)

    @property
    def first_line(self):
        return self.starts[0][1]

    def line_at(self, offset):
        line_no = self.starts[0][1]
        for start, n in self.starts:
            if start > offset:
                break
            line_no = n
        return line_no


class Exercise:
    def __init__(self, path):
        self.path = path
        self.folder = None
        self.families = None
        self.items = []


# --------------------------------------------------------------------------
# Reading the sources

def where(path, line_no):
    return f"{shown(path)}:{line_no}"


def shown(path):
    """A path as printed in messages: relative to the repository if inside it."""
    return str(path.relative_to(REPO)) if path.is_relative_to(REPO) else str(path)


def check_folder_name(name, path, line_no):
    if not name:
        raise SourceError(f"{where(path, line_no)}: empty folder name")
    bad = sorted(set(name) & FOLDER_FORBIDDEN)
    if bad:
        raise SourceError(f"{where(path, line_no)}: folder name {name!r} "
                          f"contains forbidden characters {''.join(bad)!r}")
    if name != name.strip() or name.endswith("."):
        raise SourceError(f"{where(path, line_no)}: folder name {name!r} "
                          "must not start or end with a space or end with a dot")


def read_exercise(path):
    try:
        raw = path.read_bytes().decode("utf-8-sig")
    except UnicodeDecodeError as exc:
        raise SourceError(f"{path}: not valid UTF-8 ({exc})") from None
    # Editors may store accented letters decomposed; Windows-1252 needs them
    # composed.
    raw = unicodedata.normalize("NFC", raw)

    exercise = Exercise(path)
    item = None
    paragraph = []            # list of (text, line_no) of the current paragraph

    def close_paragraph():
        if paragraph:
            text = " ".join(t for t, _ in paragraph)
            starts = []
            offset = 0
            for t, n in paragraph:
                starts.append((offset, n))
                offset += len(t) + 1
            item.paragraphs.append(Paragraph(text, starts))
            paragraph.clear()

    for line_no, line in enumerate(raw.splitlines(), start=1):
        stripped = line.strip(" \r\n")
        if stripped.startswith("#"):
            continue
        if "\t" in line:
            raise SourceError(f"{where(path, line_no)}: tab character; "
                              "use single spaces")
        if not stripped:
            if item is not None:
                close_paragraph()
            continue
        if stripped.startswith("=="):
            if exercise.folder is None or exercise.families is None:
                raise SourceError(f"{where(path, line_no)}: item before the "
                                  "'carpeta:' and 'familia:' lines")
            if item is not None:
                close_paragraph()
            item = Item(stripped.strip("= "), line_no)
            exercise.items.append(item)
            continue
        if item is None:
            key, sep, value = stripped.partition(":")
            if sep and key.strip().lower() == "carpeta":
                if exercise.folder is not None:
                    raise SourceError(f"{where(path, line_no)}: second "
                                      "'carpeta:' line")
                exercise.folder = value.strip()
                check_folder_name(exercise.folder, path, line_no)
                continue
            if sep and key.strip().lower() == "familia":
                if exercise.families is not None:
                    raise SourceError(f"{where(path, line_no)}: second "
                                      "'familia:' line")
                names = [n.strip() for n in value.split(",") if n.strip()]
                unknown = [n for n in names if n not in FAMILIES]
                if unknown or not names:
                    raise SourceError(f"{where(path, line_no)}: unknown "
                                      f"family {', '.join(unknown)!r}; known: "
                                      + ", ".join(FAMILIES))
                exercise.families = names
                continue
            raise SourceError(f"{where(path, line_no)}: text outside an item "
                              "(start items with a line '== title')")
        if "  " in stripped:
            raise SourceError(f"{where(path, line_no)}: double space in text")
        paragraph.append((stripped, line_no))

    if item is not None:
        close_paragraph()
    if exercise.folder is None:
        raise SourceError(f"{path}: missing 'carpeta: <folder name>' line")
    if exercise.families is None:
        raise SourceError(f"{path}: missing 'familia: <family>' line")
    if not exercise.items:
        raise SourceError(f"{path}: no items")
    return exercise


# --------------------------------------------------------------------------
# Checking and building one item

def split_paragraph(para, path):
    """Returns (correct text, faulty text, marks with character offsets)."""
    text = para.text
    correct = []
    faulty = []
    marks = []
    pos = 0
    for m in MARK_RE.finditer(text):
        check_plain(para, pos, m.start(), path)
        plain = text[pos:m.start()]
        correct.append(plain)
        faulty.append(plain)
        good, bad = m.group(1), m.group(2)
        written = m.group(0)
        line_no = para.line_at(m.start())
        if any(c.isspace() for c in good + bad):
            raise SourceError(f"{where(path, line_no)}: the mark {written} "
                              "contains a space; an error must stay inside "
                              "one word")
        if good == bad:
            raise SourceError(f"{where(path, line_no)}: the mark {written} "
                              "has the same correct and faulty form")
        mark = Mark(good, bad, line_no)
        mark.offset = sum(len(s) for s in correct)
        marks.append(mark)
        correct.append(good)
        faulty.append(bad)
        pos = m.end()
    check_plain(para, pos, len(text), path)
    plain = text[pos:]
    correct.append(plain)
    faulty.append(plain)
    return "".join(correct), "".join(faulty), marks


def check_plain(para, start, end, path):
    """Refuses braces or bars outside a well-formed mark."""
    for i in range(start, end):
        ch = para.text[i]
        if ch in "{}|":
            raise SourceError(f"{where(path, para.line_at(i))}: stray {ch!r} "
                              "(marks are written {correct|faulty})")


def check_encodable(text, para, path, version):
    for ch in text:
        bad = None
        try:
            ch.encode(ENCODING)
        except UnicodeEncodeError:
            bad = "cannot be written in Windows-1252"
        if bad is None and unicodedata.category(ch).startswith("C"):
            bad = "is a control character"
        if bad:
            found = para.text.find(ch)
            line_no = para.line_at(found) if found >= 0 else para.first_line
            raise SourceError(f"{where(path, line_no)}: character {ch!r} "
                              f"(U+{ord(ch):04X}) in the {version} version "
                              f"{bad}")


def wrap(widths, keep_with_previous=frozenset()):
    """Splits a paragraph of words with the given widths into lines.

    Returns the list of line lengths in words. Lines hold at most
    MAX_LINE_WORDS words and MAX_LINE_CHARS characters (a single longer word
    gets a line of its own); among the possible splits the one with the most
    even lines is chosen, so that no paragraph ends in a stub of two or
    three words. A paragraph only a little longer than one line is kept
    whole rather than broken into a long line and a stub. No line starts
    with a word whose index is in keep_with_previous (a narrator's
    "—dijo" after a spoken line, which would read as a new speaker).
    """
    n = len(widths)
    total = sum(widths) + n - 1
    if n <= MAX_LINE_WORDS and total <= MAX_LINE_CHARS + LINE_TOLERANCE:
        return [n]
    inf = float("inf")
    best = [inf] * (n + 1)
    choice = [0] * (n + 1)
    best[n] = 0.0
    for i in range(n - 1, -1, -1):
        length = -1
        for j in range(i + 1, n + 1):
            length += widths[j - 1] + 1
            words = j - i
            if words > 1 and (length > MAX_LINE_CHARS or words > MAX_LINE_WORDS):
                break
            cost = float(MAX_LINE_CHARS - length) ** 2
            if j < n and j in keep_with_previous:
                cost += 1e6
            if j == n and words < MIN_LAST_LINE_WORDS and i > 0:
                cost += 1000.0 * (MIN_LAST_LINE_WORDS - words)
            total_cost = cost + best[j]
            if total_cost < best[i]:
                best[i] = total_cost
                choice[i] = j
    sizes = []
    i = 0
    while i < n:
        sizes.append(choice[i] - i)
        i = choice[i]
    return sizes


def build_item(item, path, families=None, homophones=frozenset()):
    all_correct = []
    all_faulty = []
    for para in item.paragraphs:
        line_no = para.first_line
        correct, faulty, marks = split_paragraph(para, path)
        check_encodable(correct, para, path, "correct")
        check_encodable(faulty, para, path, "faulty")
        c_words = correct.split(" ")
        f_words = faulty.split(" ")
        if "" in c_words or "" in f_words:
            raise SourceError(f"{where(path, line_no)}: an empty word (a "
                              "mark whose form is empty leaves a double "
                              "space or a space at an end)")
        if len(c_words) != len(f_words):
            raise SourceError(f"{where(path, line_no)}: the correct version "
                              f"has {len(c_words)} words and the faulty one "
                              f"{len(f_words)}; an error must not add or "
                              "remove words")
        base = len(all_correct)
        for mark in marks:
            index = correct.count(" ", 0, mark.offset)
            mark.word_index = base + index
            mark.correct_word = c_words[index]
            mark.faulty_word = f_words[index]
            if mark.correct_word == mark.faulty_word:
                raise SourceError(f"{where(path, mark.line_no)}: the mark "
                                  f"{{{mark.correct}|{mark.faulty}}} leaves "
                                  "the word unchanged")
        seen = {}
        for mark in marks:
            if mark.word_index in seen:
                raise SourceError(f"{where(path, mark.line_no)}: two marks in the "
                                  f"word {mark.correct_word!r}; mark the "
                                  "whole word once")
            seen[mark.word_index] = mark
        for k, (cw, fw) in enumerate(zip(c_words, f_words)):
            if cw != fw and base + k not in seen:
                raise SourceError(f"{where(path, line_no)}: word {cw!r} "
                                  "differs without a mark")
            if not any(ch.isalnum() for ch in cw):
                raise SourceError(f"{where(path, line_no)}: {cw!r} is "
                                  "punctuation standing alone; attach it to "
                                  "a word")
        item.marks.extend(marks)
        widths = [max(len(a), len(b)) for a, b in zip(c_words, f_words)]
        start = 0
        narrator = frozenset(k for k, w in enumerate(c_words)
                             if k > 0 and w.startswith("—"))
        for size in wrap(widths, narrator):
            item.correct_lines.append(" ".join(c_words[start:start + size]))
            item.faulty_lines.append(" ".join(f_words[start:start + size]))
            start += size
        all_correct.extend(c_words)
        all_faulty.extend(f_words)

    label = f"{where(path, item.line_no)} ({item.title or 'untitled item'})"
    item.word_count = len(all_correct)
    if len(all_correct) != len(all_faulty):
        raise SourceError(f"{label}: the two versions differ in word count")
    if not MIN_WORDS <= item.word_count <= MAX_WORDS:
        raise SourceError(f"{label}: {item.word_count} words; an item needs "
                          f"{MIN_WORDS} to {MAX_WORDS}")
    if not MIN_ERRORS <= len(item.marks) <= MAX_ERRORS:
        raise SourceError(f"{label}: {len(item.marks)} errors; an item needs "
                          f"{MIN_ERRORS} to {MAX_ERRORS}")
    for c_line, f_line in zip(item.correct_lines, item.faulty_lines):
        if len(c_line.split(" ")) != len(f_line.split(" ")):
            raise SourceError(f"{label}: a line differs in word count")

    for mark in item.marks:
        if families and not fits_families(mark.correct_word, mark.faulty_word,
                                          families, homophones):
            raise SourceError(f"{where(path, mark.line_no)}: {mark.correct_word!r}"
                              f" -> {mark.faulty_word!r} is not a misspelling of "
                              f"the family {', '.join(families)} (one family "
                              "per misspelling; homophones must be listed in "
                              f"{HOMOPHONES_FILE.name})")
    for problem in given_away(item, all_correct):
        raise SourceError(f"{label}: {problem}")
    return []


def given_away(item, correct_words):
    """Marks whose correct form also stands unmarked in the same item.

    The form compared keeps the letter case when the misspelling is only a
    matter of case, and the opening signs when it is only a matter of ¿ or
    ¡; otherwise it is the bare word in lower case."""
    marked = {m.word_index for m in item.marks}
    starts = {k for k, w in enumerate(correct_words)
              if k == 0 or correct_words[k - 1][-1:] in ".!?…:"
              or w[:1] in "—¡¿«"}
    problems = []
    for mark in item.marks:
        key = answer_key(mark.correct_word, mark.faulty_word)
        for k, w in enumerate(correct_words):
            # A capital that starts a sentence says nothing about a capital
            # elsewhere.
            if key[0] == "case" and k in starts:
                continue
            if k not in marked and answer_key(w, mark.faulty_word) == key:
                problems.append(f"{mark.correct_word!r} also appears unmarked "
                                "(word " f"{k + 1}), which gives the answer away")
                break
    return problems


def answer_key(word, faulty):
    """The form of word that would show the answer to the misspelling
    faulty."""
    core = strip_punctuation(word)
    fault_core = strip_punctuation(faulty)
    if core.lower() == fault_core.lower() and core != fault_core:
        return ("case", core)
    if core == fault_core:
        lead = word[:len(word) - len(word.lstrip(PUNCTUATION_MARKS))]
        return ("signs", lead + core)
    return ("word", core.lower())


PUNCTUATION_MARKS = "¡!¿?«».,;:—\"'()-…"


def split_word(word):
    """(leading punctuation, core, trailing punctuation)."""
    core = strip_punctuation(word)
    start = word.find(core) if core else len(word)
    return word[:start], core, word[start + len(core):]


def fits_pairs(correct, faulty, pairs):
    """True when faulty is correct with one or more of the (correct, faulty)
    replacements of pairs applied at distinct places."""
    a = "^" + correct + "$"
    b = "^" + faulty + "$"
    memo = {}

    def go(i, j):
        if (i, j) in memo:
            return memo[(i, j)]
        memo[(i, j)] = False
        result = i == len(a) and j == len(b)
        if not result and i < len(a) and j < len(b) and a[i] == b[j]:
            result = go(i + 1, j + 1)
        for x, y in pairs:
            if result:
                break
            if a.startswith(x, i) and b.startswith(y, j):
                result = go(i + len(x), j + len(y))
        memo[(i, j)] = result
        return result

    return correct != faulty and go(0, 0)


def fits_family(correct, faulty, family, homophones=frozenset()):
    """Whether the misspelling correct -> faulty (whole words, punctuation
    attached) belongs to one family."""
    kind = FAMILIES[family]
    c_lead, c_core, c_trail = split_word(correct)
    f_lead, f_core, f_trail = split_word(faulty)
    if kind == "case":
        return ((c_lead, c_trail) == (f_lead, f_trail) and c_core != f_core
                and c_core.lower() == f_core.lower())
    if family == "signos":
        return (c_core == f_core and c_trail == f_trail
                and fits_pairs(c_lead, f_lead, kind))
    if (c_lead, c_trail) != (f_lead, f_trail) or not c_core or not f_core:
        return False
    # Apart from "mayusculas", the letter case is kept letter by letter: a
    # capital lost or gained would be a second kind of mistake.
    if [ch.isupper() for ch in c_core if ch.isalpha()][:1] != \
            [ch.isupper() for ch in f_core if ch.isalpha()][:1]:
        return False
    if sum(ch.isupper() for ch in c_core) != sum(ch.isupper() for ch in f_core):
        return False
    if kind == "homophones":
        return (c_core.lower(), f_core.lower()) in homophones
    return fits_pairs(c_core.lower(), f_core.lower(), kind)


def fits_families(correct, faulty, families, homophones=frozenset()):
    return any(fits_family(correct, faulty, f, homophones) for f in families)


# --------------------------------------------------------------------------
# Output

def crear_program(given=None):
    """The miravellon-crear to run, or None."""
    for candidate in (given, os.environ.get(CREAR_ENV),
                      REPO / "build" / "bin" / "miravellon-crear"):
        if candidate and Path(candidate).is_file() and os.access(candidate, os.X_OK):
            return Path(candidate)
    found = shutil.which("miravellon-crear")
    return Path(found) if found else None


def notation(item):
    """The item's lines as miravellon-crear reads them: every misspelt word
    written whole as {correct|faulty}."""
    lines = []
    for c_line, f_line in zip(item.correct_lines, item.faulty_lines):
        words = [c if c == f else "{" + c + "|" + f + "}"
                 for c, f in zip(c_line.split(" "), f_line.split(" "))]
        lines.append(" ".join(words))
    return "".join(line + "\n" for line in lines)


def crear_items(exercises, crear):
    """Has miravellon-crear write every item into a scratch folder; returns
    {(folder, n): (correct bytes, faulty bytes)}."""
    made = {}
    with tempfile.TemporaryDirectory() as scratch:
        for ex in exercises:
            folder = Path(scratch) / ex.folder
            for n, item in enumerate(ex.items, start=1):
                run = subprocess.run([str(crear), "--faltas", "0", "--numero", str(n),
                                      "--reemplazar", str(folder)],
                                     input=notation(item).encode("utf-8"),
                                     capture_output=True, check=False)
                if run.returncode != 0:
                    raise SourceError(f"{ex.folder}/{n}: miravellon-crear refused the item: "
                                      + run.stderr.decode("utf-8", "replace").strip())
                made[(ex.folder, n)] = ((folder / "correcto" / f"{n}.txt").read_bytes(),
                                        (folder / "incorrecto" / f"{n}.txt").read_bytes())
    return made


def bare(word):
    """The word without surrounding punctuation, lower-cased."""
    return strip_punctuation(word).lower()


def strip_punctuation(word):
    start = 0
    end = len(word)
    while start < end and not word[start].isalnum():
        start += 1
    while end > start and not word[end - 1].isalnum():
        end -= 1
    return word[start:end]


def spanish_key(word):
    """Sort key that follows Spanish alphabetical order closely enough."""
    key = []
    for ch in word.lower():
        if ch == "ñ":
            key.append("n\uffff")
            continue
        decomposed = unicodedata.normalize("NFD", ch)
        base = "".join(c for c in decomposed if not unicodedata.combining(c))
        key.append(base if base.isalnum() else "")
    return ("".join(key), word)


def planned_files(exercises, output_dir, lists_dir, crear, homophones=frozenset(),
                  names=()):
    """Maps every output path to its bytes."""
    files = {}
    made = crear_items(exercises, crear)
    for ex in exercises:
        folder = output_dir / ex.folder
        for n, item in enumerate(ex.items, start=1):
            correct, faulty = made[(ex.folder, n)]
            files[folder / "correcto" / f"{n}.txt"] = correct
            files[folder / "incorrecto" / f"{n}.txt"] = faulty
    words = sorted({m.correct_word for ex in exercises for item in ex.items
                    for m in item.marks}, key=spanish_key)
    bare_words = sorted({bare(w) for w in words}, key=spanish_key)
    files[lists_dir / WORDS_FILE.name] = ("\n".join(words) + "\n").encode("utf-8")
    files[lists_dir / BARE_WORDS_FILE.name] = ("\n".join(bare_words) + "\n").encode("utf-8")
    files.update(checker_lists(exercises, output_dir.parent, homophones, names))
    return files, words, bare_words


CHECKER_WORDS = "palabras-aceptadas.txt"
CHECKER_HOMOPHONES = "homofonos.txt"


def checker_lists(exercises, folder, homophones, names):
    """The two lists miravellon-comprobar reads beside an Ejercicios folder,
    so that the shipped exercises check without a warning: the words of the
    correct versions that the dictionary lacks (nombres_propios.txt) and
    the pairs "correct faulty" of the texts whose faulty form is a word
    too (those of homofonos.txt that the texts use)."""
    used = sorted({(bare(m.correct_word), bare(m.faulty_word))
                   for ex in exercises for item in ex.items for m in item.marks
                   if (bare(m.correct_word), bare(m.faulty_word)) in homophones},
                  key=lambda p: (spanish_key(p[0]), spanish_key(p[1])))
    head = ("# Written by tools/content/build_exercises.py from {}: edit that "
            "list, not this one.\n")
    words = head.format(NAMES_FILE.name) + \
        "# Words of the shipped texts that the Spanish dictionaries lack.\n" + \
        "".join(f"{n}\n" for n in sorted(set(names), key=spanish_key))
    pairs = head.format(HOMOPHONES_FILE.name) + \
        "# correct faulty: misspellings of the shipped texts that are words too.\n" + \
        "".join(f"{c} {f}\n" for c, f in used)
    return {folder / CHECKER_WORDS: words.encode("utf-8"),
            folder / CHECKER_HOMOPHONES: pairs.encode("utf-8")}


def stale_files(exercises, files, output_dir):
    """Item files in the generated folders that the sources no longer make."""
    stale = []
    for ex in exercises:
        for sub in ("correcto", "incorrecto"):
            folder = output_dir / ex.folder / sub
            if folder.is_dir():
                for p in folder.iterdir():
                    if ITEM_FILE_RE.match(p.name) and p not in files:
                        stale.append(p)
    return sorted(stale)


def unknown_folders(exercises, output_dir):
    known = {ex.folder for ex in exercises}
    if not output_dir.is_dir():
        return []
    return sorted(p.name for p in output_dir.iterdir()
                  if p.is_dir() and p.name not in known)


# --------------------------------------------------------------------------
# Word lists and the dictionary

def read_list(path):
    """Entries of a word list: one a line, '#' starts a comment."""
    if not path.is_file():
        return []
    entries = []
    for line in path.read_text("utf-8").splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            entries.append(unicodedata.normalize("NFC", line))
    return entries


def read_homophones(path):
    """Pairs (correct, faulty), lower-cased, from lines "correct faulty"."""
    pairs = set()
    for entry in read_list(path):
        parts = entry.lower().split()
        if len(parts) != 2:
            raise SourceError(f"{shown(path)}: {entry!r} is not a pair "
                              "'correct faulty'")
        pairs.add((parts[0], parts[1]))
    return frozenset(pairs)


def read_reworked(path):
    """The folders held to the rules of exercise_rules, or None (every
    folder) when there is no list."""
    if not path.is_file():
        return None
    return set(read_list(path))


def denied(word, deny):
    """The deny-list entry that word (bare, any case) matches, or None; see
    exercise_rules.denied."""
    return exercise_rules.denied(word, deny)


def hunspell_dictionaries(folder=HUNSPELL_DIR):
    """One path (without extension) per distinct Spanish dictionary."""
    found = {}
    for dic in sorted(folder.glob("es_*.dic")):
        if dic.with_suffix(".aff").is_file():
            found.setdefault(dic.resolve(), dic.with_suffix(""))
    return list(found.values())


def unknown_words(words, dictionaries):
    """The words that no dictionary accepts: a form any Spanish variety
    accepts is a word."""
    remaining = {w for w in words if w}
    for dic in dictionaries:
        if not remaining:
            break
        out = subprocess.run(["hunspell", "-d", str(dic), "-i", "utf-8", "-l"],
                             input="\n".join(sorted(remaining)) + "\n",
                             capture_output=True, text=True, encoding="utf-8",
                             check=True).stdout
        remaining &= set(out.split())
    return remaining


def hunspell_available():
    return shutil.which("hunspell") is not None and bool(hunspell_dictionaries())


def content_problems(exercises, homophones, deny, names, dictionaries=None):
    """What a reader would object to in texts that build: words of the deny
    list, faulty forms that are dictionary words without being listed
    homophones, and words of the correct versions that no dictionary knows
    and that are not listed names. The dictionary checks need hunspell and
    are left out when dictionaries is empty."""
    problems = []
    for ex in exercises:
        for n, item in enumerate(ex.items, start=1):
            words = " ".join(item.correct_lines + item.faulty_lines).split(" ")
            for word in dict.fromkeys(words):
                entry = denied(word, deny)
                if entry:
                    problems.append(f"{ex.folder}/{n}: {word!r} is on the "
                                    f"deny list ({entry})")
    if not dictionaries:
        return problems
    names = {n.lower() for n in names}
    faulty = {}
    correct = {}
    for ex in exercises:
        for n, item in enumerate(ex.items, start=1):
            where_ = f"{ex.folder}/{n}"
            for mark in item.marks:
                c, f = strip_punctuation(mark.correct_word), strip_punctuation(mark.faulty_word)
                if c.lower() != f.lower() and (c.lower(), f.lower()) not in homophones:
                    faulty.setdefault(f, []).append(f"{where_}: faulty form {f!r} "
                                                    f"(for {c!r})")
            for line in item.correct_lines:
                for word in line.split(" "):
                    for part in strip_punctuation(word).split("-"):
                        if part and not part.isdigit() and part.lower() not in names:
                            correct.setdefault(part, where_)
    known_faulty = set(faulty) - unknown_words(faulty, dictionaries)
    for f in sorted(known_faulty, key=spanish_key):
        for place in faulty[f]:
            problems.append(f"{place} is a dictionary word; list the pair in "
                            f"{HOMOPHONES_FILE.name} if it is meant")
    for w in sorted(unknown_words(correct, dictionaries), key=spanish_key):
        problems.append(f"{correct[w]}: {w!r} is in no Spanish dictionary; "
                        f"list it in {NAMES_FILE.name} if it is a name")
    return problems


# --------------------------------------------------------------------------

def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="verify the sources and that the generated files "
                             "are up to date, without writing anything")
    parser.add_argument("--spell", action="store_true",
                        help="also check with hunspell's Spanish dictionaries "
                             "that the correct versions hold only known words "
                             "or listed names and that no faulty form is a "
                             "word unless it is a listed homophone")
    parser.add_argument("--crear", type=Path,
                        help="the miravellon-crear program that writes the "
                             f"items (default: ${CREAR_ENV}, then "
                             "build/bin/miravellon-crear, then the PATH)")
    parser.add_argument("--rules", action="store_true",
                        help="list what every exercise breaks of the rules "
                             "for shipped texts (length, rising misspellings, "
                             "deny list, answers in sight, misspellings no "
                             "child makes), those not yet listed in "
                             f"{REWORKED_FILE.name} too; exit 1 if any")
    parser.add_argument("-q", "--quiet", action="store_true",
                        help="print only problems")
    parser.add_argument("--sources", type=Path, default=SOURCE_DIR,
                        help="folder of exercise sources (default: "
                             "tools/content/exercises)")
    parser.add_argument("--output", type=Path, default=OUTPUT_DIR,
                        help="folder that receives the exercise folders "
                             "(default: assets/Ejercicios)")
    parser.add_argument("--lists", type=Path, default=HERE,
                        help="folder that receives the word lists "
                             "(default: tools/content)")
    parser.add_argument("--word-lists", type=Path, default=HERE,
                        help=f"folder of {HOMOPHONES_FILE.name}, "
                             f"{DENY_FILE.name} and {NAMES_FILE.name} "
                             "(default: tools/content)")
    args = parser.parse_args(argv)
    output_dir = args.output.resolve()
    lists_dir = args.lists.resolve()

    sources = sorted(args.sources.resolve().glob("*.txt"))
    if not sources:
        print(f"error: no exercise sources in {args.sources}", file=sys.stderr)
        return 1

    exercises = []
    warnings = []
    errors = []
    lists = args.word_lists.resolve()
    try:
        homophones = read_homophones(lists / HOMOPHONES_FILE.name)
    except SourceError as exc:
        print(f"error: {exc}", file=sys.stderr)
        return 1
    deny = read_list(lists / DENY_FILE.name)
    names = read_list(lists / NAMES_FILE.name)
    for path in sources:
        try:
            ex = read_exercise(path)
            for item in ex.items:
                try:
                    warnings.extend(build_item(item, path, ex.families,
                                               homophones))
                except SourceError as exc:
                    errors.append(str(exc))
            exercises.append(ex)
        except SourceError as exc:
            errors.append(str(exc))

    folders = {}
    for ex in exercises:
        if ex.folder.casefold() in folders:
            errors.append(f"{ex.path.name}: folder {ex.folder!r} is also "
                          f"used by {folders[ex.folder.casefold()].name}")
        folders[ex.folder.casefold()] = ex.path
    errors.extend(content_problems(exercises, homophones, [], names))
    reworked = read_reworked(lists / REWORKED_FILE.name)
    pending = {}
    for ex in exercises:
        findings = exercise_rules.exercise_findings(ex, deny)
        if exercise_rules.is_reworked(ex.folder, reworked):
            errors.extend(findings)
        elif findings:
            pending[ex.folder] = findings

    for w in warnings:
        print(f"warning: {w}", file=sys.stderr)
    if args.rules:
        for folder, findings in pending.items():
            for f in findings:
                print(f"rule: {f}", file=sys.stderr)
    elif pending and not args.quiet:
        print(f"note: {sum(len(f) for f in pending.values())} findings of the "
              f"rules in {len(pending)} exercises not listed in "
              f"{REWORKED_FILE.name} (--rules lists them)", file=sys.stderr)
    if errors:
        for e in errors:
            print(f"error: {e}", file=sys.stderr)
        print(f"{len(errors)} error(s); nothing was written.", file=sys.stderr)
        return 1

    exercises.sort(key=lambda ex: ex.folder.encode("utf-8"))
    crear = crear_program(args.crear)
    if crear is None:
        print("error: miravellon-crear not found; build it (tools/build.sh) or "
              f"name it with --crear or ${CREAR_ENV}", file=sys.stderr)
        return 1
    try:
        files, words, bare_words = planned_files(exercises, output_dir, lists_dir, crear,
                                                 homophones, names)
    except SourceError as exc:
        print(f"error: {exc}", file=sys.stderr)
        return 1
    stale = stale_files(exercises, files, output_dir)

    if args.check:
        outdated = [p for p, data in files.items()
                    if not p.is_file() or p.read_bytes() != data]
        for p in outdated:
            print(f"out of date: {shown(p)}", file=sys.stderr)
        for p in stale:
            print(f"left over: {shown(p)}", file=sys.stderr)
        if outdated or stale:
            print("The generated exercises are out of date; run "
                  "tools/content/build_exercises.py", file=sys.stderr)
            return 1
    else:
        for p, data in files.items():
            p.parent.mkdir(parents=True, exist_ok=True)
            if not p.is_file() or p.read_bytes() != data:
                p.write_bytes(data)
        for p in stale:
            p.unlink()

    for name in unknown_folders(exercises, output_dir):
        print(f"note: {shown(output_dir / name)} has no source here; left "
              "untouched", file=sys.stderr)

    if args.rules and pending:
        print(f"{sum(len(f) for f in pending.values())} findings of the rules.",
              file=sys.stderr)
        return 1
    if not args.quiet:
        total_items = 0
        total_errors = 0
        for ex in exercises:
            n_err = sum(len(i.marks) for i in ex.items)
            n_words = [i.word_count for i in ex.items]
            total_items += len(ex.items)
            total_errors += n_err
            print(f"{ex.folder:<24} {len(ex.items):3} items, {n_err:4} "
                  f"errors, {min(n_words)}-{max(n_words)} words per item")
        punct = sum(1 for w in words if bare(w) != w.lower())
        print(f"{len(exercises)} exercises, {total_items} items, "
              f"{total_errors} errors; {len(words)} distinct corrected "
              f"words ({punct} with punctuation attached), "
              f"{len(bare_words)} bare words")
        if args.check:
            print("Generated files are up to date.")
    if args.spell:
        if not hunspell_available():
            print("hunspell or its Spanish dictionaries are missing "
                  "(apt-get install hunspell hunspell-es)", file=sys.stderr)
            return 1
        problems = content_problems(exercises, homophones, [], names,
                                    hunspell_dictionaries())
        for p in problems:
            print(f"spelling: {p}", file=sys.stderr)
        if problems:
            return 1
        if not args.quiet:
            print("Spelling: every word is known or listed.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
