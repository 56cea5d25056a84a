#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests for the exercise generator and for the exercise files it produced.

Run with:  /usr/bin/python3 -m unittest discover -s tools/content -v
Only the Python standard library is used.
"""

import contextlib
import io
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import build_exercises  # noqa: E402
import exercise_rules  # noqa: E402

ASSETS = HERE.parent.parent / "assets" / "Ejercicios"


def run(*args):
    """Runs the generator, returning (exit code, stdout, stderr)."""
    out = io.StringIO()
    err = io.StringIO()
    with contextlib.redirect_stdout(out), contextlib.redirect_stderr(err):
        code = build_exercises.main(list(args))
    return code, out.getvalue(), err.getvalue()


GOOD_ITEM = (
    "== Prueba\n"
    "En la granja vive una {vaca|baca} muy tranquila que come hierba\n"
    "todo el día. A su lado duerme un {burro|vurro} gris y un\n"
    "{caballo|cavallo} blanco. Por la tarde, los tres pasean juntos hasta\n"
    "el río y vuelven a casa cuando se pone el sol.\n"
)


class SourceCase(unittest.TestCase):
    """Builds one source in a temporary folder and runs the generator."""

    def build(self, body, header="carpeta: 01 Prueba\nfamilia: b-v\n\n"):
        self.tmp = tempfile.TemporaryDirectory()
        root = Path(self.tmp.name)
        (root / "src").mkdir()
        (root / "src" / "prueba.txt").write_text(header + body, encoding="utf-8")
        self.out = root / "out"
        self.lists = root / "lists"
        self.lists.mkdir()
        return run("--sources", str(root / "src"), "--output", str(self.out),
                   "--lists", str(self.lists), "-q")

    def tearDown(self):
        if hasattr(self, "tmp"):
            self.tmp.cleanup()

    def assertRefused(self, body, fragment):
        code, _, err = self.build(body)
        self.assertNotEqual(code, 0, err)
        self.assertIn(fragment, err)
        self.assertFalse(self.out.exists(), "nothing may be written")


class GeneratorTest(SourceCase):
    def test_good_item_is_written(self):
        code, _, err = self.build(GOOD_ITEM)
        self.assertEqual(code, 0, err)
        good = (self.out / "01 Prueba" / "correcto" / "1.txt").read_bytes()
        bad = (self.out / "01 Prueba" / "incorrecto" / "1.txt").read_bytes()
        self.assertIn(b"vaca", good)
        self.assertIn(b"baca", bad)
        self.assertTrue(good.endswith(b"\r\n"))
        words = (self.lists / "corrected_words.txt").read_text("utf-8").split()
        self.assertEqual(words, ["burro", "caballo", "vaca"])

    def test_punctuation_kept_in_list_and_stripped_in_bare_list(self):
        body = GOOD_ITEM.replace("{caballo|cavallo} blanco.", "{Caballo|Cavallo}.")
        code, _, err = self.build(body)
        self.assertEqual(code, 0, err)
        words = (self.lists / "corrected_words.txt").read_text("utf-8").split()
        bare = (self.lists / "corrected_words_bare.txt").read_text("utf-8").split()
        self.assertIn("Caballo.", words)
        self.assertEqual(bare, ["burro", "caballo", "vaca"])

    def test_space_inside_mark_is_refused(self):
        self.assertRefused(GOOD_ITEM.replace("{vaca|baca}", "{vaca|ba ca}"),
                           "contains a space")

    def test_mark_that_removes_a_word_is_refused(self):
        self.assertRefused(GOOD_ITEM.replace("{vaca|baca}", "{vaca|}"),
                           "empty word")

    def test_too_few_errors_is_refused(self):
        body = GOOD_ITEM.replace("{burro|vurro}", "burro")
        self.assertRefused(body, "2 errors")

    def test_too_many_errors_is_refused(self):
        body = GOOD_ITEM.replace(
            "cuando se pone el sol.",
            " ".join("{vuelven|buelven}" for _ in range(7)) + ".")
        self.assertRefused(body, "10 errors")

    def test_too_few_words_is_refused(self):
        body = ("== Corto\n"
                "Una {vaca|baca}, un {burro|vurro} y un {caballo|cavallo}.\n")
        self.assertRefused(body, "words; an item needs 30 to 160")

    def test_too_many_words_is_refused(self):
        body = GOOD_ITEM + ("Y otra vez la misma historia del campo. " * 20) + "\n"
        self.assertRefused(body, "words; an item needs 30 to 160")

    def test_character_outside_windows_1252_is_refused(self):
        body = GOOD_ITEM.replace("tranquila", "tranquila \u2603")
        self.assertRefused(body, "Windows-1252")

    def test_tab_and_double_space_are_refused(self):
        self.assertRefused(GOOD_ITEM.replace("muy tranquila", "muy\ttranquila"),
                           "tab")
        self.tearDown()
        self.assertRefused(GOOD_ITEM.replace("muy tranquila", "muy  tranquila"),
                           "double space")

    def test_unbalanced_mark_is_refused(self):
        self.assertRefused(GOOD_ITEM.replace("{vaca|baca}", "{vaca|baca"),
                           "stray")

    def test_two_marks_in_one_word_are_refused(self):
        self.assertRefused(GOOD_ITEM.replace("{vaca|baca}", "{v|b}a{c|k}a"),
                           "two marks")

    def test_check_reports_stale_files(self):
        code, _, err = self.build(GOOD_ITEM)
        self.assertEqual(code, 0, err)
        extra = self.out / "01 Prueba" / "correcto" / "7.txt"
        extra.write_bytes(b"x\r\n")
        code, _, err = run("--sources", str(Path(self.tmp.name) / "src"),
                           "--output", str(self.out), "--lists",
                           str(self.lists), "--check", "-q")
        self.assertNotEqual(code, 0)
        self.assertIn("left over", err)


class FamilyTest(unittest.TestCase):
    """Each misspelling must be one error of its exercise's family."""

    CASES = [
        # family, correct, faulty, belongs
        ("b-v", "vaca", "baca", True),
        ("b-v", "Vaca,", "Baca,", True),
        ("b-v", "Vaca", "baca", False),          # a capital lost as well
        ("b-v", "vaca.", "baca", False),         # punctuation changed as well
        ("h", "hacia", "acia", True),
        ("h", "hacia", "asia", False),           # h and c/s at once
        ("h", "Ahí", "Ai", False),               # h and the tilde at once
        ("h", "hielo", "yelo", False),           # that is ll/y, not h
        ("r-rr", "perro", "pero", True),
        ("r-rr", "ratón", "rratón", True),
        ("r-rr", "alrededor", "alrrededor", True),
        ("r-rr", "loro", "lorro", False),        # rr for a soft r
        ("c-z-s", "zapato", "sapato", True),
        ("c-z-s", "sopa", "zopa", False),        # s written z
        ("c-z-s", "televisión", "televición", True),
        ("c-z-s", "canción", "cansión", True),
        ("c-z-s", "casa", "caca", False),        # s written c only in -sión
        ("c-qu-k", "queso", "keso", True),
        ("c-qu-k", "cuaderno", "quaderno", True),
        ("ll-y", "rey", "rei", True),
        ("ll-y", "pollo", "poyo", True),
        ("m-n", "campo", "canpo", True),
        ("m-n", "invierno", "imvierno", True),
        ("tildes", "árbol", "arbol", True),
        ("tildes", "Álvaro", "Alvaro", True),
        ("tildes", "fue", "fué", True),
        ("tildes", "árbol", "arból", True),
        ("mayusculas", "Lucía", "lucía", True),
        ("mayusculas", "Lucía", "lucia", False),
        ("signos", "¿Dónde", "Dónde", True),
        ("signos", "—¡Qué", "—Qué", True),
        ("signos", "¿Dónde", "Donde", False),
        ("d-z", "salud.", "salú.", True),
        ("d-z", "césped", "céspe", True),
        ("d-z", "lápiz,", "lápis,", True),
        ("d-z", "peces", "pezes", True),
        ("d-z", "pared", "parez", True),
        ("d-z", "lápiz,", "lápid,", True),
        ("d-z", "dedo", "zedo", False),
        ("hue-hie", "huevo", "güevo", True),
        ("hue-hie", "huésped", "uésped", True),
        ("hue-hie", "óvalo", "hóvalo", True),
        ("hue-hie", "hola", "ola", False),
        ("homofonos", "tú", "tu", True),
        ("homofonos", "vaca", "baca", False),
        ("x-s", "excursión", "escursión", True),
        ("x-s", "espectáculo", "expectáculo", True),
        ("x-s", "excursión", "escursion", False),    # x and the tilde at once
        ("cc-sc", "acción", "ación", True),
        ("cc-sc", "educación", "educacción", True),
        ("cc-sc", "piscina", "pisina", True),
        ("cc-sc", "piscina", "pizina", False),       # sc written z
        ("y-verbos", "leyó", "leió", True),
        ("y-verbos", "huyeron", "hulleron", True),
        ("y-verbos", "leyó", "leyo", False),         # that is a tilde
        ("b-v", "vivían", "bibían", True),
        ("b-v", "escribir", "escrivir", True),
        ("d-z", "verdad", "verdá", True),
        ("d-z", "salud", "salú", True),
        ("d-z", "lápiz", "lápis", True),
        ("d-z", "lápices", "lápizes", True),
        ("d-z", "peces", "peses", True),
        ("d-z", "verdad", "verda", True),
        ("br-bl", "blanco", "branco", True),
        ("br-bl", "brazo", "blazo", True),
        ("br-bl", "pueblo", "puebro", True),
        ("br-bl", "blanco", "planco", False),
        ("c-qu-k", "queso", "qeso", True),
        ("gu-gü", "guitarra", "gitarra", True),
    ]

    def test_cases(self):
        homophones = frozenset({("tú", "tu")})
        for family, good, bad, belongs in self.CASES:
            with self.subTest(family=family, good=good, bad=bad):
                self.assertEqual(build_exercises.fits_family(good, bad, family,
                                                             homophones),
                                 belongs)


class HomophoneListTest(unittest.TestCase):
    """The shipped list of intended homophones: each line a pair of two
    different words, no pair twice (a set would hide a duplicate)."""

    def test_shipped_list(self):
        entries = build_exercises.read_list(build_exercises.HOMOPHONES_FILE)
        pairs = [tuple(e.lower().split()) for e in entries]
        for pair in pairs:
            with self.subTest(pair=pair):
                self.assertEqual(len(pair), 2)
                self.assertNotEqual(pair[0], pair[1])
        self.assertEqual(len(pairs), len(set(pairs)))

    def test_listed_pairs_are_homophones(self):
        pairs = build_exercises.read_homophones(build_exercises.HOMOPHONES_FILE)
        for good, bad in [("ha", "a"), ("tuvo", "tubo"), ("cayó", "calló"),
                          ("calló", "cayó"), ("caza", "casa")]:
            with self.subTest(good=good):
                self.assertTrue(build_exercises.fits_family(
                    good, bad, "homofonos", pairs))
        self.assertFalse(build_exercises.fits_family(
            "tuvo", "tuvó", "homofonos", pairs))


class AnswerInSightTest(SourceCase):
    CASES = [
        # text added to the good item, refused
        ("Al final la vaca duerme.", True),
        ("Al final la Vaca duerme.", True),
        ("Al final la vacada duerme.", False),
        ("Al final la baca duerme.", False),
    ]

    def test_cases(self):
        for extra, refused in self.CASES:
            with self.subTest(extra=extra):
                body = GOOD_ITEM + extra + "\n"
                code, _, err = self.build(body)
                if refused:
                    self.assertNotEqual(code, 0, err)
                    self.assertIn("gives the answer away", err)
                else:
                    self.assertEqual(code, 0, err)
                self.tearDown()

    def test_sentence_start_capital_does_not_give_a_name_away(self):
        body = ("== Prueba\n"
                "El perro de {Lucía|lucía} come mucho. {El|el} gato de "
                "{Marta|marta} duerme todo el día en el sofá, y el perro "
                "lo mira desde la puerta de la cocina sin hacer ruido.\n")
        code, _, err = self.build(body, header="carpeta: 01 Prueba\n"
                                  "familia: mayusculas\n\n")
        self.assertEqual(code, 0, err)


class DenyListTest(unittest.TestCase):
    CASES = [
        ("sabéis", "*éis", True),
        ("seis", "*éis", False),
        ("dieciséis", "*éis", False),
        ("veintiséis.", "*éis", False),
        ("Dieciséis", "*éis", False),
        ("Tarta,", "tarta", True),
        ("tartamudo", "tarta", False),
        ("coger", "coger", True),
        ("cogimos.", "cog*", True),
        ("¡Recogimos!", "cog*", False),
        ("Zumo", "zumo*", True),
        ("jugo", "zumo*", False),
    ]

    def test_cases(self):
        for word, entry, hit in self.CASES:
            with self.subTest(word=word):
                self.assertEqual(build_exercises.denied(word, [entry]) is not None, hit)

    PHRASES = [
        # text, entry, found
        ("Fuimos a por agua al río.", "a por", True),
        ("Fuimos a portar agua.", "a por", False),
        ("¡Lo pasamos bien!", "lo pasamos bien", True),
        ("Echamos de menos al abuelo.", "echamos de menos", True),
        ("Comimos tortilla de patatas.", "tortilla de patata*", True),
        ("Comimos tortillas de maíz.", "tortilla de patata*", False),
    ]

    def test_phrases(self):
        for text, entry, found in self.PHRASES:
            with self.subTest(text=text):
                self.assertEqual(exercise_rules.denied_phrases(text, [entry]) == [entry], found)

    def test_shipped_list_holds_the_spain_only_words(self):
        deny = build_exercises.read_list(build_exercises.DENY_FILE)
        for word in ["tarta", "pipas", "hucha", "pompas", "sanitarios", "comba",
                     "noria", "nevera", "maletero", "azafata", "penaltis",
                     "vosotros", "tenéis", "patatas"]:
            with self.subTest(word=word):
                self.assertIsNotNone(exercise_rules.denied(word, deny))
        for phrase in ["Fuimos a por pan.", "Lo pasamos bien.", "Te echo de menos."]:
            with self.subTest(phrase=phrase):
                self.assertTrue(exercise_rules.denied_phrases(phrase, deny))

    def test_a_denied_word_stops_the_build(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = Path(tmp)
            (root / "src").mkdir()
            (root / "lists").mkdir()
            (root / "lists" / "palabras_prohibidas.txt").write_text("tranquila\n", "utf-8")
            (root / "src" / "p.txt").write_text(
                "carpeta: 01 Prueba\nfamilia: b-v\n\n" + GOOD_ITEM, "utf-8")
            code, _, err = run("--sources", str(root / "src"), "--output",
                               str(root / "out"), "--lists", str(root),
                               "--word-lists", str(root / "lists"), "-q")
            self.assertNotEqual(code, 0)
            self.assertIn("deny list", err)
            self.assertFalse((root / "out").exists())


class ExerciseRulesTest(unittest.TestCase):
    """The rules a shipped text follows beyond building."""

    UNNATURAL = [
        # correct, faulty, a capital inside a sentence, what is wrong
        ("tortuga", "tortuja", False, "before 'a'"),
        ("conejo", "conego", False, "before 'o'"),
        ("jugo", "gugo", False, "before 'u'"),
        ("gente", "jente", False, None),
        ("jirafa", "girafa", False, None),
        ("cuidar", "quidar", False, "qu for cu"),
        ("cuaderno", "quaderno", False, "qu for cu"),
        ("queso", "keso", False, None),
        ("casa", "kasa", False, None),
        ("cielo", "kielo", False, "changes the sound"),
        ("zapato", "capato", False, "changes the sound"),
        ("cielo", "zielo", False, None),
        ("supo", "súpo", False, "natural stress"),
        ("casa", "cása", False, "natural stress"),
        ("examen", "exámen", False, "natural stress"),
        ("sol", "sól", False, "one syllable"),
        ("fue", "fué", False, None),
        ("ti", "tí", False, None),
        ("llego", "llegó", False, None),
        ("arbol", "árbol", False, None),
        ("Vicente", "Bicente", True, "start of a name"),
        ("Vamos", "Bamos", False, None),
        ("vaca", "baca", True, None),
        ("pez", "ped", False, "final -z"),
        ("verdad", "verdá", False, None),
        ("guerra", "gerra", False, None),
    ]

    def test_misspellings_no_child_makes(self):
        for good, bad, inside, fragment in self.UNNATURAL:
            with self.subTest(good=good, bad=bad):
                reason = exercise_rules.unnatural(good, bad, inside)
                if fragment is None:
                    self.assertIsNone(reason)
                else:
                    self.assertIn(fragment, reason or "")

    HINTS = [
        # correct, faulty, an unmarked word of the same text, shows the answer
        ("llueve", "yueve", "llover", True),
        ("ballena", "vallena", "ballenas", True),
        ("vez", "bez", "veces", True),
        ("bicicleta", "vicicleta", "bici", True),
        ("vendrá", "bendrá", "venir", True),
        ("higos", "igos", "higuera", True),
        ("votar", "botar", "votos", True),
        ("barca", "varca", "barco.", True),
        ("perro", "pero", "perrito", True),
        ("campo", "canpo", "campana", True),
        ("campo", "canpo", "cama", False),
        ("queso", "keso", "que", False),
        ("siempre", "sienpre", "semana", False),
        ("torre", "tore", "tortuga", False),
        ("vaca", "baca", "vamos", False),
        ("árbol", "arbol", "árboles", False),      # the tilde follows the stress
        ("vaca", "baca", "vaca", False),           # the same word: answer_key's
    ]

    def test_answer_in_sight(self):
        for good, bad, other, shows in self.HINTS:
            with self.subTest(good=good, other=other):
                self.assertEqual(exercise_rules.shows_the_answer(good, bad, other), shows)

    PERFECT = [
        # text, found
        ("Hoy hemos ido al parque.", True),
        ("Esta mañana se ha subido a la cortina.", True),
        ("Mi hermano ha roto el jarrón hoy.", True),
        ("Hoy fuimos al parque.", False),
        ("Nunca he visto un oso. Hoy vimos uno.", False),
        ("Hoy es martes y ha llovido mucho esta semana.", True),
    ]

    def test_today_in_the_present_perfect(self):
        for text, found in self.PERFECT:
            with self.subTest(text=text):
                self.assertEqual(exercise_rules.perfect_today(text) is not None, found)

    def exercise(self, folder, texts):
        """An exercise of items with the given (words, misspellings)."""
        ex = build_exercises.Exercise(Path("x"))
        ex.folder = folder
        ex.families = ["b-v"]
        for words, errors in texts:
            item = build_exercises.Item("x", 1)
            item.word_count = words
            item.correct_lines = ["palabra"] * words
            item.faulty_lines = ["palabra"] * words
            for k in range(errors):
                mark = build_exercises.Mark("vaca", "baca", 1)
                mark.correct_word, mark.faulty_word, mark.word_index = "vaca", "baca", k
                item.marks.append(mark)
            ex.items.append(item)
        return ex

    GROWTH = [
        # folder, (words, misspellings) per text, what is found ('' for nothing)
        ("01 A", [(40, 3), (45, 4), (50, 5)], ""),
        ("01 A", [(30, 3), (45, 4), (50, 5)], "30 words; a text for 1.º y 2.º has 35 to 60"),
        ("01 A", [(40, 3), (45, 4), (65, 5)], "65 words"),
        ("12 A", [(60, 3), (80, 4), (90, 5)], "60 words; a text for 3.º y 4.º has 70 to 110"),
        ("25 A", [(100, 4), (120, 6), (160, 9)], ""),
        ("25 A", [(100, 4), (120, 6), (170, 9)], "has 100 to 160"),
        ("40 Mío", [(30, 3), (200, 3)], "the last needs 2 more"),
        ("01 A", [(40, 3), (45, 6), (50, 5)], "5 misspellings after 6 in text 2"),
        ("01 A", [(40, 3), (45, 4), (50, 4)], "the last needs 2 more"),
        ("01 A", [(40, 4), (45, 5), (40, 6)], "6 misspellings in 40 words; at most one word in 8"),
    ]

    def test_length_and_rising_misspellings(self):
        for folder, texts, fragment in self.GROWTH:
            with self.subTest(folder=folder, texts=texts):
                findings = exercise_rules.exercise_findings(
                    self.exercise(folder, texts), [])
                if fragment:
                    self.assertTrue(any(fragment in f for f in findings), findings)
                else:
                    self.assertEqual(findings, [])

    def test_listed_exercises_are_held_to_the_rules(self):
        """Every exercise listed as reworked exists and breaks no rule; the
        others are reported, not refused, until they are reworked."""
        reworked = build_exercises.read_reworked(build_exercises.REWORKED_FILE)
        self.assertIsNotNone(reworked)
        deny = build_exercises.read_list(build_exercises.DENY_FILE)
        homophones = build_exercises.read_homophones(build_exercises.HOMOPHONES_FILE)
        folders = set()
        for path in sorted(build_exercises.SOURCE_DIR.glob("*.txt")):
            ex = build_exercises.read_exercise(path)
            folders.add(ex.folder)
            if ex.folder not in reworked:
                continue
            for item in ex.items:
                build_exercises.build_item(item, path, ex.families, homophones)
            with self.subTest(folder=ex.folder):
                self.assertEqual(exercise_rules.exercise_findings(ex, deny), [])
        self.assertEqual(reworked - folders, set(), "listed folders without a source")


@unittest.skipUnless(build_exercises.hunspell_available(),
                     "hunspell and hunspell-es are not installed")
class DictionaryTest(unittest.TestCase):
    """The shipped texts against every Spanish hunspell dictionary."""

    def test_shipped_texts(self):
        code, _, err = run("--check", "--spell", "-q")
        self.assertEqual(code, 0, err)

    def test_a_faulty_form_that_is_a_word_is_found(self):
        exercise = build_exercises.read_exercise.__globals__["Exercise"](Path("x"))
        item = build_exercises.Item("x", 1)
        mark = build_exercises.Mark("vaca", "baca", 1)
        mark.correct_word, mark.faulty_word = "vaca", "baca"
        item.marks = [mark]
        item.correct_lines = ["la vaca"]
        item.faulty_lines = ["la baca"]
        exercise.folder = "01 Prueba"
        exercise.items = [item]
        dictionaries = build_exercises.hunspell_dictionaries()
        problems = build_exercises.content_problems([exercise], frozenset(), [], [],
                                                    dictionaries)
        self.assertTrue(any("'baca'" in p for p in problems), problems)
        listed = build_exercises.content_problems([exercise], frozenset({("vaca", "baca")}),
                                                  [], [], dictionaries)
        self.assertEqual(listed, [])


class WrapTest(unittest.TestCase):
    def test_lines_stay_within_limits(self):
        widths = [5, 3, 8, 2, 6, 7, 4, 9, 3, 5, 6, 2, 8, 4, 7, 5, 3, 6] * 3
        sizes = build_exercises.wrap(widths)
        self.assertEqual(sum(sizes), len(widths))
        start = 0
        for size in sizes:
            line = widths[start:start + size]
            self.assertLessEqual(size, build_exercises.MAX_LINE_WORDS)
            self.assertLessEqual(sum(line) + size - 1,
                                 build_exercises.MAX_LINE_CHARS)
            start += size
        self.assertGreaterEqual(sizes[-1], build_exercises.MIN_LAST_LINE_WORDS)

    def test_no_line_starts_with_the_narrators_words(self):
        # "—¿Vienes? —preguntó mamá desde la puerta..." over several lines:
        # no line may start with "—preguntó", which reads as a new speaker.
        widths = [8, 3, 6, 4, 3, 9, 5, 6, 4, 7, 3, 5, 6, 9, 4, 6, 5, 3, 7, 4]
        for k in range(1, len(widths)):
            with self.subTest(k=k):
                sizes = build_exercises.wrap(widths, frozenset({k}))
                starts = {sum(sizes[:i]) for i in range(len(sizes))}
                self.assertNotIn(k, starts)


class ShippedFilesTest(unittest.TestCase):
    """Checks the files in assets/Ejercicios without using the generator."""

    def folders(self):
        return sorted(p for p in ASSETS.iterdir() if p.is_dir())

    def test_generated_files_are_up_to_date(self):
        code, _, err = run("--check", "-q")
        self.assertEqual(code, 0, err)

    def test_exercises_of_at_least_twelve_items(self):
        folders = self.folders()
        self.assertGreaterEqual(len(folders), 20)
        for folder in folders:
            # The number tells the school years (01-09, 10-19, 20-29) and
            # the name fits the pupil's exercise list at 1366 x 768.
            self.assertRegex(folder.name, r"^(0[1-9]|[12][0-9]) \S")
            self.assertLessEqual(len(folder.name), 13, folder.name)
            good = sorted((folder / "correcto").glob("*.txt"))
            bad = sorted((folder / "incorrecto").glob("*.txt"))
            self.assertGreaterEqual(len(good), 12, folder.name)
            names = sorted(int(p.stem) for p in good)
            self.assertEqual(names, list(range(1, len(good) + 1)), folder.name)
            self.assertEqual([p.name for p in good], [p.name for p in bad])
            for p in good:
                self.assertRegex(p.name, r"^[1-9][0-9]*\.txt$")

    def test_error_counts_vary_within_an_exercise(self):
        for folder in self.folders():
            counts = set()
            for p in (folder / "correcto").glob("*.txt"):
                good = p.read_bytes().split()
                bad = (folder / "incorrecto" / p.name).read_bytes().split()
                counts.add(sum(1 for g, b in zip(good, bad) if g != b))
            self.assertGreaterEqual(len(counts), 3, folder.name)

    def test_file_format(self):
        for folder in self.folders():
            for sub in ("correcto", "incorrecto"):
                for p in (folder / sub).glob("*.txt"):
                    data = p.read_bytes()
                    where = f"{folder.name}/{sub}/{p.name}"
                    self.assertFalse(data.startswith(b"\xef\xbb\xbf"), where)
                    self.assertTrue(data.endswith(b"\r\n"), where)
                    self.assertNotIn(b"\t", data, where)
                    self.assertNotIn(b"  ", data, where)
                    self.assertNotIn(b"\r\n\r\n", data, where)
                    self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), where)
                    self.assertEqual(data.count(b"\r"), data.count(b"\r\n"), where)
                    text = data.decode("cp1252")
                    for line in text[:-2].split("\r\n"):
                        self.assertTrue(line, where)
                        self.assertEqual(line, line.strip(" "), where)

    def test_the_two_versions_match(self):
        for folder in self.folders():
            for p in (folder / "correcto").glob("*.txt"):
                where = f"{folder.name}/{p.name}"
                good = p.read_bytes().decode("cp1252").split("\r\n")
                bad = (folder / "incorrecto" / p.name).read_bytes() \
                    .decode("cp1252").split("\r\n")
                self.assertEqual(len(good), len(bad), where)
                total = 0
                changed = 0
                for g, b in zip(good, bad):
                    gw = g.split(" ") if g else []
                    bw = b.split(" ") if b else []
                    self.assertEqual(len(gw), len(bw), where)
                    self.assertLessEqual(len(gw), 12, where)
                    total += len(gw)
                    changed += sum(1 for x, y in zip(gw, bw) if x != y)
                self.assertTrue(build_exercises.MIN_WORDS <= total <= build_exercises.MAX_WORDS,
                                f"{where}: {total} words")
                self.assertTrue(3 <= changed <= 9, f"{where}: {changed} errors")

    def test_word_lists(self):
        words = (HERE / "corrected_words.txt").read_text("utf-8").splitlines()
        bare = (HERE / "corrected_words_bare.txt").read_text("utf-8").splitlines()
        self.assertEqual(len(words), len(set(words)))
        self.assertEqual(len(bare), len(set(bare)))
        self.assertEqual(set(bare), {build_exercises.bare(w) for w in words})
        for w in bare:
            self.assertEqual(w, w.lower())
            self.assertRegex(w, r"^\w(.*\w)?$")
        shipped = set()
        for folder in self.folders():
            for p in (folder / "correcto").glob("*.txt"):
                good = p.read_bytes().decode("cp1252").split()
                wrong = (folder / "incorrecto" / p.name).read_bytes() \
                    .decode("cp1252").split()
                shipped.update(g for g, b in zip(good, wrong) if g != b)
        self.assertEqual(shipped, set(words))


if __name__ == "__main__":
    unittest.main()
