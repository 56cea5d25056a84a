# SPDX-License-Identifier: GPL-3.0-or-later
"""The rules a shipped exercise follows beyond building at all.

build_exercises.py refuses an item that cannot be written; these rules
judge whether a text that can be written is one to ship:

- its length suits the school years its folder number tells (01-09 for
  1.º and 2.º, 10-19 for 3.º and 4.º, 20-29 for 5.º and 6.º);
- its misspellings rise from the first text of the exercise to the last,
  and never exceed one word in eight;
- no word of the deny list (Spain-only or vulgar words) appears;
- no misspelt word stands beside an unmarked word of its own family that
  shows the letter in question (vallena beside ballenas, bez beside veces);
- every misspelling is one children make (no j for g before a, o or u, no
  qu for cu, no tilde where the natural stress needs none, no B for V at
  the start of a name, no final -z written -d);
- today's finished events are told in the simple past.

Each finding names its exercise, so that an exercise can be reworked to
these rules while the others wait: the exercises listed in revisados.txt
must have none (build_exercises.py refuses to build otherwise); for the
others they are reported.
"""

import re

# Words per text, by school years.
LENGTHS = {1: (35, 60), 2: (70, 110), 3: (100, 160)}
LEVEL_NAMES = {1: "1.º y 2.º", 2: "3.º y 4.º", 3: "5.º y 6.º"}
# At most one misspelling in this many words.
WORDS_PER_ERROR = 8
# The last text of an exercise has at least this many more misspellings than
# the first.
MIN_RISE = 2
# A word shares its family with a misspelt one when both start with the same
# letters, through the misspelt letter and at least this many in all.
MIN_STEM = 3

VOWELS = "aeiouáéíóúü"
STRONG = "aeoáéóíú"    # an accented i or u breaks a diphthong
ACCENTED = {"á": "a", "é": "e", "í": "i", "ó": "o", "ú": "u"}
# One-syllable words children do write with a tilde: some once had it
# (fue, dio), some have a twin that has it (tu, tú) or seem to (ti, mí).
TILDE_SLIPS = {"fue", "fui", "dio", "vio", "ti", "tu", "mi", "el", "si", "se",
               "te", "de", "mas", "que", "quien", "cual", "aun"}


def school_level(folder):
    """1, 2 or 3 for the school years a shipped folder number tells; None
    for any other name (a teacher's own exercise)."""
    m = re.match(r"^([0-9]{2}) ", folder)
    if not m:
        return None
    n = int(m.group(1))
    if 1 <= n <= 9:
        return 1
    if 10 <= n <= 19:
        return 2
    if 20 <= n <= 29:
        return 3
    return None


def bare(word):
    start, end = 0, len(word)
    while start < end and not word[start].isalnum():
        start += 1
    while end > start and not word[end - 1].isalnum():
        end -= 1
    return word[start:end]


def syllable_nuclei(word):
    """Index spans of the vowel groups of a lower-case word, each one
    syllable: strong vowels side by side, or an accented i or u, split."""
    spans = []
    i = 0
    while i < len(word):
        if word[i] in VOWELS and not (word[i] == "u" and i > 0 and word[i - 1] in "qg"
                                      and i + 1 < len(word) and word[i + 1] in "eéií"):
            j = i + 1
            while j < len(word) and word[j] in VOWELS and not (
                    word[j - 1] in STRONG and word[j] in STRONG):
                j += 1
            spans.append((i, j))
            i = j
        else:
            i += 1
    return spans


def unnatural(correct, faulty, capital_inside_sentence=False):
    """Why the misspelling correct -> faulty is not one children make, or
    None. capital_inside_sentence says the correct word has a capital that
    no sentence start explains (a name)."""
    c, f = bare(correct), bare(faulty)
    cl, fl = c.lower(), f.lower()
    if len(cl) == len(fl):
        for i, (a, b) in enumerate(zip(cl, fl)):
            if a == b:
                continue
            after = cl[i + 1:i + 2]
            if {a, b} == {"g", "j"} and after and after not in "eéií":
                return (f"{b} for {a} before {after!r}: g and j only sound "
                        "alike before e and i")
            if a == "c" and b == "q" and after == "u":
                return "qu for cu: no child writes it"
            if a == "c" and b == "k" and after and after in "eéií":
                return f"k for c before {after!r} changes the sound"
            if a == "z" and b == "c" and after and after not in "eéií":
                return f"c for z before {after!r} changes the sound"
            if b in ACCENTED and ACCENTED[b] == a:
                nuclei = syllable_nuclei(fl)
                k = next((n for n, (s, e) in enumerate(nuclei) if s <= i < e), None)
                if len(nuclei) == 1 and cl not in TILDE_SLIPS:
                    return "a tilde on a word of one syllable"
                if (k is not None and len(nuclei) >= 2 and k == len(nuclei) - 2
                        and cl[-1:] in "aeiouns"):
                    return ("a tilde where the natural stress needs none "
                            f"({f})")
            if i == 0 and {a, b} == {"b", "v"} and c[:1].isupper() \
                    and capital_inside_sentence:
                return "B for V (or V for B) at the start of a name"
    if cl.endswith("z") and fl == cl[:-1] + "d":
        return "final -z written -d: only some speakers of Spain make it"
    return None


def strip_tildes(word):
    return "".join(ACCENTED.get(ch, ch) for ch in word)


def stem_forms(word):
    """The forms of a lower-case word compared for a shared stem, each with
    whether it undoes a diphthong: as written, with the tildes off, with c
    before e or i written z (veces, vez), and with ue and ie back to o and e
    (llueve, llover)."""
    forms = {word, strip_tildes(word)}
    forms |= {re.sub(r"c(?=[eéií])", "z", w) for w in forms}
    result = {(w, False) for w in forms}
    result |= {(w.replace("ue", "o").replace("ie", "e"), True) for w in forms
               if "ue" in w or "ie" in w}
    return result


def common_prefix(a, b):
    n = 0
    while n < len(a) and n < len(b) and a[n] == b[n]:
        n += 1
    return n


def shows_the_answer(correct, faulty, other):
    """Whether the unmarked word other shares a stem with correct through
    the letters that faulty gets wrong, and so shows them."""
    c, f, o = bare(correct).lower(), bare(faulty).lower(), bare(other).lower()
    # Short words (que, con, los) are too common to tell a child anything.
    if not c or len(o) <= MIN_STEM or o == c or o == f:
        return False
    # The end of the span of the correct word that the misspelling changes.
    suffix = 0
    while suffix < min(len(c), len(f)) and c[-1 - suffix] == f[-1 - suffix]:
        suffix += 1
    end = max(len(c) - suffix, common_prefix(c, f) + 1)
    if c[end - 1:end] == "m" and end < len(c):
        end += 1    # m is a question of the letter after it (campo, cama)
    if strip_tildes(c) == strip_tildes(f):
        # A tilde follows the stress of the word itself, which its family
        # does not share (limones, limonada).
        return False
    for a, undone_a in stem_forms(c):
        need = max(end - (len(c) - len(a)), MIN_STEM)
        for b, undone_b in stem_forms(o):
            # A stem found only by undoing ue or ie needs one letter more
            # (llueve, llover; not siempre, semana).
            if common_prefix(a, b) >= need + (undone_a or undone_b):
                return True
    return False


# Words an ending of the deny list would catch that are no vosotros form:
# the numbers that end like one (dieciséis, like sabéis).
NOT_DENIED = {"dieciséis", "veintiséis"}


def denied(word, deny):
    """The deny-list entry that word matches, or None. An entry ending in
    '*' matches every word that starts with it; an entry of several words
    is matched by the caller against the text."""
    w = bare(word).lower()
    if w in NOT_DENIED:
        return None
    for entry in deny:
        e = entry.lower()
        if " " in e:
            continue
        if e.endswith("*") and w.startswith(e[:-1]) or w == e:
            return entry
        if e.startswith("*") and len(w) > len(e) and w.endswith(e[1:]):
            return entry
    return None


def denied_phrases(text, deny):
    """The deny-list entries of several words that the text holds."""
    words = re.findall(r"\w+", text.lower())
    joined = " " + " ".join(words) + " "
    found = []
    for entry in deny:
        e = entry.lower()
        if " " not in e:
            continue
        if e.endswith("*"):
            hit = (" " + e[:-1]) in joined
        else:
            hit = (" " + e + " ") in joined
        if hit:
            found.append(entry)
    return found


# A finished event of today told in the present perfect ("Hoy hemos ido"):
# usual in Spain, foreign in Mexico, where the simple past ("Hoy fuimos")
# is what both read as their own.
TODAY = r"(?:hoy|esta mañana|esta tarde|esta noche|este mediodía)"
PERFECT = r"(?:he|has|ha|hemos|han)\s+(?:\w*ado|\w*ido|visto|hecho|dicho|puesto|vuelto|escrito|roto|abierto)"
PERFECT_TODAY_RE = re.compile(
    rf"\b{TODAY}\b[^.!?]*?\b{PERFECT}\b|\b{PERFECT}\b[^.!?]*?\b{TODAY}\b",
    re.IGNORECASE)


def perfect_today(text):
    """The first phrase of text that tells today's finished event in the
    present perfect, or None."""
    m = PERFECT_TODAY_RE.search(text)
    return m.group(0) if m else None


def sentence_starts(words):
    return {k for k, w in enumerate(words)
            if k == 0 or words[k - 1][-1:] in ".!?…:»" or w[:1] in "—¡¿«"}


def item_findings(item, deny, families):
    """What an item breaks of the rules that do not depend on its
    neighbours."""
    findings = []
    words = " ".join(item.correct_lines).split(" ")
    faulty_words = " ".join(item.faulty_lines).split(" ")
    starts = sentence_starts(words)
    for word in dict.fromkeys(words + faulty_words):
        entry = denied(word, deny)
        if entry:
            findings.append(f"{word!r} is on the deny list ({entry})")
    for entry in denied_phrases(" ".join(item.correct_lines), deny):
        findings.append(f"{entry!r} is on the deny list")
    phrase = perfect_today(" ".join(item.correct_lines))
    if phrase:
        findings.append(f"{phrase!r}: tell today's finished events in the simple "
                        "past (hoy fuimos, not hoy hemos ido)")
    marked = {m.word_index for m in item.marks}
    for mark in item.marks:
        reason = unnatural(mark.correct_word, mark.faulty_word,
                           mark.word_index not in starts)
        if reason:
            findings.append(f"{mark.correct_word!r} -> {mark.faulty_word!r}: {reason}")
        if set(families) <= {"mayusculas", "signos"}:
            continue
        for k, w in enumerate(words):
            if k not in marked and shows_the_answer(mark.correct_word,
                                                    mark.faulty_word, w):
                findings.append(f"{mark.faulty_word!r} (for {mark.correct_word!r}) "
                                f"stands beside {bare(w)!r}, of its own family, "
                                "which shows the answer")
                break
    return findings


def exercise_findings(exercise, deny):
    """Every finding of the rules in an exercise, each as
    "<folder>/<n>: <what>" or "<folder>: <what>"."""
    findings = []
    level = school_level(exercise.folder)
    counts = []
    for n, item in enumerate(exercise.items, start=1):
        where = f"{exercise.folder}/{n}"
        errors = len(item.marks)
        counts.append(errors)
        if level:
            low, high = LENGTHS[level]
            if not low <= item.word_count <= high:
                findings.append(f"{where}: {item.word_count} words; a text "
                                f"for {LEVEL_NAMES[level]} has {low} to {high}")
        if errors * WORDS_PER_ERROR > item.word_count:
            findings.append(f"{where}: {errors} misspellings in "
                            f"{item.word_count} words; at most one word in "
                            f"{WORDS_PER_ERROR}")
        for f in item_findings(item, deny, exercise.families):
            findings.append(f"{where}: {f}")
    for n in range(1, len(counts)):
        if counts[n] < counts[n - 1]:
            findings.append(f"{exercise.folder}/{n + 1}: {counts[n]} misspellings "
                            f"after {counts[n - 1]} in text {n}; they rise from "
                            "the first text to the last")
    if len(counts) >= 2 and counts[-1] - counts[0] < MIN_RISE:
        findings.append(f"{exercise.folder}: {counts[0]} misspellings in the "
                        f"first text and {counts[-1]} in the last; the last "
                        f"needs {MIN_RISE} more at least")
    return findings


def is_reworked(folder, reworked):
    """Whether the folder is held to the rules: every folder when there is
    no list (a teacher's exercises, a test's), else the listed ones."""
    return reworked is None or folder in reworked


