#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of the fuzz targets into corpus/<target>/.

The seeds are small: real exercise items from assets/Ejercicios, line ends of
every kind, Windows-1252 and UTF-8 bytes, empty texts, NULs and the characters
a text box treats specially. Run it again after changing it; libFuzzer adds
its own findings beside these files when it runs on the folder.
"""

from pathlib import Path

HERE = Path(__file__).resolve().parent
ASSETS = HERE.parent.parent / "assets" / "Ejercicios"
SOURCES = HERE.parent.parent / "tools" / "content" / "exercises"
SEP = b"\x1e"


def item(exercise, number):
    folder = ASSETS / exercise
    return ((folder / "incorrecto" / f"{number}.txt").read_bytes(),
            (folder / "correcto" / f"{number}.txt").read_bytes())


def shown_words(raw):
    """The word positions and their offsets in the shown text (as the
    program builds it), for Windows-1252 or UTF-8 bytes of plain Spanish."""
    try:
        text = raw.decode("utf-8") if any(b >= 0x80 for b in raw) else raw.decode("ascii")
    except UnicodeDecodeError:
        text = raw.decode("cp1252")
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    words, offset = [], 0
    for line in lines:
        for word in line.split(" "):
            words.append((word, offset))
            offset += len(word) + 1
        offset += 1  # the line feed after the line's closing space
    return words


def caret(offset):
    return b"c" + bytes([offset & 0xFF, offset >> 8])


def correcting_actions(faulty, correct):
    """Click inside every faulty word and put the right word in: the last one
    completes the text."""
    actions = b""
    for (bad, offset), (good, _) in zip(shown_words(faulty), shown_words(correct)):
        if bad != good:
            actions += caret(offset + min(1, len(bad))) + b"r"
    return actions


def typed(text):
    raw = text.encode("cp1252")
    return b"k" + bytes([len(raw)]) + raw


def textfile_seeds():
    seeds = {}
    for exercise, number in [("01 A y a", 1), ("10 B y V", 1), ("05 LL e Y", 3),
                             ("16 Tildes", 2),
                             ("18 Repaso", 12)]:
        faulty, correct = item(exercise, number)
        seeds[f"exercise-{exercise[:2]}-{number}-faulty"] = faulty
        seeds[f"exercise-{exercise[:2]}-{number}-correct"] = correct
    seeds.update({
        "empty": b"",
        "one-letter": b"a",
        "crlf": b"Mi perro come\r\nEs m\xedo\r\n",
        "lf": b"Mi perro come\nEs m\xedo\n",
        "cr": b"Mi perro come\rEs m\xedo\r",
        "mixed-ends": b"uno\r\ndos\nTres\rcuatro\r\r\n\n\rcinco",
        "no-final-end": b"sin final de l\xednea",
        "only-ends": b"\r\n\r\n\n\r",
        "spaces": b"  dos  espacios \r\n \r\n   ",
        "tabs": b"con\ttab\r\n\tal principio\r\n",
        "cp1252-high": b"\x80 \x93comillas\x94 \x85 \x96 \x97 \x99\r\n",
        "cp1252-undefined": b"\x81\x8d\x8f\x90\x9d \xa0\xff\r\n",
        "cp1252-spanish": b"\xbfQu\xe9 ni\xf1o? \xa1Ay! ping\xfcino\r\n",
        "utf8-spanish": "¿Qué niño? ¡Ay! pingüino\r\n".encode("utf-8"),
        "utf8-bom": b"\xef\xbb\xbf" + "Año nuevo\r\n".encode("utf-8"),
        "utf8-bom-only": b"\xef\xbb\xbf",
        "utf8-bom-invalid": b"\xef\xbb\xbfmal \xff\xfe byte\r\n",
        "utf8-double-bom": b"\xef\xbb\xbf\xef\xbb\xbfdos\r\n",
        "utf8-emoji": "perro 🐕 gato 🐈\n".encode("utf-8"),
        "utf8-truncated": b"corta\xc3",
        "utf8-overlong": b"larga \xc0\xaf \xe0\x80\xaf\n",
        "utf8-surrogate": b"mitad \xed\xa0\x80 \xed\xbf\xbf\n",
        "utf8-and-cp1252": "niño".encode("utf-8") + b" ni\xf1o\n",
        "nuls": b"a\x00b c\x00\r\n\x00\x00\x00",
        "nbsp-cp1252": b"100\xa0km de\xa0casa\r\n",
        "nbsp-utf8": "100\u00a0km de\u00a0casa\r\n".encode("utf-8"),
        "separators-utf8": "línea\u2028dentro párrafo\u2029dentro\r\n".encode("utf-8"),
        "noncharacters-utf8": "marco\ufdd0dentro \ufdd1fin\ufffe\n".encode("utf-8"),
        "controls": bytes(range(0, 32)) + b" \x7f\r\n",
        "longest-word": b"una " + b"a" * 1000 + b" palabra\r\n",
        "word-too-long": b"una " + b"a" * 1001 + b" palabra\r\n",
    })
    return seeds


def pickjudge_seeds():
    seeds = {}
    for exercise, number in [("01 A y a", 1), ("10 B y V", 1),
                             ("16 Tildes", 2)]:
        faulty, correct = item(exercise, number)
        seeds[f"exercise-{exercise[:2]}-{number}-complete"] = (
            faulty + SEP + correct + SEP + correcting_actions(faulty, correct))
    faulty, correct = item("05 LL e Y", 3)
    # A wrong word, a word put back, a click past the end, a reload.
    seeds["exercise-05-3-wrong-then-reload"] = (
        faulty + SEP + correct + SEP + caret(3) + typed("x") + caret(3) + typed("\b") + caret(0xFFFF) + b"r"
        + b"p" + caret(5) + b"r")

    small = b"Mi perro come\r\nEs m\xedo\r\n" + SEP + b"Mi perro corre\r\nEs m\xedo\r\n" + SEP
    # The carets of the small example, one after another.
    seeds["small-every-caret"] = small + b"".join(caret(c) for c in [5, 3, 8, 0, 16, 22, 23, 14, 13, 2, 9])
    seeds["small-correct"] = small + caret(10) + b"r"
    seeds["small-typing"] = small + caret(10) + typed("\b\b\b\brre") + caret(10) + typed("\bx\b")
    seeds["small-blue-then-click"] = small + caret(10) + b"r" + caret(11) + typed("\b") + caret(12)
    seeds["small-next-item"] = small + caret(20) + b"n" + caret(1) + b"r" + b"p" + caret(12) + b"r" + b"e"
    seeds["small-past-last-item"] = small + b"nnn" + caret(4) + b"pp" + caret(4)
    seeds["line-feed-click"] = b"uno dos\ntres\n" + SEP + b"uno dos\ntres\n" + SEP + caret(8) + caret(9) + b"r"
    seeds["cr-lines"] = b"a b\rc\rd e\r" + SEP + b"a B\rC\rd E\r" + SEP + caret(2) + b"r" + caret(5) + b"r" \
        + caret(9) + b"r" + caret(7) + b"r"
    seeds["empty-word"] = b"uno  dos\r\n" + SEP + b"uno tres dos\r\n" + SEP + caret(4) + b"r"
    seeds["empty-correct-word"] = b"uno x dos\r\n" + SEP + b"uno  dos\r\n" + SEP + caret(4) + b"r" + caret(4) \
        + typed("\b")
    seeds["one-letter"] = b"a" + SEP + b"b" + SEP + caret(0) + b"r" + caret(1) + caret(2)
    seeds["empty"] = b"" + SEP + b"" + SEP + caret(0) + typed("a")
    seeds["different-counts"] = b"uno dos\r\n" + SEP + b"uno\r\n" + SEP + caret(1) + b"r" + b"n" + caret(1) + b"r"
    seeds["only-faulty"] = b"sin correcto\r\n"
    seeds["only-faulty-and-correct"] = b"sin accione\r\n" + SEP + b"sin acciones\r\n"
    seeds["nuls"] = b"a\x00b c\r\n" + SEP + b"a\x00b d\r\n" + SEP + caret(4) + b"r" + caret(1) + typed("\x00")
    seeds["spaces-typed"] = b"hola mundo\r\n" + SEP + b"hola mundos\r\n" + SEP + caret(6) + typed("s \t") \
        + b"r"
    seeds["nbsp"] = b"100\xa0km de\xa0casa\r\n" + SEP + b"100\xa0km de\xa0caza\r\n" + SEP + caret(8) + caret(12) \
        + b"r"
    seeds["utf8-separators"] = ("a\u2029b c\r\n".encode("utf-8") + SEP + "a\u2029b d\r\n".encode("utf-8") + SEP
                                + caret(0) + caret(2) + b"r" + caret(4) + b"r")
    seeds["utf8-noncharacters"] = ("x\ufdd0y z\n".encode("utf-8") + SEP + "x\ufdd0y w\n".encode("utf-8") + SEP
                                   + caret(1) + caret(4) + b"r")
    seeds["long-line"] = b" ".join(b"palabra%d" % i for i in range(300)) + SEP \
        + b" ".join(b"palabra%d" % i for i in range(299)) + b" fin" + SEP + caret(2900) + b"r" + caret(0xFFFF) + b"r"
    return seeds


def source_items(pattern):
    """The annotated items of the exercise source whose name matches
    `pattern` (the numbers in front change), as a teacher writes them."""
    items, current = [], None
    for line in sorted(SOURCES.glob(pattern))[0].read_text("utf-8").splitlines():
        if line.startswith("== "):
            current = []
            items.append(current)
        elif current is not None:
            current.append(line)
    return ["\n".join(item).strip("\n") + "\n" for item in items]


def notation_seeds():
    """Two bytes (the families: 0-8 one family, 9 every one; the count and
    seed), then a teacher's text in the {correcto|falta} notation."""
    seeds = {}
    for label, family in [("mayusculas", 8), ("b_y_v", 0), ("la_h", 1), ("tildes", 7)]:
        for n, text in enumerate(source_items(f"*_{label}.txt")[:2], 1):
            seeds[f"source-{label}-{n}"] = bytes([family, 3]) + text.encode("utf-8")
    text = source_items("*_b_y_v.txt")[0]
    seeds["source-b_y_v-1-cp1252-crlf"] = bytes([9, 5]) + text.replace("\n", "\r\n").encode("cp1252")
    seeds.update({
        "no-marks-every-family": bytes([9, 7]) + "Mi abuela vive en el campo con un burro y una vaca.\n".encode("utf-8"),
        "bom-inside-a-mark": bytes([0, 1]) + "Una {\ufeffvaca|vaca} come.\n".encode("utf-8"),
        "boms-at-the-start": bytes([0, 1]) + "\ufeff\ufeffUna {vaca|baca} bebe.\n".encode("utf-8"),
        "utf8-bom-file": bytes([1, 2]) + b"\xef\xbb\xbf" + "Hoy {hace|ace} sol y hay hielo.\n".encode("utf-8"),
        "nested": bytes([0, 0]) + b"{va{ca|ba}|x}\n",
        "unclosed": bytes([0, 0]) + b"una {vaca|baca\n",
        "stray-bar": bytes([0, 0]) + b"una | vaca\n",
        "two-bars": bytes([0, 0]) + b"{a|b|c}\n",
        "space-in-mark": bytes([0, 0]) + b"{a ver|haber}\n",
        "same-forms": bytes([0, 0]) + b"{vaca|vaca}\n",
        "empty-faulty": bytes([0, 0]) + b"una {y|} dos\n",
        "two-in-a-word": bytes([0, 0]) + b"{b|v}e{b|v}e\n",
        "part-of-a-word": bytes([1, 1]) + b"{h|}ormiga y hielo\n",
        "empty": bytes([0, 0]),
        "only-ends": bytes([0, 2]) + b"\r\n\n\r",
        "double-spaces": bytes([9, 2]) + b"uno  {dos|dox}   vive  bebe \n",
        "long-word-of-bs": bytes([0, 3]) + b"{vaca|baca} " + b"ab" * 500 + b" " + b"ba" * 500 + b"\n",
        "word-over-the-limit": bytes([0, 1]) + b"{vaca|baca} " + b"b" * 1001 + b"\n",
        "controls": bytes([9, 1]) + b"{vaca|baca}\x07 \x1b bebe\n",
        "tildes-and-capitals": bytes([7, 4]) + "Árbol, camión, lápiz, Ávila y María están aquí.\n".encode("utf-8"),
        "separators": bytes([9, 2]) + "una vaca\u2029{bebe|vebe} agua\u2028fría\n".encode("utf-8"),
    })
    return seeds


def journal(steps, done=b"0"):
    return b"miravellon-renumerando 1\n" + done + b"\n" + b"".join(a + b"\t" + b + b"\n" for a, b in steps)


def journal_seeds():
    """Journals the editor writes (deleting an item, swapping two, each part
    way through) and journals planted or spoilt."""
    delete_first = [(b"correcto/1.txt", b"correcto/.miravellon-borrado-1.txt"),
                    (b"incorrecto/1.txt", b"incorrecto/.miravellon-borrado-1.txt"),
                    (b"correcto/2.txt", b"correcto/1.txt"), (b"incorrecto/2.txt", b"incorrecto/1.txt"),
                    (b"correcto/.miravellon-borrado-1.txt", b""), (b"incorrecto/.miravellon-borrado-1.txt", b"")]
    swap = [(b"correcto/1.txt", b"correcto/.miravellon-moviendo.txt"), (b"correcto/2.txt", b"correcto/1.txt"),
            (b"correcto/.miravellon-moviendo.txt", b"correcto/2.txt"),
            (b"incorrecto/1.txt", b"incorrecto/.miravellon-moviendo.txt"), (b"incorrecto/2.txt", b"incorrecto/1.txt"),
            (b"incorrecto/.miravellon-moviendo.txt", b"incorrecto/2.txt")]
    return {
        "delete-first-not-started": journal(delete_first),
        "delete-first-half-done": journal(delete_first, b"3"),
        "delete-first-all-done": journal(delete_first, b"6"),
        "swap-first-two": journal(swap, b"1"),
        "letter-case-as-found": journal([(b"correcto/2.TXT", b"correcto/1.txt")]),
        "negative-count-27-bytes": b"miravellon-renumerando 1\n-1",
        "count-past-the-steps": journal(swap, b"7"),
        "count-past-an-int": journal(swap, b"99999999999999999999"),
        "count-with-sign": journal(swap, b"+2"),
        "up-and-out": journal([(b"correcto/1.txt", b"../../casa/renombrado.txt"), (b"../../casa/carta.txt", b"")]),
        "absolute": journal([(b"/etc/passwd", b""), (b"correcto/1.txt", b"/tmp/x.txt")]),
        "dots-inside": journal([(b"correcto/../correcto/1.txt", b"correcto/3.txt")]),
        "across-versions": journal([(b"correcto/1.txt", b"incorrecto/7.txt")]),
        "foreign-names": journal([(b"correcto/notas.odt", b""), (b"correcto/1.txt", b"correcto/.bashrc")]),
        "zero-item": journal([(b"correcto/0.txt", b"correcto/01.txt")]),
        "ten-digit-item": journal([(b"correcto/1234567890.txt", b"correcto/1.txt")]),
        "crlf": journal(swap).replace(b"\n", b"\r\n"),
        "no-tab": b"miravellon-renumerando 1\n0\ncorrecto/1.txt correcto/2.txt\n",
        "three-fields": b"miravellon-renumerando 1\n0\na\tb\tc\n",
        "empty-from": b"miravellon-renumerando 1\n0\n\tcorrecto/1.txt\n",
        "other-header": b"miravellon-renumerando 2\n0\n",
        "header-only": b"miravellon-renumerando 1\n",
        "empty": b"",
        "not-utf8": b"miravellon-renumerando 1\n0\ncorrecto/\xff.txt\t\n",
        "nul": b"miravellon-renumerando 1\n0\ncorrecto/1.txt\x00\tcorrecto/2.txt\n",
    }


def resultsrows_seeds():
    """Results files as the pupil's program writes them, of both formats, and
    as they come back from copies, spreadsheets and cut writes; the fields
    after the first \\x1e are those of a row to write."""
    bom = b"\xef\xbb\xbf"
    short = (b"fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;"
             b"palabras_con_fallo;ayuda;fallos")
    header = short + b";escrito;familias;acertadas"
    row = "2026-03-09;10:05:07;María López;06 B y V (3.º y 4.º);2;sí;sí;95;3;2;no;vaca burro,;baca -;b/v otra;Madrid"
    old = "2026-03-09;10:05:07;Ana;\"07 \"\"Comillas\"\"; rayas\";1;no;no;9;0;1;no;«Hola»;"
    seeds = {
        "new-format": bom + header + b"\r\n" + row.encode() + b"\r\n",
        "old-format": bom + short + b"\r\n" + old.encode() + b"\r\n",
        "both-formats-cut": bom + header + b"\r\n" + row.encode() + b"\r\n" + old.encode()[:30],
        "cr-cr-lf": bom + header + b"\r\r\n" + row.encode() + b"\r\r\n",
        "windows-1252": short + b"\r\n" + old.encode("cp1252", "replace") + b"\r\n",
        "tab-in-a-word": bom + header + b"\r\n" + row.replace("vaca", "va\tca").encode() + b"\r\n",
        "not-finished-in-time": bom + header + b"\r\n" + row.replace(";sí;sí;", ";no;sí;").encode() + b"\r\n",
        "mismatched-details": bom + header + b"\r\n" + row.replace("baca -", "baca").encode() + b"\r\n",
        "line-feeds": b"\n" * 200,
        "empty": b"",
        "row-fields": (b"\x05\x03\x09\x0a\x05\x07\x00\x00\x03\x80\x02\x05\x1e=Jose\xcc\x81 \tL\xc3\xb3pez"
                       b"\x1e01;\"Animales\"\r\n\x1eperro \x07 m\xc3\xado\x1epero\x1eotra r/rr tilde\x1esol\tluna"),
        "row-long-name": b"\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x1e" + b"a" * 99
                         + "😀".encode() + b"\x1eej\x1e\x1e\x1e\x1e",
    }
    return seeds


def write(target, seeds):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


if __name__ == "__main__":
    write("textfile", textfile_seeds())
    write("pickjudge", pickjudge_seeds())
    write("notation", notation_seeds())
    write("journal", journal_seeds())
    write("resultsrows", resultsrows_seeds())
