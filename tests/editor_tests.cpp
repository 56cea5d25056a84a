// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's rules without a window: the item as the teacher changes it,
// renumbering items (interrupted at every step), exercise folders, drafts,
// pictures and the checker's findings.

#include "tests/datahome.h"
#include "tests/support.h"

#include "editor/drafts.h"
#include "editor/editeditem.h"
#include "editor/exercisefolders.h"
#include "editor/findings.h"
#include "editor/itemstore.h"
#include "editor/picture.h"

#include "library/contentrules.h"
#include "library/itemwriter.h"
#include "library/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const auto NoWord = [](const QString&) { return false; };

// --- The item being written ----------------------------------------------------

struct WordCase {
    const char* name;
    QString text;
    QStringList words;
    QList<int> lines;
};

const WordCase wordCases[] = {
    {"one_line", u"Una vaca come."_s, {u"Una"_s, u"vaca"_s, u"come."_s}, {1, 1, 1}},
    {"two_lines", u"¡Hola!\n¿Qué tal?"_s, {u"¡Hola!"_s, u"¿Qué"_s, u"tal?"_s}, {1, 2, 2}},
    {"final_line_feed_adds_no_line", u"a b\n"_s, {u"a"_s, u"b"_s}, {1, 1}},
    {"empty_line_is_an_empty_word", u"a\n\nb"_s, {u"a"_s, u""_s, u"b"_s}, {1, 2, 3}},
    {"double_space_is_an_empty_word", u"a  b"_s, {u"a"_s, u""_s, u"b"_s}, {1, 1, 1}},
    {"crlf_is_one_line_end", u"a\r\nb"_s, {u"a"_s, u"b"_s}, {1, 2}},
    {"empty_text_has_no_word", u""_s, {}, {}},
};

class EditedItemWords : public ::testing::TestWithParam<WordCase> {};

TEST_P(EditedItemWords, AreCutAsTheProgramCutsThem)
{
    const WordCase& c = GetParam();
    editor::EditedItem item;
    item.setText(c.text);
    EXPECT_EQ(item.words(), c.words);
    QList<int> lines;
    for (const editor::WordSlot& s : item.places()) {
        lines.append(s.line);
        EXPECT_EQ(c.text.sliced(s.start, s.length), item.words()[lines.size() - 1]);
    }
    EXPECT_EQ(lines, c.lines);
    // The program's own cutting of the same text.
    EXPECT_EQ(item.words(), c.text.isEmpty() ? QStringList() : textfile::build(textfile::splitLines(c.text)).words);
}

INSTANTIATE_TEST_SUITE_P(Editor, EditedItemWords, ::testing::ValuesIn(wordCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct EditCase {
    const char* name;
    QString before;
    QString after;
    QString faultyAfter;  // with "vaca" misspelt "baca" and "burro" misspelt "vurro" before the edit
};

const EditCase editCases[] = {
    {"word_added_before", u"la vaca y el burro"_s, u"ya la vaca y el burro"_s, u"ya la baca y el vurro"_s},
    {"word_added_between", u"la vaca y el burro"_s, u"la vaca gorda y el burro"_s, u"la baca gorda y el vurro"_s},
    {"line_added_after", u"la vaca y el burro"_s, u"la vaca y el burro\nfin"_s, u"la baca y el vurro\nfin"_s},
    {"misspelt_word_changed_loses_it", u"la vaca y el burro"_s, u"la vacas y el burro"_s, u"la vacas y el vurro"_s},
    {"misspelt_word_removed", u"la vaca y el burro"_s, u"la y el burro"_s, u"la y el vurro"_s},
    {"everything_replaced", u"la vaca y el burro"_s, u"otro texto"_s, u"otro texto"_s},
};

class EditedItemEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditedItemEdits, KeepTheMisspellingsOfTheWordsNotChanged)
{
    const EditCase& c = GetParam();
    editor::EditedItem item;
    item.setText(c.before);
    ASSERT_EQ(item.setMisspelling(1, u"baca"_s), QString());
    ASSERT_EQ(item.setMisspelling(4, u"vurro"_s), QString());
    ASSERT_EQ(item.faultyText(), u"la baca y el vurro"_s);
    item.setText(c.after);
    EXPECT_EQ(item.faultyText(), c.faultyAfter);
}

INSTANTIATE_TEST_SUITE_P(Editor, EditedItemEdits, ::testing::ValuesIn(editCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedMisspelling {
    const char* name;
    qsizetype position;
    QString faulty;
};

const RefusedMisspelling refusedMisspellings[] = {
    {"same_as_the_word", 1, u"vaca"_s},
    {"empty", 1, u""_s},
    {"two_words", 1, u"ba ca"_s},
    {"line_break", 1, u"ba\nca"_s},
    {"empty_word", 2, u"x"_s},
    {"no_such_word", 9, u"x"_s},
    {"control_character", 1, u"ba\x01" "ca"_s},
};

class EditedItemRefuses : public ::testing::TestWithParam<RefusedMisspelling> {};

TEST_P(EditedItemRefuses, MisspellingsThatCannotBe)
{
    editor::EditedItem item;
    item.setText(u"la vaca  come"_s);
    EXPECT_FALSE(item.setMisspelling(GetParam().position, GetParam().faulty).isEmpty());
    EXPECT_TRUE(item.misspellings().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Editor, EditedItemRefuses, ::testing::ValuesIn(refusedMisspellings),
                         [](const auto& info) { return std::string(info.param.name); });

// A caret at `offset`, in the correct text and in the version with
// misspellings: the word position that holds it, or -1 for none.
struct CaretCase {
    const char* name;
    QString text;
    qsizetype misspelt;  // the word given `form`, or -1
    QString form;
    qsizetype offset;
    qsizetype inCorrect;
    qsizetype inFaulty;
};

const CaretCase caretCases[] = {
    {"start_of_text", u"Una vaca come."_s, -1, {}, 0, 0, 0},
    {"start_of_a_word", u"Una vaca come."_s, -1, {}, 4, 1, 1},
    {"middle_of_a_word", u"Una vaca come."_s, -1, {}, 6, 1, 1},
    {"end_of_a_word_before_its_space", u"Una vaca come."_s, -1, {}, 8, 1, 1},
    {"before_the_final_stop", u"Una vaca come."_s, -1, {}, 13, 2, 2},
    {"end_of_text", u"Una vaca come."_s, -1, {}, 14, 2, 2},
    {"opening_marks_belong_to_the_word", u"¡Hola, Inés!"_s, -1, {}, 0, 0, 0},
    {"after_a_comma", u"¡Hola, Inés!"_s, -1, {}, 6, 0, 0},
    {"accented_word", u"El árbol"_s, -1, {}, 8, 1, 1},
    {"decomposed_accent", u"an\u0303o y"_s, -1, {}, 4, 0, 0},
    {"between_two_spaces", u"a  b"_s, -1, {}, 2, -1, -1},
    {"after_two_spaces", u"a  b"_s, -1, {}, 3, 2, 2},
    {"end_of_a_line", u"vaca\nburro"_s, -1, {}, 4, 0, 0},
    {"start_of_the_next_line", u"vaca\nburro"_s, -1, {}, 5, 1, 1},
    {"empty_line", u"a\n\nb"_s, -1, {}, 2, -1, -1},
    {"after_the_final_line_feed", u"a b\n"_s, -1, {}, 4, -1, -1},
    {"crlf_end_of_a_line", u"vaca\r\nburro"_s, -1, {}, 4, 0, 0},
    {"crlf_inside_the_line_end", u"vaca\r\nburro"_s, -1, {}, 5, -1, -1},
    {"crlf_next_line", u"vaca\r\nburro"_s, -1, {}, 6, 1, 1},
    {"below_the_text", u"Una vaca."_s, -1, {}, -1, -1, -1},
    {"beyond_the_text", u"Una vaca."_s, -1, {}, 40, -1, -1},
    {"empty_text", u""_s, -1, {}, 0, -1, -1},
    {"longer_misspelling_end", u"Una vaca come."_s, 1, u"bacca"_s, 9, 2, 1},
    {"longer_misspelling_next_word", u"Una vaca come."_s, 1, u"bacca"_s, 10, 2, 2},
    {"shorter_misspelling_end", u"Ya hay agua."_s, 1, u"ay"_s, 5, 1, 1},
    {"shorter_misspelling_next_word", u"Ya hay agua."_s, 1, u"ay"_s, 6, 1, 2},
    {"misspelling_on_an_earlier_line", u"Una vaca\ncome."_s, 1, u"bacca"_s, 10, 2, 2},
    {"past_the_end_of_the_shorter_version", u"Ya hay agua."_s, 1, u"ay"_s, 12, 2, -1},
};

class EditedItemCarets : public ::testing::TestWithParam<CaretCase> {};

TEST_P(EditedItemCarets, FallOnTheWordThatHoldsThem)
{
    const CaretCase& c = GetParam();
    editor::EditedItem item;
    item.setText(c.text);
    if (c.misspelt >= 0) {
        ASSERT_EQ(item.setMisspelling(c.misspelt, c.form), QString());
    }
    const auto position = [](std::optional<qsizetype> word) { return word.value_or(-1); };
    EXPECT_EQ(position(item.wordAt(c.offset)), c.inCorrect);
    EXPECT_EQ(position(item.faultyWordAt(c.offset)), c.inFaulty);
}

INSTANTIATE_TEST_SUITE_P(Editor, EditedItemCarets, ::testing::ValuesIn(caretCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditedItem, ProposesEachFamilysMisspellingsOnce)
{
    editor::EditedItem item;
    item.setText(u"Una vaca, hoy."_s);
    QStringList forms;
    for (const editor::Proposal& p : item.proposals(1))
        forms.append(p.faulty);
    EXPECT_TRUE(forms.contains(u"baca,"_s)) << forms.join(u' ').toStdString();
    EXPECT_EQ(forms.removeDuplicates(), 0);
    EXPECT_FALSE(forms.contains(u"vaca,"_s));
    QStringList hoy;
    for (const editor::Proposal& p : item.proposals(2))
        hoy.append(p.faulty);
    EXPECT_TRUE(hoy.contains(u"oy."_s)) << hoy.join(u' ').toStdString();
}

TEST(EditedItem, PutsMisspellingsAsMiravellonCrearDoesAndTheSameSeedChoosesTheSame)
{
    const QString text = u"El burro y la vaca viven en la granja.\nBeben agua y van al valle."_s;
    editor::EditedItem a;
    a.setText(text);
    QRandomGenerator r1(7);
    ASSERT_EQ(a.addMisspellings({families::Family::BV}, 3, r1, NoWord), QString());
    EXPECT_EQ(a.misspellings().size(), 3);
    for (auto it = a.misspellings().cbegin(); it != a.misspellings().cend(); ++it) {
        EXPECT_TRUE(families::misspellings(a.words()[it.key()], families::Family::BV).contains(it.value()));
    }

    // The same as the library makes of the same text with the same seed.
    itemwriter::DraftResult parsed = itemwriter::parse(textfile::splitLines(text));
    QRandomGenerator r2(7);
    ASSERT_EQ(itemwriter::addMisspellings(parsed.draft, {families::Family::BV}, 3, r2, NoWord), QString());
    EXPECT_EQ(a.draft().faultyLines, parsed.draft.faultyLines);

    // Too many asked: a reason, nothing changed.
    editor::EditedItem b;
    b.setText(u"sin nada"_s);
    QRandomGenerator r3(1);
    EXPECT_FALSE(b.addMisspellings({families::Family::BV}, 2, r3, NoWord).isEmpty());
    EXPECT_TRUE(b.misspellings().isEmpty());
}

TEST(EditedItem, DraftHoldsBothVersionsLineByLine)
{
    editor::EditedItem item;
    item.setText(u"¿Dónde está la vaca?\nEn el valle."_s);
    ASSERT_EQ(item.setMisspelling(3, u"baca?"_s), QString());
    ASSERT_EQ(item.setMisspelling(6, u"balle."_s), QString());
    const itemwriter::Draft d = item.draft();
    EXPECT_EQ(d.correctLines, (QStringList{u"¿Dónde está la vaca?"_s, u"En el valle."_s}));
    EXPECT_EQ(d.faultyLines, (QStringList{u"¿Dónde está la baca?"_s, u"En el balle."_s}));
    ASSERT_EQ(d.misspellings.size(), 2);
    EXPECT_EQ(d.misspellings[1].line, 2);
    EXPECT_EQ(d.misspellings[1].correct, u"valle."_s);
    // The highlighted places of the faulty text.
    const QString faulty = item.faultyText();
    QStringList marked;
    for (const editor::WordSlot& s : item.faultyPlaces())
        marked.append(faulty.sliced(s.start, s.length));
    EXPECT_EQ(marked, (QStringList{u"baca?"_s, u"balle."_s}));
}

TEST(EditedItem, NotationAndLoadingRoundTrip)
{
    const TempTree tree;
    editor::EditedItem item;
    ASSERT_EQ(item.setNotation(u"Una {vaca|baca} en el {valle|balle}.\nY un burro."_s), QString());
    EXPECT_EQ(item.text(), u"Una vaca en el valle.\nY un burro."_s);
    EXPECT_EQ(item.faultyText(), u"Una baca en el balle.\nY un burro."_s);
    EXPECT_FALSE(item.setNotation(u"Una {vaca baca}"_s).isEmpty());

    const QString folder = tree.file(u"Ejercicios/01 Mio"_s);
    ASSERT_EQ(itemwriter::write(folder, 1, item.draft(), false).status, itemwriter::WriteStatus::Written);
    editor::EditedItem loaded;
    EXPECT_EQ(loaded.load(folder, 1), QString());
    EXPECT_EQ(loaded.text(), item.text());
    EXPECT_EQ(loaded.misspellings(), item.misspellings());

    // Versions that do not pair: loaded without misspellings, with a warning.
    tree.writeItem(u"01 Mio"_s, 2, {u"una baca blanca come"_s}, {u"una vaca blanca"_s});
    EXPECT_FALSE(loaded.load(folder, 2).isEmpty());
    EXPECT_EQ(loaded.text(), u"una vaca blanca"_s);
    EXPECT_TRUE(loaded.misspellings().isEmpty());
}

// What the editor saves is checked as it would be written: byte-order marks
// (from a pasted text, or typed) and the size of the bytes with CR LF.
TEST(EditedItem, SavesOnlyWhatReadsBackAsMeantWithinTheLimitOfItsBytes)
{
    editor::EditedItem item;
    EXPECT_TRUE(item.setNotation(u"Una {\uFEFFvaca|vaca}."_s).contains(u"deja la palabra igual"_s));
    ASSERT_EQ(item.setNotation(u"\uFEFFUna {vaca|ba\uFEFFca}."_s), QString());
    EXPECT_EQ(item.text(), u"Una vaca."_s);
    EXPECT_EQ(item.faultyText(), u"Una baca."_s);

    item.setText(u"\uFEFFUna vaca."_s);
    ASSERT_EQ(item.setMisspelling(1, u"baca."_s), QString());
    EXPECT_TRUE(itemwriter::checkLimits(item.draft()).contains(u"marca de orden de bytes"_s));

    // 4 170 000 bytes typed with line feeds; 4 200 000 once written.
    QStringList lines(30000, QString(138, u'a'));
    lines[0] = u"vaca "_s + QString(133, u'a');
    item.setText(lines.join(u'\n'));
    ASSERT_EQ(item.setMisspelling(0, u"baca"_s), QString());
    EXPECT_EQ(itemwriter::checkLimits(item.draft()),
              u"la versión correcta ocuparía 4200000 bytes con sus finales de línea; el programa no lee textos de más "
              "de 4194304"_s);
}

TEST(EditedItem, ImportsWindows1252Utf8AndUnicodeTexts)
{
    const TempTree tree;
    tree.write(u"ansi.txt"_s, "El ni\xF1o bebi\xF3 agua.\r\n");
    tree.write(u"utf8.txt"_s, "El nin\xCC\x83o.\n");  // n + combining tilde
    EXPECT_EQ(editor::importText(tree.file(u"ansi.txt"_s)).text, u"El niño bebió agua.\r\n"_s);
    EXPECT_EQ(editor::importText(tree.file(u"utf8.txt"_s)).text, u"El niño.\n"_s);
    // Notepad's «Unicode», either byte order, is read.
    tree.write(u"utf16.txt"_s, QByteArray("\xFF\xFEh\0\xF3\0\r\0\n\0", 10));
    EXPECT_EQ(editor::importText(tree.file(u"utf16.txt"_s)).text, u"hó\r\n"_s);
    tree.write(u"utf16be.txt"_s, QByteArray("\xFE\xFF\0h\0\xF3", 6));
    EXPECT_EQ(editor::importText(tree.file(u"utf16be.txt"_s)).text, u"hó"_s);
    // A word processor's document is refused with the reason and the remedy
    // every tool gives.
    tree.write(u"carta.docx"_s, QByteArray("PK\x03\x04\0\0word", 10));
    const QString error = editor::importText(tree.file(u"carta.docx"_s)).error;
    EXPECT_TRUE(error.contains(u"no es un archivo de texto; guárdelo como «Texto sin formato (.txt)»"_s))
        << error.toStdString();
}

// --- Renumbering -------------------------------------------------------------------

// Items 1..count, each version holding its own number, so that a test can tell
// which item ended where.
void writeItems(const TempTree& tree, int count)
{
    for (int n = 1; n <= count; ++n)
        tree.writeItem(u"E"_s, n, {u"baca %1"_s.arg(n)}, {u"vaca %1"_s.arg(n)});
}

// What each item number holds: "n:faulty|correct".
QStringList itemsOf(const TempTree& tree)
{
    QStringList out;
    for (const int n : editor::items::numbers(tree.file(u"Ejercicios/E"_s))) {
        out.append(u"%1:%2|%3"_s.arg(n)
                       .arg(QString::fromLatin1(tree.read(u"Ejercicios/E/incorrecto/%1.txt"_s.arg(n))).trimmed(),
                            QString::fromLatin1(tree.read(u"Ejercicios/E/correcto/%1.txt"_s.arg(n))).trimmed()));
    }
    return out;
}

// Every item text anywhere in the exercise folder, hidden files included.
QStringList allTexts(const TempTree& tree)
{
    QStringList out;
    for (const QString& version : {u"correcto"_s, u"incorrecto"_s}) {
        const QDir dir(tree.file(u"Ejercicios/E/"_s + version));
        for (const QString& f : dir.entryList(QDir::Files | QDir::Hidden))
            out.append(QString::fromLatin1(tree.read(u"Ejercicios/E/"_s + version + u'/' + f)).trimmed());
    }
    out.sort();
    return out;
}

struct RenumberCase {
    const char* name;
    int count;
    bool remove;  // else swap
    int number;
    QStringList expected;
};

const RenumberCase renumberCases[] = {
    {"delete_first", 4, true, 1, {u"1:baca 2|vaca 2"_s, u"2:baca 3|vaca 3"_s, u"3:baca 4|vaca 4"_s}},
    {"delete_middle", 4, true, 2, {u"1:baca 1|vaca 1"_s, u"2:baca 3|vaca 3"_s, u"3:baca 4|vaca 4"_s}},
    {"delete_last", 3, true, 3, {u"1:baca 1|vaca 1"_s, u"2:baca 2|vaca 2"_s}},
    {"delete_only", 1, true, 1, {}},
    {"swap_first_two", 3, false, 1, {u"1:baca 2|vaca 2"_s, u"2:baca 1|vaca 1"_s, u"3:baca 3|vaca 3"_s}},
    {"swap_last_two", 3, false, 2, {u"1:baca 1|vaca 1"_s, u"2:baca 3|vaca 3"_s, u"3:baca 2|vaca 2"_s}},
};

class Renumbering : public ::testing::TestWithParam<RenumberCase> {
protected:
    TempTree home;
    DataHome dataHome{home.path()};
};

QString act(const RenumberCase& c, const QString& folder, const editor::items::Renamer& rename)
{
    return c.remove ? editor::items::remove(folder, c.number, rename)
                    : editor::items::swapWithNext(folder, c.number, rename);
}

TEST_P(Renumbering, GivesTheItemsTheirNewNumbers)
{
    const RenumberCase& c = GetParam();
    const TempTree tree;
    writeItems(tree, c.count);
    EXPECT_EQ(act(c, tree.file(u"Ejercicios/E"_s), editor::items::fileRenamer()), QString());
    EXPECT_EQ(itemsOf(tree), c.expected);
    EXPECT_FALSE(editor::items::interrupted(tree.file(u"Ejercicios/E"_s)));
    EXPECT_EQ(QDir(tree.file(u"Ejercicios/E/correcto"_s)).entryList(QDir::Files | QDir::Hidden).size(), c.expected.size());
}

TEST_P(Renumbering, InterruptedAtAnyStepLosesNothingAndIsFinishedOnRecovery)
{
    const RenumberCase& c = GetParam();
    for (int failAt = 0;; ++failAt) {
        const TempTree tree;
        writeItems(tree, c.count);
        const QStringList before = allTexts(tree);
        int calls = 0;
        // A rename that fails once `failAt` renamings have been done, as a
        // power cut would stop the plan there; and one whose rename is done
        // but whose journal is not brought up to date, at the same step.
        const editor::items::Renamer failing = [&](const QString& from, const QString& to) {
            return calls++ < failAt && QFile::rename(from, to);
        };
        const QString error = act(c, tree.file(u"Ejercicios/E"_s), failing);
        if (error.isEmpty()) {
            EXPECT_EQ(itemsOf(tree), c.expected);
            break;
        }
        ASSERT_TRUE(editor::items::interrupted(tree.file(u"Ejercicios/E"_s))) << failAt;
        // Nothing lost while interrupted: every text is still somewhere.
        EXPECT_EQ(allTexts(tree), before) << failAt;
        EXPECT_EQ(editor::items::recover(tree.file(u"Ejercicios/E"_s)), QString()) << failAt;
        EXPECT_EQ(itemsOf(tree), c.expected) << failAt;
        EXPECT_FALSE(editor::items::interrupted(tree.file(u"Ejercicios/E"_s)));
        ASSERT_LT(failAt, 50);
    }
}

TEST_P(Renumbering, ARenameDoneButNotJournalledIsNotDoneTwice)
{
    const RenumberCase& c = GetParam();
    for (int stopAfter = 1; stopAfter < 40; ++stopAfter) {
        const TempTree tree;
        writeItems(tree, c.count);
        int calls = 0;
        // The rename happens, then the process "dies" before the journal
        // records it: reported as a failure after doing it.
        const editor::items::Renamer dying = [&](const QString& from, const QString& to) {
            const bool done = QFile::rename(from, to);
            return done && ++calls < stopAfter;
        };
        if (act(c, tree.file(u"Ejercicios/E"_s), dying).isEmpty())
            break;
        EXPECT_EQ(editor::items::recover(tree.file(u"Ejercicios/E"_s)), QString()) << stopAfter;
        EXPECT_EQ(itemsOf(tree), c.expected) << stopAfter;
    }
}

INSTANTIATE_TEST_SUITE_P(Editor, Renumbering, ::testing::ValuesIn(renumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Planted journals and linked version folders ------------------------------------

// Every entry under `folder`, links as links, with the bytes of each file, to
// see that nothing changed.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QFile file(path);
        entries.insert(path, info.isSymLink()         ? "<link to " + info.symLinkTarget().toUtf8() + '>'
                             : !info.isFile()         ? QByteArray("<folder>")
                             : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                              : QByteArray("<unreadable>"));
    }
    return entries;
}

// An exercise "E" of two items beside the teacher's own files ("casa/"),
// spoilt one way; the journal a careless copy or a mischievous pupil leaves.
struct PlantedJournal {
    const char* name;
    std::function<void(const TempTree&)> plant;
    QString message;  // part of the refusal
};

void PrintTo(const PlantedJournal& c, std::ostream* os)
{
    *os << c.name;
}

void symlinkIn(const TempTree& tree, const QString& target, const QString& relative)
{
    ASSERT_TRUE(QFile::link(target, tree.file(relative))) << relative.toStdString();
}

QByteArray journal(const QByteArray& steps, const QByteArray& done = "0")
{
    return "miravellon-renumerando 1\n" + done + '\n' + steps;
}

const QString Journal = u"Ejercicios/E/.miravellon-renumerando"_s;
const QString Damaged = u"está dañado"_s;
const QString Foreign = u"que no es un texto de este ejercicio"_s;
const QString Outside = u"lleva fuera del ejercicio"_s;

const std::vector<PlantedJournal> plantedJournals = {
    {"steps_up_and_out", [](const TempTree& t) {
         t.write(Journal, journal("correcto/1.txt\t../../../casa/renombrado.txt\n../../../casa/carta.txt\t\n"));
     }, Foreign},
    {"absolute_paths", [](const TempTree& t) {
         t.write(Journal, journal("correcto/1.txt\tcorrecto/3.txt\n" + t.file(u"casa/carta.txt"_s).toUtf8() + "\t\n"));
     }, Foreign},
    {"negative_count_of_27_bytes", [](const TempTree& t) { t.write(Journal, "miravellon-renumerando 1\n-1"); },
     Damaged},
    {"count_past_the_steps", [](const TempTree& t) { t.write(Journal, journal("correcto/1.txt\tcorrecto/3.txt\n", "2")); },
     Damaged},
    {"count_past_an_int", [](const TempTree& t) {
         t.write(Journal, journal("correcto/1.txt\tcorrecto/3.txt\n", "99999999999999999999"));
     }, Damaged},
    {"more_steps_than_any_exercise", [](const TempTree& t) {
         t.write(Journal, journal(QByteArray("correcto/1.txt\tcorrecto/1.txt\n").repeated(editor::items::MaxSteps + 1)));
     }, Damaged},
    {"a_teachers_file_in_a_version_folder", [](const TempTree& t) {
         t.write(u"Ejercicios/E/correcto/notas.odt"_s, "mis notas");
         t.write(Journal, journal("correcto/notas.odt\t\n"));
     }, Foreign},
    {"a_hidden_name_not_the_editors", [](const TempTree& t) {
         t.write(u"Ejercicios/E/correcto/.bashrc"_s, "alias");
         t.write(Journal, journal("correcto/1.txt\tcorrecto/.bashrc\n"));
     }, Foreign},
    {"a_step_across_version_folders", [](const TempTree& t) {
         t.write(Journal, journal("correcto/1.txt\tincorrecto/7.txt\n"));
     }, Foreign},
    {"dots_inside_a_step", [](const TempTree& t) {
         t.write(Journal, journal("correcto/../correcto/1.txt\tcorrecto/3.txt\n"));
     }, Foreign},
    {"a_version_folder_not_as_stored", [](const TempTree& t) {
         t.write(Journal, journal("CORRECTO/1.txt\tCORRECTO/3.txt\n"));
     }, Foreign},
    {"an_item_linked_out", [](const TempTree& t) {
         QFile::remove(t.file(u"Ejercicios/E/correcto/2.txt"_s));
         symlinkIn(t, t.file(u"casa/carta.txt"_s), u"Ejercicios/E/correcto/2.txt"_s);
         t.write(Journal, journal("correcto/2.txt\t\n"));
     }, Foreign},
    {"a_version_folder_linked_out", [](const TempTree& t) {
         t.write(u"casa/fotos/1.txt"_s, "mi foto");
         QDir(t.file(u"Ejercicios/E/correcto"_s)).removeRecursively();
         symlinkIn(t, t.file(u"casa/fotos"_s), u"Ejercicios/E/correcto"_s);
         t.write(Journal, journal("correcto/1.txt\t\n"));
     }, Outside},
    {"the_journal_linked_out", [](const TempTree& t) {
         t.write(u"casa/registro"_s, journal("correcto/1.txt\tcorrecto/3.txt\n"));
         symlinkIn(t, t.file(u"casa/registro"_s), Journal);
     }, Damaged},
    {"the_journal_a_folder", [](const TempTree& t) { t.mkdir(Journal); }, Damaged},
    {"not_a_journal", [](const TempTree& t) { t.write(Journal, QByteArray(4096, '\xff')); }, Damaged},
};

class PlantedJournals : public ::testing::TestWithParam<PlantedJournal> {
protected:
    TempTree home;
    DataHome dataHome{home.path()};
};

TEST_P(PlantedJournals, AreRefusedWithAReasonAndNothingIsTouched)
{
    const TempTree tree;
    writeItems(tree, 2);
    tree.write(u"casa/carta.txt"_s, "Querida abuela");
    GetParam().plant(tree);
    const QString folder = tree.file(u"Ejercicios/E"_s);
    const auto before = snapshot(tree.path());
    ASSERT_TRUE(editor::items::interrupted(folder));

    const QString refusal = editor::items::recover(folder);
    EXPECT_TRUE(refusal.contains(GetParam().message)) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains(u"no se ha"_s)) << refusal.toStdString();
    // Renumbering starts by finishing the journal: refused the same way.
    EXPECT_EQ(editor::items::remove(folder, 1), refusal);
    EXPECT_EQ(editor::items::swapWithNext(folder, 1), refusal);
    EXPECT_EQ(snapshot(tree.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Editor, PlantedJournals, ::testing::ValuesIn(plantedJournals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlantedJournals, TheEditorsOwnJournalReadsBackAndItsStepsAreAccepted)
{
    const TempTree tree;
    writeItems(tree, 3);
    const editor::items::Plan plan{{{u"correcto/1.txt"_s, u"correcto/.miravellon-borrado-1.txt"_s},
                                    {u"incorrecto/2.txt"_s, u"incorrecto/1.txt"_s},
                                    {u"correcto/.miravellon-moviendo.txt"_s, u"correcto/2.txt"_s},
                                    {u"correcto/.miravellon-borrado-1.txt"_s, {}}},
                                   2};
    EXPECT_EQ(editor::items::parseJournal(editor::items::journalBytes(plan)), plan);
    EXPECT_EQ(editor::items::stepsProblem(tree.file(u"Ejercicios/E"_s), plan.steps), QString());
}

// A version folder linked out of the exercise: no renumbering goes through it.
TEST(LinkedVersionFolders, AreNotRenumberedThrough)
{
    const TempTree home;
    const DataHome dataHome(home.path());
    const TempTree tree;
    writeItems(tree, 2);
    tree.write(u"casa/fotos/1.txt"_s, "mi foto");
    tree.write(u"casa/fotos/2.txt"_s, "otra foto");
    QDir(tree.file(u"Ejercicios/E/incorrecto"_s)).removeRecursively();
    ASSERT_TRUE(QFile::link(tree.file(u"casa/fotos"_s), tree.file(u"Ejercicios/E/incorrecto"_s)));
    const QString folder = tree.file(u"Ejercicios/E"_s);
    const auto before = snapshot(tree.path());
    for (const QString& error : {editor::items::remove(folder, 1), editor::items::swapWithNext(folder, 1)}) {
        EXPECT_EQ(error, u"la carpeta «incorrecto» lleva fuera del ejercicio; no se ha renumerado ni tocado nada"_s);
        EXPECT_EQ(snapshot(tree.path()), before);
        EXPECT_FALSE(editor::items::interrupted(folder));
    }
}

// --- Exercise folders ----------------------------------------------------------------

TEST(ExerciseFolders, ProposeTheNextTwoDigitNumberAcrossEveryCatalogue)
{
    const TempTree mine;
    const TempTree shipped;
    shipped.mkdir(u"01 Mayúsculas"_s);
    shipped.mkdir(u"11 Tildes"_s);
    mine.mkdir(u"12 Mi ejercicio"_s);
    mine.mkdir(u"123 no cuenta"_s);
    EXPECT_EQ(editor::exercises::proposedName({shipped.path(), mine.path()}), u"13 Ejercicio nuevo"_s);
    EXPECT_EQ(editor::exercises::proposedName({}), u"01 Ejercicio nuevo"_s);
}

struct NameCase {
    const char* name;
    QString proposed;
    bool accepted;
};

const NameCase nameCases[] = {
    {"ordinary", u"13 Mi granja"_s, true},
    {"taken_other_case", u"12 MI EJERCICIO"_s, false},
    {"empty", u"  "_s, false},
    {"hidden", u".oculto"_s, false},
    {"slash", u"a/b"_s, false},
    {"control", u"a\x01"_s, false},
};

class ExerciseNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ExerciseNames, AreAcceptedOnlyWhenTheProgramShowsThem)
{
    const TempTree mine;
    mine.mkdir(u"12 Mi ejercicio"_s);
    EXPECT_EQ(editor::exercises::nameProblem(mine.path(), GetParam().proposed).isEmpty(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Editor, ExerciseNames, ::testing::ValuesIn(nameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExerciseFolders, CopyRenameAndRemove)
{
    const TempTree shipped;
    const TempTree mine;
    shipped.writeItem(u"02 B y V"_s, 1, {u"una baca"_s}, {u"una vaca"_s});
    const QString source = shipped.file(u"Ejercicios/02 B y V"_s);
    QFile::setPermissions(source + u"/correcto/1.txt"_s, QFileDevice::ReadOwner);

    const auto first = editor::exercises::copy(source, mine.path());
    ASSERT_EQ(first.error, QString());
    EXPECT_EQ(mine.read(u"02 B y V/correcto/1.txt"_s), "una vaca\r\n");
    EXPECT_TRUE(QFileInfo(first.path + u"/correcto/1.txt"_s).isWritable());
    const auto second = editor::exercises::copy(source, mine.path());
    EXPECT_EQ(QFileInfo(second.path).fileName(), u"02 B y V (copia)"_s);

    const auto renamed = editor::exercises::rename(second.path, u"03 Mía"_s);
    ASSERT_EQ(renamed.error, QString());
    EXPECT_TRUE(QFileInfo(mine.file(u"03 Mía/incorrecto/1.txt"_s)).isFile());
    EXPECT_FALSE(editor::exercises::rename(renamed.path, u"02 b y v"_s).error.isEmpty());

    {
        const DataHome dataHome(mine.file(u"casa"_s));
        EXPECT_EQ(editor::exercises::remove(renamed.path), QString());
    }
    EXPECT_FALSE(QFileInfo::exists(renamed.path));
}

TEST(ExerciseFolders, TrashGoesToTheUsersDataFolderEvenBeforeItExists)
{
    const TempTree tree;
    tree.write(u"dentro/1.txt"_s, "una vaca\r\n");
    tree.mkdir(u"aqui"_s);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tree.file(u"aqui"_s)));
    const bool trashed = [&] {
        const DataHome dataHome(tree.file(u"casa/nueva"_s));
        return editor::exercises::trash(tree.file(u"dentro/1.txt"_s));
    }();
    QDir::setCurrent(previous);
    EXPECT_TRUE(trashed);
    EXPECT_EQ(tree.read(u"casa/nueva/Trash/files/1.txt"_s), "una vaca\r\n");
    EXPECT_TRUE(QDir(tree.file(u"aqui"_s)).isEmpty());
}

// --- Drafts ----------------------------------------------------------------------------

TEST(Drafts, AreKeptRoundTripAndDropped)
{
    const TempTree home;
    const DataHome dataHome(home.path());
    const editor::drafts::Draft a{u"/x/Ejercicios/01 A"_s, 3, u"Una vaca «blanca».\nY\tmás"_s, {{1, u"baca"_s}},
                                  false, u"0123abcd"_s};
    const editor::drafts::Draft b{u"/x/Ejercicios/02 B"_s, 1, u"otro"_s, {}, true, {}};
    EXPECT_TRUE(editor::drafts::keep(a));
    EXPECT_TRUE(editor::drafts::keep(b));
    EXPECT_EQ(editor::drafts::all().size(), 2);
    EXPECT_TRUE(editor::drafts::all().contains(a));
    editor::drafts::Draft changed = a;
    changed.text = u"Dos vacas"_s;
    EXPECT_TRUE(editor::drafts::keep(changed));
    EXPECT_EQ(editor::drafts::all().size(), 2);
    EXPECT_TRUE(editor::drafts::all().contains(changed));
    editor::drafts::drop(a.exerciseFolder, a.number);
    EXPECT_EQ(editor::drafts::all(), QList<editor::drafts::Draft>{b});
    EXPECT_TRUE(editor::drafts::folder().startsWith(home.path()));
}

// --- Pictures --------------------------------------------------------------------------

TEST(Pictures, AreScaledAndNamedAsTheProgramLooksThemUp)
{
    const TempTree tree;
    const DataHome dataHome(tree.file(u"casa"_s));
    tree.writePicture(u"grande.png"_s, 800, 400);
    tree.writePicture(u"Graficos/España..gif"_s, 10, 10);
    const editor::PictureResult placed = editor::placePicture(tree.file(u"grande.png"_s), tree.path(), u"España."_s);
    ASSERT_EQ(placed.error, QString());
    // The program finds it, not the earlier GIF it would look at first.
    EXPECT_EQ(content::wordPicturePath(tree.path(), u"españa."_s), placed.path);
    const QImage written = content::readPicture(placed.path);
    EXPECT_EQ(written.size(), QSize(240, 120));
    EXPECT_FALSE(editor::placePicture(tree.file(u"grande.png"_s), tree.path(), u"../fuera"_s).error.isEmpty());
    tree.write(u"roto.png"_s, "no es una imagen");
    EXPECT_FALSE(editor::placePicture(tree.file(u"roto.png"_s), tree.path(), u"vaca"_s).error.isEmpty());
    // The earlier GIF went to the trash.
    EXPECT_TRUE(QFileInfo(tree.file(u"casa/Trash/files/España..gif"_s)).isFile());
}

// --- Findings ----------------------------------------------------------------------------

TEST(Findings, SpeakInTheCheckersWords)
{
    editor::EditedItem item;
    item.setText(u"Una vaca  come.\nFin."_s);
    ASSERT_EQ(item.setMisspelling(1, u"baca"_s), QString());
    const QStringList lines = editor::findings(item.draft(), 4);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().startsWith(u"AVISO incorrecto/4.txt, línea 1, entre «baca» y «come.»: dos espacios seguidos"_s)) << lines.join(u'\n').toStdString();

    editor::EditedItem none;
    none.setText(u"Sin faltas."_s);
    const QStringList refused = editor::findings(none.draft(), 1);
    ASSERT_FALSE(refused.isEmpty());
    EXPECT_TRUE(refused.first().startsWith(u"ERROR no se puede guardar: el texto no tiene ninguna falta"_s));
    EXPECT_TRUE(refused.join(u'\n').contains(u"las dos versiones son iguales"_s)) << refused.join(u'\n').toStdString();
}

}  // namespace
