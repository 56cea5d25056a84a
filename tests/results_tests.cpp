// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the lasting results, without a window, from tables: the row an
// attempt yields, the CSV format, names and folders, appending safely (also
// from two processes at once), and reading a folder back for the teacher.

#include "library/classlist.h"
#include "library/families.h"
#include "library/results.h"
#include "library/rowqueue.h"
#include "library/rowreader.h"
#include "library/textfile.h"
#include "tests/resultsrows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;
using results::Row;

namespace {

const QByteArray ShortHeaderLine =
    "fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;palabras_con_fallo;ayuda;fallos\r\n";
const QByteArray HeaderLine = "fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;"
                              "palabras_con_fallo;ayuda;fallos;escrito;familias;acertadas\r\n";
const QByteArray Bom = "\xEF\xBB\xBF";

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

Row sampleRow()
{
    Row row;
    row.date = QDate(2026, 3, 9);
    row.time = QTime(10, 5, 7);
    row.pupil = u"María López"_s;
    row.exercise = u"06 B y V (3.º y 4.º)"_s;
    row.item = 2;
    row.finished = true;
    row.inTime = true;
    row.seconds = 95;
    row.corrected = 3;
    row.failed = 2;
    row.help = false;
    row.setFailures({u"vaca"_s, u"burro,"_s});
    row.setWritten({u"baca"_s, u"-"_s});
    row.setFamilies({u"b/v"_s, u"otra"_s});
    row.setRightFirstTime({u"Madrid"_s});
    return row;
}

// --- CSV fields and rows -----------------------------------------------------

struct FieldCase {
    const char* name;
    QString value;
    QString field;
};

class CsvField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvField, IsQuotedOnlyWhenItMustBe)
{
    EXPECT_EQ(results::csvField(GetParam().value), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvField,
    ::testing::Values(FieldCase{"Plain", u"01 Mayúsculas (1.º y 2.º)"_s, u"01 Mayúsculas (1.º y 2.º)"_s},
                      FieldCase{"Semicolon", u"B; V"_s, u"\"B; V\""_s},
                      FieldCase{"Quote", u"El \"perro\""_s, u"\"El \"\"perro\"\"\""_s},
                      FieldCase{"CurlyQuotesNeedNone", u"«hola» “sí”"_s, u"«hola» “sí”"_s},
                      FieldCase{"LineBreaksBecomeSpaces", u"dos\r\nlíneas\ty"_s, u"dos  líneas y"_s},
                      FieldCase{"Empty", QString(), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsRow, IsOneLineInUtf8EndingInCrLf)
{
    EXPECT_EQ(results::encodeRow(sampleRow()),
              u"2026-03-09;10:05:07;María López;06 B y V (3.º y 4.º);2;sí;sí;95;3;2;no;vaca burro,;baca -;b/v otra;"
              u"Madrid\r\n"_s.toUtf8());
}

TEST(ResultsRow, RowsOfTheShortFormatAreStillRead)
{
    const std::optional<Row> row =
        results::parseRow(u"2026-03-09;10:05:07;María López;06 B y V (3.º y 4.º);2;sí;sí;95;3;2;no;vaca burro,"_s);
    Row expected = sampleRow();
    expected.setWritten({});
    expected.setFamilies({});
    expected.setRightFirstTime({});
    EXPECT_EQ(row, expected);
}

TEST(ResultsRow, ACarriageReturnLeftAtTheEndIsNoPartOfTheRow)
{
    // A CR LF file converted twice ends its lines in CR CR LF: the reader
    // takes one CR off, the row's normal form the other.
    QString text = QString::fromUtf8(results::encodeRow(sampleRow()));
    text.chop(1);
    EXPECT_EQ(results::parseRow(text), sampleRow());
}

// The row's normal form: what writing gives, and what reading gives back.
struct NormalCase {
    const char* name;
    std::function<void(Row&)> write;   // changes the sample row written
    std::function<void(Row&)> normal;  // the same change as read back
};

class RowNormalForm : public ::testing::TestWithParam<NormalCase> {};

TEST_P(RowNormalForm, IsWhatAWrittenRowReadsBackAs)
{
    Row written = sampleRow();
    GetParam().write(written);
    Row expected = sampleRow();
    GetParam().normal(expected);
    EXPECT_EQ(results::normalised(written), expected);
    QString line = QString::fromUtf8(results::encodeRow(written));
    ASSERT_TRUE(line.endsWith(u"\r\n"_s));
    line.chop(2);
    EXPECT_FALSE(line.contains(u'\n') || line.contains(u'\r') || line.contains(u'\t'));
    EXPECT_EQ(results::parseRow(line), expected);
    EXPECT_EQ(results::normalised(expected), expected) << "the normal form is its own";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowNormalForm,
    ::testing::Values(
        NormalCase{"ATabInsideAFailedWordIsRemoved",
                   [](Row& r) {
                       r.setFailures({u"va\tca"_s, u"burro,"_s});
                       r.setWritten({u"ba\r\nca"_s, u"-"_s});
                   },
                   [](Row&) {}},
        NormalCase{"ASpaceInsideAWordKeepsItOneWord",
                   [](Row& r) { r.setRightFirstTime({u"Ma drid"_s, u"sol"_s}); },
                   [](Row& r) { r.setRightFirstTime({u"Madrid"_s, u"sol"_s}); }},
        NormalCase{"ControlCharactersInAnExerciseBecomeSpaces",
                   [](Row& r) { r.exercise = u"06 B\ry\x01V"_s; },
                   [](Row& r) { r.exercise = u"06 B y V"_s; }},
        NormalCase{"FormulaCharactersStartNoTextField",
                   [](Row& r) { r.pupil = u"=HIPERVINCULO(\"x\")"_s; r.exercise = u"@SUMA(A1)"_s; },
                   [](Row& r) { r.pupil = u"HIPERVINCULO(\"x\")"_s; r.exercise = u"SUMA(A1)"_s; }},
        NormalCase{"ADecomposedNameIsComposed",
                   [](Row& r) { r.pupil = u"Jose\u0301"_s; },
                   [](Row& r) { r.pupil = u"José"_s; }},
        NormalCase{"ALongNameIsCutBeforeAnEmoji",
                   [](Row& r) { r.pupil = QString(99, u'a') + u"😀 b"_s; },
                   [](Row& r) { r.pupil = QString(99, u'a'); }},
        NormalCase{"NotFinishedIsNotInTime",
                   [](Row& r) { r.finished = false; },
                   [](Row& r) { r.finished = false; r.inTime = false; }},
        NormalCase{"AnEmptiedWordIsADashAndAnUnknownFamilyOtra",
                   [](Row& r) { r.setWritten({u"\t"_s}); r.setFamilies({}); },
                   [](Row& r) { r.setWritten({u"-"_s, u"-"_s}); r.setFamilies({u"otra"_s, u"otra"_s}); }},
        NormalCase{"AnEmptyFailedWordGoesWithItsDetails",
                   [](Row& r) { r.setFailures({u"\x07"_s, u"burro,"_s}); },
                   [](Row& r) { r.setFailures({u"burro,"_s}); r.setWritten({u"-"_s}); r.setFamilies({u"otra"_s}); }},
        NormalCase{"NoDetailsStayNone",
                   [](Row& r) { r.setWritten({}); r.setFamilies({}); },
                   [](Row& r) { r.setWritten({}); r.setFamilies({}); }},
        NormalCase{"MillisecondsAreNotKept",
                   [](Row& r) { r.time = QTime(10, 5, 7, 999); },
                   [](Row&) {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsRow, QuotesAnExerciseNameWithSemicolonsAndQuotes)
{
    Row row = sampleRow();
    row.exercise = u"07 \"Comillas\"; rayas"_s;
    row.setFailures({u"«Hola»;"_s});
    const QByteArray line = results::encodeRow(row);
    EXPECT_TRUE(line.contains(u";\"07 \"\"Comillas\"\"; rayas\";"_s.toUtf8())) << line.toStdString();
    EXPECT_TRUE(line.contains(u";\"«Hola»;\";"_s.toUtf8())) << line.toStdString();
    // And it reads back as it was, with one written form and family for
    // its one failed word.
    QString text = QString::fromUtf8(line);
    text.chop(2);
    row.setWritten({u"baca"_s});
    row.setFamilies({u"b/v"_s});
    EXPECT_EQ(results::parseRow(text), row);
}

TEST(ResultsRow, ReadsBackWhatItWrites)
{
    QString text = QString::fromUtf8(results::encodeRow(sampleRow()));
    text.chop(2);
    EXPECT_EQ(results::parseRow(text), sampleRow());
}

// A word list keeps its words packed (one space between two): they split
// back exactly as given, in their normal form, whichever list of a row.
struct WordListCase {
    const char* name;
    QStringList words;
    QString field;      // the list's field in a row
    QStringList split;  // what the list gives back
};

class WordListForm : public ::testing::TestWithParam<WordListCase> {};

TEST_P(WordListForm, SplitsBackToTheWordsGiven)
{
    const results::WordList list(GetParam().words);
    EXPECT_EQ(list.toList(), GetParam().split);
    EXPECT_EQ(list.size(), GetParam().split.size());
    EXPECT_EQ(list.joined(), GetParam().field);
    QStringList iterated;
    for (const QString& word : list)
        iterated.append(word);
    EXPECT_EQ(iterated, GetParam().split);
    // Each list of a row, the others around it holding words or none.
    const QStringList others[] = {{}, {u"vaca"_s, u"-"_s}};
    for (const QStringList& other : others) {
        Row row;
        row.setWords(list, other, other, other);
        EXPECT_EQ(row.failures().toList(), GetParam().split);
        EXPECT_EQ(row.written().toList(), other);
        row.setWords(other, other, other, other);
        row.setFamilies(list);
        EXPECT_EQ(row.families().toList(), GetParam().split);
        EXPECT_EQ(row.rightFirstTime().toList(), other);
        row.setRightFirstTime(list);
        EXPECT_EQ(row.rightFirstTime().toList(), GetParam().split);
        EXPECT_EQ(row.families().toList(), GetParam().split);
        EXPECT_EQ(row.failures().toList(), other);
        EXPECT_EQ(row.failures().size(), other.size());
        EXPECT_EQ(row.holdsListLongerThan(2), GetParam().split.size() > 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordListForm,
    ::testing::Values(WordListCase{"Words", {u"vaca"_s, u"burro,"_s}, u"vaca burro,"_s, {u"vaca"_s, u"burro,"_s}},
                      WordListCase{"None", {}, {}, {}},
                      WordListCase{"AnEmptiedBox", {u"-"_s}, u"-"_s, {u"-"_s}},
                      WordListCase{"Accents", {u"camión"_s, u"«Ñandú»"_s}, u"camión «Ñandú»"_s,
                                   {u"camión"_s, u"«Ñandú»"_s}},
                      WordListCase{"ASpaceInsideAWordKeepsItOneWord", {u"Ma drid"_s, u"sol"_s}, u"Madrid sol"_s,
                                   {u"Madrid"_s, u"sol"_s}},
                      WordListCase{"ControlCharactersGo", {u"va\tca\u2028"_s}, u"vaca"_s, {u"vaca"_s}},
                      WordListCase{"AnEmptyWordIsKept", {QString()}, {}, {QString()}},
                      WordListCase{"EmptyWordsAmongOthers", {QString(), u"b"_s, u" "_s, u"c"_s}, u" b  c"_s,
                                   {QString(), u"b"_s, QString(), u"c"_s}},
                      WordListCase{"ManyWords", QString(u"a "_s).repeated(300).split(u' ', Qt::SkipEmptyParts),
                                   QString(u"a "_s).repeated(300).trimmed(),
                                   QString(u"a "_s).repeated(300).split(u' ', Qt::SkipEmptyParts)}),
    [](const auto& info) { return std::string(info.param.name); });

// A line read from a file's bytes is the row parseRow() gives for the line
// decoded; the lines in the program's own form are read straight from them.
struct BytesCase {
    const char* name;
    QByteArray line;
    bool straight;  // read without decoding the line
};

class RowFromBytes : public ::testing::TestWithParam<BytesCase> {};

TEST_P(RowFromBytes, IsTheRowOfTheLineDecoded)
{
    const QByteArray& line = GetParam().line;
    const QString decoded = results::isUtf8(line) ? QString::fromUtf8(line) : textfile::decodeWindows1252(line);
    results::RowReader reader;
    const std::optional<Row> row = reader.read(line);
    EXPECT_EQ(row, results::parseRow(decoded));
    EXPECT_EQ(reader.readPlain(line).has_value(), GetParam().straight);
    if (GetParam().straight) {
        EXPECT_EQ(reader.readPlain(line), row);
    }
    EXPECT_EQ(reader.read(line), row) << "read again, with the names known";
}

const QByteArray Start = "2026-03-09;10:05:07;María López;06 B y V;2;sí;sí;95;3;2;no;";

INSTANTIATE_TEST_SUITE_P(
    Cases, RowFromBytes,
    ::testing::Values(
        BytesCase{"Written", results::encodeRow(sampleRow()).chopped(2), true},
        BytesCase{"TwelveFields", Start + "vaca burro,", true},
        BytesCase{"NoFailures", Start + ";;;", true},
        BytesCase{"OnlyRightFirstTime", Start + ";;;Madrid sol", true},
        BytesCase{"AFormulaStartingTheName", "2026-03-09;10:05:07;=Ana;@06;2;sí;sí;95;3;2;no;vaca;baca;b/v;", true},
        BytesCase{"InTimeButNotFinished", "2026-03-09;10:05:07;Ana;06;2;no;sí;95;3;2;no;;;;", true},
        BytesCase{"ControlsInTheName", "2026-03-09;10:05:07;An\ta\x7F;06\x01;2;sí;sí;95;3;2;no;;;;", true},
        BytesCase{"AQuotedExercise", "2026-03-09;10:05:07;Ana;\"06; B\";2;sí;sí;95;3;2;no;vaca;baca;b/v;", false},
        BytesCase{"TwoSpacesBetweenWords", Start + "vaca  burro,;baca -;b/v otra;", false},
        BytesCase{"ASpaceBeforeTheWords", Start + " vaca;baca;b/v;", false},
        BytesCase{"ATabInAWord", Start + "va\tca;baca;b/v;", false},
        BytesCase{"ANextLineInAWord", Start + "vaca;ba\xC2\x85" "ca;b/v;", false},
        BytesCase{"ALineSeparatorInAWord", Start + "vaca;baca;b/v;Ma\xE2\x80\xA8" "drid", false},
        BytesCase{"AControlCharacterAlone", Start + "vaca \x07;baca -;b/v otra;", false},
        BytesCase{"FewerFormsThanFailures", Start + "vaca burro,;baca;b/v otra;", false},
        BytesCase{"FormsWithoutFailures", Start + ";baca;b/v;", false},
        BytesCase{"MoreFamiliesThanFailures", Start + "vaca;baca;b/v otra;", false},
        BytesCase{"Windows1252", "2026-03-09;10:05:07;Mar\xED" "a;06;2;s\xED;s\xED;95;3;2;no;cami\xF3n;;;", false},
        BytesCase{"BadYesNo", "2026-03-09;10:05:07;Ana;06;2;si;sí;95;3;2;no;;;;", false},
        BytesCase{"BadTime", "2026-03-09;24:05:07;Ana;06;2;sí;sí;95;3;2;no;;;;", false},
        BytesCase{"ACountOfNineteenDigits", "2026-03-09;10:05:07;Ana;06;1234567890123456789;sí;sí;95;3;2;no;;;;", false},
        BytesCase{"LargestCount", "2026-03-09;10:05:07;Ana;06;999999999999999999;sí;sí;95;3;2;no;;;;", true},
        BytesCase{"MoreCorrectedThanAnIntHolds", "2026-03-09;10:05:07;Ana;06;2;sí;sí;95;3000000000;2;no;;;;", false},
        BytesCase{"ThirteenFields", Start + "vaca;baca", false},
        BytesCase{"SixteenFields", Start + "vaca;baca;b/v;;", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadLine {
    const char* name;
    QString line;
};

class NotARow : public ::testing::TestWithParam<BadLine> {};

TEST_P(NotARow, IsRefused)
{
    EXPECT_EQ(results::parseRow(GetParam().line), std::nullopt);
    EXPECT_EQ(results::RowReader().read(GetParam().line.toUtf8()), std::nullopt) << "read from a file's bytes";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotARow,
    ::testing::Values(BadLine{"TheHeader", QString::fromLatin1(results::Header)},
                      BadLine{"CutShort", u"2026-03-09;10:05:07;Ana;01;1;sí;s"_s},
                      BadLine{"TheShortHeader", QString::fromLatin1(ShortHeaderLine).trimmed()},
                      BadLine{"ThirteenFields", u"2026-03-09;10:05:07;Ana;01;1;sí;sí;9;1;0;no;;x"_s},
                      BadLine{"SixteenFields", u"2026-03-09;10:05:07;Ana;01;1;sí;sí;9;1;0;no;;;;;x"_s},
                      BadLine{"BadDate", u"2026-13-09;10:05:07;Ana;01;1;sí;sí;9;1;0;no;"_s},
                      BadLine{"BadYesNo", u"2026-03-09;10:05:07;Ana;01;1;si;sí;9;1;0;no;"_s},
                      BadLine{"NegativeCount", u"2026-03-09;10:05:07;Ana;01;1;sí;sí;-9;1;0;no;"_s},
                      BadLine{"UnclosedQuote", u"2026-03-09;10:05:07;\"Ana;01;1;sí;sí;9;1;0;no;"_s},
                      BadLine{"ForeignCsv", u"nombre,nota\r"_s}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The attempt at one text -------------------------------------------------

// Events fed to an attempt: p<k> picks word k, r<k>/w<k>/u<k> judges it
// right (typed correct), wrong (typed the correct word and an x) or unchanged
// (typed as shown), e<k> judges it wrong with the box emptied, h opens the
// help view.
struct AttemptCase {
    const char* name;
    QStringList events;
    bool finished;
    int corrected;
    int failed;
    QStringList failures;
    bool help;
    QStringList written = {};
    QStringList rightFirstTime = {};
};

const QStringList AttemptCorrect{u"Mi"_s, u"perro"_s, u"come"_s, u"Es"_s, u"mío"_s, u"árbol."_s};
const QStringList AttemptShown{u"Mi"_s, u"pero"_s, u"come"_s, u"Es"_s, u"mio"_s, u"arbol."_s};

class AttemptRow : public ::testing::TestWithParam<AttemptCase> {};

TEST_P(AttemptRow, CountsWhatThePupilDid)
{
    const QDateTime loaded(QDate(2026, 3, 9), QTime(9, 0, 0));
    results::Attempt attempt;
    attempt.start(u"01 Animales"_s, 4, AttemptCorrect, AttemptShown, loaded);
    for (const QString& e : GetParam().events) {
        const int k = e.mid(1).toInt();
        switch (e.at(0).unicode()) {
        case 'p': attempt.pick(k); break;
        case 'r': attempt.judge(k, Judgement::Right, AttemptCorrect[k]); break;
        case 'w': attempt.judge(k, Judgement::Wrong, AttemptCorrect[k] + u'x'); break;
        case 'e': attempt.judge(k, Judgement::Wrong, QString()); break;
        case 'u': attempt.judge(k, Judgement::Unchanged, AttemptShown[k]); break;
        case 'h': attempt.openHelp(); break;
        }
    }
    const std::optional<Row> row = attempt.finish(GetParam().finished, true, u"Ana"_s, loaded.addSecs(75));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->corrected, GetParam().corrected);
    EXPECT_EQ(row->failed, GetParam().failed);
    EXPECT_EQ(row->failures(), GetParam().failures);
    EXPECT_EQ(row->written(), GetParam().written);
    EXPECT_EQ(row->rightFirstTime(), GetParam().rightFirstTime);
    // The family of each failed word is that of the misspelling shown.
    ASSERT_EQ(row->families().size(), row->failures().size());
    for (qsizetype i = 0; i < row->failures().size(); ++i) {
        const qsizetype k = AttemptCorrect.indexOf(row->failures()[i]);
        EXPECT_EQ(row->families()[i], families::pairTokens(AttemptCorrect[k], AttemptShown[k]));
    }
    EXPECT_EQ(row->help, GetParam().help);
    EXPECT_EQ(row->finished, GetParam().finished);
    EXPECT_EQ(row->inTime, GetParam().finished);
    EXPECT_EQ(row->seconds, 75);
    EXPECT_EQ(row->exercise, u"01 Animales"_s);
    EXPECT_EQ(row->item, 4);
    EXPECT_EQ(row->time, QTime(9, 1, 15));
    EXPECT_FALSE(attempt.active());
    EXPECT_EQ(attempt.finish(true, true, u"Ana"_s, loaded), std::nullopt) << "one row per attempt";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttemptRow,
    ::testing::Values(
        AttemptCase{"RightAtOnce", {"p1", "r1", "p4", "r4"}, true, 2, 0, {}, false, {}, {"perro", "mío"}},
        AttemptCase{"RedWhileRetypingIsNoFailure", {"p1", "w1", "w1", "u1", "w1", "r1"}, true, 1, 0, {}, false, {},
                    {"perro"}},
        AttemptCase{"LeftRedForAnotherWord", {"p1", "w1", "p4", "r4", "p1", "r1"}, true, 2, 1, {"perro"}, false,
                    {"perrox"}, {"mío"}},
        AttemptCase{"PickedAgainWhileRedIsNoLeaving", {"p1", "w1", "p1", "r1"}, true, 1, 0, {}, false, {}, {"perro"}},
        AttemptCase{"LeftRedTwiceCountsOnceWithItsLastForm", {"p1", "w1", "p4", "p1", "e1", "p4"}, false, 0, 1,
                    {"perro"}, false, {"-"}},
        AttemptCase{"RedWhenHelpOpens", {"p4", "w4", "h"}, false, 0, 1, {"mío"}, true, {"míox"}},
        AttemptCase{"HelpWithNothingRed", {"h", "p1", "r1"}, true, 1, 0, {}, true, {}, {"perro"}},
        AttemptCase{"RedWhenTheTextIsLeft", {"p5", "w5"}, false, 0, 1, {"árbol."}, false, {"árbol.x"}},
        AttemptCase{"AnEmptiedBoxIsADash", {"p5", "e5"}, false, 0, 1, {"árbol."}, false, {"-"}},
        AttemptCase{"BlackAgainIsNoFailure", {"p5", "w5", "u5", "p1"}, false, 0, 0, {}, false},
        AttemptCase{"FailuresInTextOrder", {"p4", "w4", "p1", "w1", "p0"}, false, 0, 2, {"perro", "mío"}, false,
                    {"perrox", "míox"}},
        AttemptCase{"BlueThenRedAgain", {"p1", "r1", "w1", "p2"}, false, 1, 1, {"perro"}, false, {"perrox"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttemptRow, OutOfTimeWhenTheCountdownRanOut)
{
    results::Attempt attempt;
    const QDateTime t(QDate(2026, 3, 9), QTime(9, 0, 0));
    attempt.start(u"x"_s, 1, {u"a"_s}, {u"a"_s}, t);
    attempt.pick(0);
    const std::optional<Row> row = attempt.finish(true, false, u"Ana"_s, t);
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->finished);
    EXPECT_FALSE(row->inTime);
}

TEST(AttemptRow, AClockGoingBackGivesNoNegativeSeconds)
{
    results::Attempt attempt;
    const QDateTime t(QDate(2026, 3, 9), QTime(9, 0, 0));
    attempt.start(u"x"_s, 1, {u"a"_s}, {u"a"_s}, t);
    EXPECT_EQ(attempt.finish(false, false, u"Ana"_s, t.addSecs(-3600))->seconds, 0);
}

TEST(AttemptRow, TheFamiliesAreThoseOfTheMisspellingShown)
{
    // "ombre" shown for "hombre": the pupil's own red form does not change
    // the family.
    results::Attempt attempt;
    const QDateTime t(QDate(2026, 3, 9), QTime(9, 0, 0));
    attempt.start(u"x"_s, 1, {u"El"_s, u"hombre"_s, u"va"_s}, {u"el"_s, u"ombre"_s, u"ba"_s}, t);
    for (int k : {0, 1, 2}) {
        attempt.pick(k);
        attempt.judge(k, Judgement::Wrong, u"zz"_s);
    }
    const std::optional<Row> row = attempt.finish(false, false, u"Ana"_s, t);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->failures(), (QStringList{u"El"_s, u"hombre"_s, u"va"_s}));
    EXPECT_EQ(row->written(), (QStringList{u"zz"_s, u"zz"_s, u"zz"_s}));
    EXPECT_EQ(row->families(), (QStringList{u"mayúscula"_s, u"h"_s, u"b/v"_s}));
}

TEST(AttemptRow, TheProvisionalRowIsTheTextLeftNowAndTheAttemptGoesOn)
{
    results::Attempt attempt;
    const QDateTime t(QDate(2026, 3, 9), QTime(9, 0, 0));
    attempt.start(u"x"_s, 1, AttemptCorrect, AttemptShown, t);
    EXPECT_EQ(attempt.provisional(u"Ana"_s, t), std::nullopt) << "nothing picked yet";
    attempt.pick(1);
    attempt.judge(1, Judgement::Wrong, u"perox"_s);
    const std::optional<Row> now = attempt.provisional(u"Ana"_s, t.addSecs(5));
    ASSERT_TRUE(now);
    EXPECT_FALSE(now->finished);
    EXPECT_EQ(now->failures(), QStringList{u"perro"_s});
    EXPECT_EQ(now->seconds, 5);
    // The word is still being typed: it is no failure yet.
    attempt.judge(1, Judgement::Right, u"perro"_s);
    attempt.pick(4);
    const std::optional<Row> row = attempt.finish(false, false, u"Ana"_s, t.addSecs(9));
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->failures().isEmpty());
    EXPECT_EQ(row->rightFirstTime(), QStringList{u"perro"_s});
}

// --- Names, files and folders ------------------------------------------------

struct NameCase {
    const char* name;
    QString pupil;
    QString safe;
};

class SafeName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeName, HoldsOnlyLettersDigitsAndDashes)
{
    EXPECT_EQ(results::safeName(GetParam().pupil, u"alumno"_s), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeName,
    ::testing::Values(NameCase{"Accented", u"María José Núñez"_s, u"María-José-Núñez"_s},
                      NameCase{"Slashes", u"../../etc/passwd"_s, u"etc-passwd"_s},
                      NameCase{"Underscores", u"ana_b"_s, u"ana-b"_s},
                      NameCase{"Quotes", u"\"Pepe\" 2.º B"_s, u"Pepe-2-º-B"_s},
                      NameCase{"OnlySymbols", u"?*:"_s, u"alumno"_s},
                      NameCase{"Empty", QString(), u"alumno"_s},
                      NameCase{"Long", QString(200, u'a'), QString(60, u'a')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsNames, CleanNameKeepsNoFormulaNorControlCharacters)
{
    EXPECT_EQ(results::cleanName(u"  Ana \t  Pérez\n"_s), u"Ana Pérez"_s);
    EXPECT_EQ(results::cleanName(u"=HYPERLINK(\"x\")"_s), u"HYPERLINK(\"x\")"_s);
    EXPECT_EQ(results::cleanName(u"@-+ Luis"_s), u"Luis"_s);
    EXPECT_EQ(results::cleanName(u"Jose\u0301"_s), u"José"_s) << "one pupil however it was typed";
    EXPECT_EQ(results::cleanName(QString(99, u'a') + u"😀"_s), QString(99, u'a'))
        << "the cut never splits an emoji";
    EXPECT_EQ(results::cleanName(QString(98, u'a') + u"😀"_s), QString(98, u'a') + u"😀"_s);
    EXPECT_EQ(results::cleanName(QString(99, u'a') + u"e\u0301"_s), QString(99, u'a') + u"é"_s);
}

TEST(ResultsNames, FileIsMonthPupilAndMachine)
{
    EXPECT_EQ(results::fileName(QDate(2026, 3, 9), u"María López"_s, u"aula2-pc07-0a1b2c3d"_s),
              u"2026-03_María-López_aula2-pc07-0a1b2c3d.csv"_s);
    EXPECT_EQ(results::fileName(QDate(2026, 3, 31), u"Mari\u0301a Lo\u0301pez"_s, u"aula2-pc07-0a1b2c3d"_s, 2),
              u"2026-03_María-López_aula2-pc07-0a1b2c3d_2.csv"_s);
    EXPECT_EQ(results::fileName(QDate(2026, 3, 9), QString(), QString()), u"2026-03_alumno_equipo.csv"_s);
}

TEST(ResultsNames, TheMachineIsItsHostNameAndAHashOfItsId)
{
    const QString a = results::machinePart(u"aula2-pc07"_s, "0123456789abcdef0123456789abcdef\n");
    EXPECT_TRUE(a.startsWith(u"aula2-pc07-"_s)) << a.toStdString();
    EXPECT_EQ(a.size(), QString(u"aula2-pc07-"_s).size() + 8);
    EXPECT_EQ(results::machinePart(u"aula2-pc07"_s, "0123456789abcdef0123456789abcdef"), a) << "stable";
    // Cloned with one host name, each with its own id: two files.
    EXPECT_NE(results::machinePart(u"aula2-pc07"_s, "fedcba9876543210fedcba9876543210"), a);
    EXPECT_EQ(results::machinePart(u"aula 2/pc_07"_s, QByteArray()), u"aula-2-pc-07"_s);
    EXPECT_FALSE(results::thisMachine().contains(u'_'));
}

TEST(ResultsNames, TheAccountHasAName)
{
    EXPECT_FALSE(results::accountName().isEmpty());
}

struct FolderCase {
    const char* name;
    QString configured;
    QString content;
    bool isDefault;
};

class ResultsFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ResultsFolder, IsTheSettingOrTheDefault)
{
    const QString folder = results::resolveFolder(
        GetParam().configured, {GetParam().content, u"/home/ana/.local/share/miravellon/Ejercicios"_s});
    if (GetParam().isDefault)
        EXPECT_EQ(folder, results::defaultFolder());
    else
        EXPECT_EQ(folder, QDir::cleanPath(GetParam().configured));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultsFolder,
    ::testing::Values(FolderCase{"Unset", QString(), u"/usr/lib/miravellon"_s, true},
                      FolderCase{"Shared", u"/srv/aula/resultados/"_s, u"/usr/lib/miravellon"_s, false},
                      FolderCase{"Relative", u"resultados"_s, u"/usr/lib/miravellon"_s, true},
                      FolderCase{"InsideTheContent", u"/usr/lib/miravellon/Ejercicios"_s, u"/usr/lib/miravellon"_s, true},
                      FolderCase{"TheContentItself", u"/usr/lib/miravellon/"_s, u"/usr/lib/miravellon"_s, true},
                      FolderCase{"ContentSneakedIn", u"/usr/lib/x/../miravellon/r"_s, u"/usr/lib/miravellon"_s, true},
                      FolderCase{"InTheTeachersExercises",
                                 u"/home/ana/.local/share/miravellon/Ejercicios/resultados"_s,
                                 u"/usr/lib/miravellon"_s, true},
                      FolderCase{"BesideTheTeachersExercises", u"/home/ana/.local/share/miravellon/resultados"_s,
                                 u"/usr/lib/miravellon"_s, false},
                      FolderCase{"ANameThatOnlyStartsAlike", u"/usr/lib/miravellon-resultados"_s,
                                 u"/usr/lib/miravellon"_s, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsFolder, DefaultIsUnderXdgDataHome)
{
    EXPECT_EQ(results::defaultFolder(), qEnvironmentVariable("XDG_DATA_HOME") + u"/miravellon/resultados"_s);
}

// --- Appending ---------------------------------------------------------------

TEST(ResultsFile, ANewFileStartsWithTheMarkAndTheExactHeader)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sub/2026-03-09_Ana_pc.csv"_s);
    Row second = sampleRow();
    second.item = 3;
    ASSERT_TRUE(results::appendRow(path, sampleRow()));
    ASSERT_TRUE(results::appendRow(path, second));
    EXPECT_EQ(readAll(path), Bom + HeaderLine + results::encodeRow(sampleRow()) + results::encodeRow(second));
    // A row already there (same date, time, pupil, exercise and item) is
    // not written twice.
    EXPECT_EQ(results::appendToFile(path, second).result, results::Appended::AlreadyThere);
    EXPECT_EQ(readAll(path).count('\n'), 3);
}

TEST(ResultsFile, ACutLastLineIsNeverGluedToTheNextRow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"f.csv"_s);
    const QByteArray cut = Bom + HeaderLine + "2026-03-09;10:05:07;Ana;01 Anim";
    writeAll(path, cut);
    ASSERT_TRUE(results::appendRow(path, sampleRow()));
    EXPECT_EQ(readAll(path), cut + "\r\n" + results::encodeRow(sampleRow()));

    results::Folder folder = results::readFolder(dir.path());
    ASSERT_EQ(folder.rows.size(), 1);
    EXPECT_EQ(folder.rows.first(), sampleRow());
    EXPECT_EQ(folder.skippedLines, 1);
    EXPECT_EQ(folder.damagedFiles, QStringList{u"f.csv"_s});
}

TEST(ResultsFile, AnUnwritableFolderIsReportedNotFatal)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(results::appendRow(dir.filePath(u"f.csv"_s), sampleRow()));
    EXPECT_FALSE(results::appendRow(dir.filePath(u"sub/f.csv"_s), sampleRow()));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(ResultsFile, AFileInPlaceOfTheFolderIsReported)
{
    QTemporaryDir dir;
    writeAll(dir.filePath(u"carpeta"_s), "no");
    EXPECT_FALSE(results::appendRow(dir.filePath(u"carpeta/f.csv"_s), sampleRow()));
}

TEST(ResultsFile, AFullDiskLeavesNoCutRow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"f.csv"_s);
    ASSERT_TRUE(results::appendRow(path, sampleRow()));
    const QByteArray before = readAll(path);
    // The file may not grow past ten more bytes: the row is refused, and
    // what part of it was written is taken back.
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = rlim_t(before.size() + 10);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Row next = sampleRow();
    next.item = 9;
    const results::AppendOutcome out = results::appendToFile(path, next);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(out.result, results::Appended::Failed);
    EXPECT_FALSE(out.reason.isEmpty());
    EXPECT_EQ(readAll(path), before);
}

// --- A results folder shared with other pupils, who may plant things at a
// pupil's file name ------------------------------------------------------------

struct PlantCase {
    const char* name;
    // Plants something at `path`; `outside` is a folder beside the results
    // folder, where a victim's file may be.
    std::function<void(const QString& path, const QString& outside)> plant;
    results::Appended result;
    int sibling;  // the file the row goes to
    bool needsRoot = false;
};

class HostileResultsFolder : public ::testing::TestWithParam<PlantCase> {};

TEST_P(HostileResultsFolder, ThePlantIsLeftAloneAndTheRowGoesToASibling)
{
    if (GetParam().needsRoot && ::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another account";
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"resultados"_s);
    const QString outside = dir.filePath(u"privado"_s);
    QDir().mkpath(folder);
    QDir().mkpath(outside);
    writeAll(outside + u"/notas.csv"_s, "privado\n");
    const Row row = sampleRow();
    const QString machine = u"pc07-0a1b2c3d"_s;
    const QString first = QDir(folder).filePath(results::fileName(row.date, row.pupil, machine));
    GetParam().plant(first, outside);
    const QDateTime victimTime = QFileInfo(outside + u"/notas.csv"_s).lastModified();

    const results::AppendOutcome out = results::appendToPupilFile(folder, machine, row);
    EXPECT_EQ(out.result, GetParam().result) << out.reason.toStdString();
    EXPECT_EQ(readAll(outside + u"/notas.csv"_s), "privado\n");
    EXPECT_EQ(QFileInfo(outside + u"/notas.csv"_s).lastModified(), victimTime);
    EXPECT_EQ(QDir(outside).entryList(QDir::Files), QStringList{u"notas.csv"_s}) << "nothing made outside";
    if (GetParam().result == results::Appended::Written) {
        const QString used = QDir(folder).filePath(results::fileName(row.date, row.pupil, machine, GetParam().sibling));
        EXPECT_EQ(out.path, used);
        EXPECT_EQ(readAll(used), Bom + HeaderLine + results::encodeRow(row));
    }
}

void link(const QString& target, const QString& path)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
}

QString sibling(const QString& path, int n)
{
    return path.chopped(4) + u'_' + QString::number(n) + u".csv"_s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileResultsFolder,
    ::testing::Values(
        PlantCase{"NothingPlanted", [](const QString&, const QString&) {}, results::Appended::Written, 1},
        PlantCase{"ALinkToAnotherPupilsFile",
                  [](const QString& p, const QString& o) { link(o + u"/notas.csv"_s, p); },
                  results::Appended::Written, 2},
        PlantCase{"ALinkToAFileNotYetThere",
                  [](const QString& p, const QString& o) { link(o + u"/nuevo.csv"_s, p); },
                  results::Appended::Written, 2},
        PlantCase{"ALinkToAFolder", [](const QString& p, const QString& o) { link(o, p); },
                  results::Appended::Written, 2},
        PlantCase{"AFolder", [](const QString& p, const QString&) { QDir().mkpath(p + u"/dentro"_s); },
                  results::Appended::Written, 2},
        PlantCase{"APipe",
                  [](const QString& p, const QString&) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0666), 0); },
                  results::Appended::Written, 2},
        PlantCase{"AnotherAccountsFile",
                  [](const QString& p, const QString&) {
                      writeAll(p, "\xEF\xBB\xBF" "basura\r\n");
                      ASSERT_EQ(::chown(QFile::encodeName(p).constData(), 65534, 65534), 0);
                      ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0666), 0);
                  },
                  results::Appended::Written, 2, true},
        PlantCase{"TwoNamesTaken",
                  [](const QString& p, const QString& o) {
                      link(o + u"/notas.csv"_s, p);
                      QDir().mkpath(sibling(p, 2));
                  },
                  results::Appended::Written, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostileResultsFolders, AHeldLockKeepsTheRowForLaterWithinABound)
{
    QTemporaryDir dir;
    const Row row = sampleRow();
    const QString path = dir.filePath(results::fileName(row.date, row.pupil, u"pc"_s));
    writeAll(path, Bom + HeaderLine);
    // Another program (any account that can read the file) holds its lock.
    const int holder = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_EQ(results::appendToPupilFile(dir.path(), u"pc"_s, row).result, results::Appended::Busy);
    EXPECT_EQ(readAll(path), Bom + HeaderLine);
    ::close(holder);
    EXPECT_EQ(results::appendToPupilFile(dir.path(), u"pc"_s, row).result, results::Appended::Written);
    EXPECT_EQ(readAll(path), Bom + HeaderLine + results::encodeRow(row));
}

// --- The queue of rows on their way --------------------------------------------

class RowQueueTest : public ::testing::Test {
protected:
    Row rowAt(int minute, bool finished = true) const
    {
        Row row = sampleRow();
        row.time = QTime(10, minute, 0);
        row.finished = finished;
        return row;
    }
    QString file() const { return QDir(folder).filePath(results::fileName(sampleRow().date, sampleRow().pupil, u"pc"_s)); }
    QByteArray rows() const { return readAll(file()); }

    QTemporaryDir dir;
    const QString queue = dir.filePath(u"pendientes"_s);
    const QString folder = dir.filePath(u"resultados"_s);
};

TEST_F(RowQueueTest, ARowRefusedWaitsAndIsWrittenOnceAtTheNextRow)
{
    writeAll(folder, "un archivo donde va la carpeta");
    std::atomic<int> refusals = 0;
    {
        results::RowQueue q(queue, folder, u"pc"_s);
        q.onRefused([&refusals] { ++refusals; });
        q.add(rowAt(1));
        ASSERT_TRUE(q.waitIdle(5000));
        EXPECT_EQ(q.waiting(), 1);
        EXPECT_GE(refusals, 1);
        QFile::remove(folder);
        q.add(rowAt(2));
        ASSERT_TRUE(q.waitIdle(5000));
        EXPECT_EQ(q.waiting(), 0);
    }
    EXPECT_EQ(rows(), Bom + HeaderLine + results::encodeRow(rowAt(1)) + results::encodeRow(rowAt(2)));
    results::RowQueue again(queue, folder, u"pc"_s);
    ASSERT_TRUE(again.waitIdle(5000));
    EXPECT_EQ(rows().count('\n'), 3) << "never twice";
}

TEST_F(RowQueueTest, TheTextUnderWayOfAProgramThatEndedIsWrittenOnceAsNotFinished)
{
    {
        results::RowQueue q(queue, folder, u"pc"_s);
        q.keepProvisional(rowAt(3, false));
        // Its thread done with the queue's first look: one still busy at the
        // end goes on (and keeps the program's lock) after the queue is gone,
        // which within one test process would hide the entry from the next.
        ASSERT_TRUE(q.waitIdle(5000));
        // The program ends without a word: a logout that took the display.
    }
    EXPECT_FALSE(QFile::exists(file()));
    {
        results::RowQueue next(queue, folder, u"pc"_s);
        ASSERT_TRUE(next.waitIdle(5000));
    }
    EXPECT_EQ(rows(), Bom + HeaderLine + results::encodeRow(rowAt(3, false)));
    results::RowQueue third(queue, folder, u"pc"_s);
    ASSERT_TRUE(third.waitIdle(5000));
    EXPECT_EQ(rows().count('\n'), 2) << "never twice";
    EXPECT_TRUE(QDir(queue).entryList({u"encurso_*"_s, u"fila_*"_s}, QDir::Files).isEmpty());
}

TEST_F(RowQueueTest, TheFinalRowReplacesTheProvisionalOne)
{
    results::RowQueue q(queue, folder, u"pc"_s);
    q.keepProvisional(rowAt(3, false));
    // Another program of the account starting meanwhile leaves it alone.
    {
        results::RowQueue other(queue, folder, u"pc"_s);
        ASSERT_TRUE(other.waitIdle(5000));
    }
    EXPECT_FALSE(QFile::exists(file()));
    q.add(rowAt(4));
    ASSERT_TRUE(q.waitIdle(5000));
    EXPECT_EQ(rows(), Bom + HeaderLine + results::encodeRow(rowAt(4)));
}

// Run by TwoProcessesAppendToOneFile in child processes only.
TEST(ResultsFile, WriterChild)
{
    const QString path = qEnvironmentVariable("MIRAVELLON_TEST_WRITER_FILE");
    if (path.isEmpty())
        GTEST_SKIP() << "started by TwoProcessesAppendToOneFile";
    Row row = sampleRow();
    row.pupil = qEnvironmentVariable("MIRAVELLON_TEST_WRITER_NAME");
    for (int i = 1; i <= 300; ++i) {
        row.item = i;
        // A lock held past the bound leaves the row for later, as the queue
        // does.
        results::Appended result = results::Appended::Busy;
        for (int tries = 0; tries < 100 && result == results::Appended::Busy; ++tries)
            result = results::appendToFile(path, row).result;
        ASSERT_EQ(result, results::Appended::Written);
    }
}

TEST(ResultsFile, TwoProcessesAppendToOneFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"2026-03-09_Ana_pc.csv"_s);
    QList<QProcess*> writers;
    for (const QString& name : {u"Ana"_s, u"Bruno"_s}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"MIRAVELLON_TEST_WRITER_FILE"_s, path);
        env.insert(u"MIRAVELLON_TEST_WRITER_NAME"_s, name);
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=ResultsFile.WriterChild"_s});
        writers.append(p);
    }
    for (QProcess* p : writers) {
        EXPECT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardOutput().toStdString();
        delete p;
    }
    const QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.startsWith(Bom + HeaderLine));
    EXPECT_EQ(bytes.count(HeaderLine), 1);
    results::Folder folder = results::readFolder(dir.path());
    EXPECT_EQ(folder.skippedLines, 0);
    ASSERT_EQ(folder.rows.size(), 600);
    // Each writer's rows are all there, whole and in its order.
    QMap<QString, qint64> last;
    for (const Row& row : folder.rows) {
        EXPECT_EQ(row.item, last[row.pupil] + 1) << row.pupil.toStdString();
        last[row.pupil] = row.item;
    }
    EXPECT_EQ(last.value(u"Ana"_s), 300);
    EXPECT_EQ(last.value(u"Bruno"_s), 300);
}

// --- Reading a folder back ---------------------------------------------------

class ResultsSummary : public ::testing::Test {
protected:
    ResultsSummary()
    {
        const QDate mon(2026, 3, 9);
        const QDate tue(2026, 3, 10);
        const QString bv = u"06 B y V (3.º y 4.º)"_s;
        const QString may = u"01 Mayúsculas (1.º y 2.º)"_s;
        write(u"2026-03-09_Ana_pc1.csv"_s, {rowOf(u"Ana"_s, mon, bv, true, true, 3, {u"vaca"_s, u"burro,"_s}),
                                            rowOf(u"Ana"_s, mon, may, false, false, 1, {u"Madrid."_s})});
        write(u"2026-03-10_Ana_pc2.csv"_s, {rowOf(u"Ana"_s, tue, bv, true, false, 2, {u"vaca"_s})});
        write(u"2026-03-10_Bruno_pc1.csv"_s, {rowOf(u"Bruno"_s, tue, bv, true, true, 4, {u"«vaca»"_s, u"hoy"_s})});
        // Damaged: a good row, then a line of another program, then a cut one.
        QByteArray damaged = Bom + HeaderLine
            + results::encodeRow(rowOf(u"Carla"_s, tue, may, true, true, 1, {})) + "basura;;\r\n"
            + "2026-03-10;12:00:00;Carla;01";
        writeAll(dir.filePath(u"2026-03-10_Carla_pc3.csv"_s), damaged);
        writeAll(dir.filePath(u"notas.csv"_s), "nombre,nota\r\nAna,9\r\n");
        writeAll(dir.filePath(u"léame.txt"_s), "no es un archivo de resultados");
        folder = results::readFolder(dir.path());
    }
    void write(const QString& name, const QList<Row>& rows)
    {
        for (const Row& row : rows)
            ASSERT_TRUE(results::appendRow(dir.filePath(name), row));
    }
    QTemporaryDir dir;
    results::Folder folder;
};

TEST_F(ResultsSummary, SkipsAndCountsWhatItCannotRead)
{
    EXPECT_EQ(folder.rows.size(), 5);
    EXPECT_EQ(folder.skippedLines, 4);  // basura, the cut line, both lines of notas.csv
    EXPECT_EQ(folder.damagedFiles, (QStringList{u"2026-03-10_Carla_pc3.csv"_s, u"notas.csv"_s}));
}

TEST_F(ResultsSummary, PerPupil)
{
    const QList<results::PupilSummary> all = results::summarize(folder.rows, {});
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0], (results::PupilSummary{u"Ana"_s, 2, 3, 2, 1, 6, 4}));
    EXPECT_EQ(all[1], (results::PupilSummary{u"Bruno"_s, 1, 1, 1, 1, 4, 2}));
    EXPECT_EQ(all[2], (results::PupilSummary{u"Carla"_s, 1, 1, 1, 1, 1, 0}));
}

TEST_F(ResultsSummary, FilteredByDateAndExercise)
{
    results::Filter monday{QDate(2026, 3, 9), QDate(2026, 3, 9), QString()};
    const QList<results::PupilSummary> one = results::summarize(folder.rows, monday);
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0], (results::PupilSummary{u"Ana"_s, 1, 2, 1, 1, 4, 3}));

    results::Filter bv{QDate(), QDate(), u"06 B y V (3.º y 4.º)"_s};
    const QList<results::PupilSummary> two = results::summarize(folder.rows, bv);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0], (results::PupilSummary{u"Ana"_s, 2, 2, 2, 1, 5, 3}));
    EXPECT_EQ(results::exercises(folder.rows),
              (QStringList{u"01 Mayúsculas (1.º y 2.º)"_s, u"06 B y V (3.º y 4.º)"_s}));
}

TEST_F(ResultsSummary, MostFailedWordsWithoutTheirPunctuation)
{
    const QList<results::FailedWord> words = results::mostFailed(folder.rows, {}, 3);
    EXPECT_EQ(words, (QList<results::FailedWord>{{u"vaca"_s, 3, {u"sin familia"_s}},
                                                 {u"burro"_s, 1, {u"sin familia"_s}},
                                                 {u"hoy"_s, 1, {u"sin familia"_s}}}));
}

TEST_F(ResultsSummary, ExportsTheTable)
{
    const QByteArray csv = results::summaryCsv(results::summarize(folder.rows, {}));
    EXPECT_TRUE(csv.startsWith(Bom + "alumno;dias;textos_empezados;textos_terminados;terminados_en_plazo;"
                                     "palabras_corregidas;palabras_con_fallo\r\n"));
    EXPECT_TRUE(csv.contains("\r\nAna;2;3;2;1;6;4\r\n"));
}

// --- A hostile folder read back ----------------------------------------------

const QByteArray GoodLine = "2026-03-09;11:00:00;Ana;06 B y V;1;sí;sí;60;3;1;no;vaca\r\n";

struct HostileCase {
    const char* name;
    // Plants the case's files in the folder (the good file is there already).
    std::function<void(const QString& folder)> plant;
    qsizetype rows;     // rows read, the good file's one included
    int skippedLines;
    QStringList inNote; // what the teacher's note says
    std::function<void(const results::Folder&)> check = nullptr;
};

class HostileResults : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileResults, AreSkippedAndTold)
{
    QTemporaryDir dir;
    writeAll(dir.filePath(u"2026-03-09_Ana_pc1.csv"_s), Bom + HeaderLine + GoodLine);
    GetParam().plant(dir.path());
    const results::Folder folder = results::readFolder(dir.path());
    EXPECT_EQ(folder.rows.size(), GetParam().rows);
    EXPECT_EQ(folder.skippedLines, GetParam().skippedLines);
    const QString note = results::skippedNote(folder);
    for (const QString& part : GetParam().inNote)
        EXPECT_TRUE(note.contains(part)) << note.toStdString() << " lacks " << part.toStdString();
    if (GetParam().inNote.isEmpty()) {
        EXPECT_EQ(note, QString());
    }
    // Whatever was planted, no field holds a control character.
    for (const Row& row : folder.rows) {
        for (const QString& field : QStringList{row.pupil, row.exercise} + row.failures() + row.written() + row.families()
                 + row.rightFirstTime()) {
            for (QChar c : field)
                EXPECT_NE(c.category(), QChar::Other_Control) << field.toStdString();
        }
        EXPECT_FALSE(row.inTime && !row.finished);
    }
    if (GetParam().check)
        GetParam().check(folder);
}

QByteArray manyFailures(int count)
{
    QByteArray words;
    for (int i = 0; i < count; ++i)
        words += (i ? " " : "") + QByteArray("palabra") + QByteArray::number(i);
    return "2026-03-09;12:00:00;Ana;06 B y V;2;sí;sí;60;3;" + QByteArray::number(count) + ";no;" + words + "\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileResults,
    ::testing::Values(
        HostileCase{"NothingPlanted", [](const QString&) {}, 1, 0, {}},
        HostileCase{"LinkToDevZero", [](const QString& d) { link(u"/dev/zero"_s, d + u"/x.csv"_s); }, 1, 0,
                   {u"no son archivos normales"_s, u"x.csv"_s}},
        HostileCase{"LinkToProc", [](const QString& d) { link(u"/proc/self/status"_s, d + u"/p.csv"_s); }, 1, 0,
                   {u"p.csv"_s}},
        HostileCase{"LinkToAGoodFile",
                   [](const QString& d) { link(d + u"/2026-03-09_Ana_pc1.csv"_s, d + u"/otro.csv"_s); }, 1, 0,
                   {u"otro.csv"_s}},
        HostileCase{"FolderNamedCsv", [](const QString& d) { QDir().mkpath(d + u"/dir.csv"_s); }, 1, 0,
                   {u"dir.csv"_s}},
        HostileCase{"Pipe",
                   [](const QString& d) { ASSERT_EQ(::mkfifo(QFile::encodeName(d + u"/fifo.csv"_s), 0600), 0); }, 1,
                   0, {u"fifo.csv"_s}},
        HostileCase{"TooLarge",
                   [](const QString& d) {
                       QFile f(d + u"/big.csv"_s);
                       ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                       ASSERT_TRUE(f.resize(results::MaxFileBytes + 1));
                   },
                   1, 0, {u"de más de 16 MB"_s, u"big.csv"_s}},
        HostileCase{"LineFeedsOnly",
                   [](const QString& d) { writeAll(d + u"/lf.csv"_s, QByteArray(4 * 1024 * 1024, '\n')); }, 1, 0, {}},
        HostileCase{"OneHugeLine",
                   [](const QString& d) {
                       writeAll(d + u"/h.csv"_s, GoodLine.left(50) + QByteArray(results::MaxLineBytes, 'a') + "\r\n");
                   },
                   1, 1, {u"demasiado largas"_s, u"h.csv"_s}, [](const results::Folder& f) { EXPECT_EQ(f.longLines, 1); }},
        HostileCase{"MarkupInAName",
                   [](const QString& d) { writeAll(d + u"/<h1 style='font-size:900px'>x<h1>.csv"_s, "basura\r\n"); },
                   1, 1, {u"(<h1 style='font-size:900px'>x<h1>.csv)"_s}},
        HostileCase{"ManyFailures", [](const QString& d) { writeAll(d + u"/m.csv"_s, manyFailures(5000)); }, 2, 0,
                   {u"primeras 200 palabras"_s},
                   [](const results::Folder& f) {
                       EXPECT_EQ(f.rows.last().failures().size(), results::MaxFailuresKept);
                       EXPECT_EQ(f.rows.last().failed, 5000);
                       EXPECT_EQ(f.cutRows, 1);
                   }},
        HostileCase{"InTimeButNotFinished",
                   [](const QString& d) {
                       writeAll(d + u"/t.csv"_s, "2026-03-09;12:00:00;Ana;06 B y V;2;no;sí;60;3;0;no;\r\n");
                   },
                   2, 0, {},
                   [](const results::Folder& f) {
                       const auto s = results::summarize(f.rows, {});
                       ASSERT_EQ(s.size(), 1);
                       EXPECT_EQ(s[0].finished, 1);
                       EXPECT_EQ(s[0].inTime, 1);
                   }},
        HostileCase{"CrCrLf",
                   [](const QString& d) {
                       writeAll(d + u"/cr.csv"_s, "2026-03-09;12:00:00;Ana;06 B y V;2;sí;sí;60;3;1;no;burro\r\r\n");
                   },
                   2, 0, {}, [](const results::Folder& f) { EXPECT_EQ(f.rows.last().failures(), QStringList{u"burro"_s}); }},
        HostileCase{"ControlCharacters",
                   [](const QString& d) {
                       writeAll(d + u"/c.csv"_s,
                                "2026-03-09;12:00:00;An\x01\x61;06\tB y V;2;sí;sí;60;3;2;no;bu\trro va\x7F\x63\x61\r\n");
                   },
                   2, 0, {},
                   [](const results::Folder& f) {
                       EXPECT_EQ(f.rows.last().pupil, u"An a"_s);
                       EXPECT_EQ(f.rows.last().exercise, u"06 B y V"_s);
                       EXPECT_EQ(f.rows.last().failures(), (QStringList{u"burro"_s, u"vaca"_s}));
                   }},
        HostileCase{"Windows1252",
                   [](const QString& d) {
                       writeAll(d + u"/w.csv"_s,
                                "fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;"
                                "palabras_con_fallo;ayuda;fallos\r\n"
                                "2026-03-09;12:00:00;Luc\xED" "a;06 B y V;2;s\xED;no;60;3;1;no;cami\xF3n\r\n");
                   },
                   2, 0, {},
                   [](const results::Folder& f) {
                       EXPECT_EQ(f.rows.last().pupil, u"Lucía"_s);
                       EXPECT_EQ(f.rows.last().failures(), QStringList{u"camión"_s});
                   }},
        HostileCase{"BeforeTheGregorianReformInBritain",
                   [](const QString& d) {
                       writeAll(d + u"/old.csv"_s, "1700-01-02;12:00:00;Ana;06 B y V;2;sí;sí;60;3;0;no;\r\n");
                   },
                   2, 0, {}, [](const results::Folder& f) { EXPECT_EQ(f.rows.last().date, QDate(1700, 1, 2)); }},
        HostileCase{"MonthNamingWithSibling",
                   [](const QString& d) { writeAll(d + u"/2026-03_Ana_pc1-1a2b_2.csv"_s, Bom + HeaderLine + GoodLine); },
                   2, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostileResults, AFileThisAccountCannotReadIsCounted)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads anything";
    QTemporaryDir dir;
    writeAll(dir.filePath(u"a.csv"_s), Bom + HeaderLine + GoodLine);
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(u"a.csv"_s), QFileDevice::WriteOwner));
    const results::Folder folder = results::readFolder(dir.path());
    EXPECT_EQ(folder.unreadableFiles, QStringList{u"a.csv"_s});
    EXPECT_TRUE(results::skippedNote(folder).contains(u"No tengo permiso para leer 1 archivo(s): a.csv."_s));
}

// A folder of more files than one batch of the readers: the rows, the files
// with damaged lines and the files set aside come in name order, whichever
// thread read them.
TEST(ResultsFolderOrder, ManyFilesReadInNameOrder)
{
    QTemporaryDir dir;
    constexpr int Files = 700;
    QStringList damaged;
    QStringList notFiles;
    for (int i = 0; i < Files; ++i) {
        const QString name = u"2026-03_Alumno-%1_pc.csv"_s.arg(i, 4, 10, QChar(u'0'));
        Row row = sampleRow();
        row.item = i;
        row.pupil = u"Alumno %1"_s.arg(i);
        QByteArray bytes = Bom + HeaderLine + results::encodeRow(row);
        if (i % 97 == 5) {
            bytes += "no es una fila\r\n";
            damaged.append(name);
        }
        if (i % 211 == 7) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(name));
            notFiles.append(name);
            continue;
        }
        writeAll(dir.filePath(name), bytes);
    }
    const results::Folder folder = results::readFolder(dir.path());
    ASSERT_EQ(folder.rows.size(), Files - notFiles.size());
    qint64 previous = -1;
    for (const Row& row : folder.rows) {
        EXPECT_GT(row.item, previous);
        EXPECT_EQ(row.pupil, u"Alumno %1"_s.arg(row.item));
        EXPECT_EQ(row.failures(), (QStringList{u"vaca"_s, u"burro,"_s}));
        previous = row.item;
    }
    EXPECT_EQ(folder.damagedFiles, damaged);
    EXPECT_EQ(folder.skippedLines, damaged.size());
    EXPECT_EQ(folder.notFiles, notFiles);
}

TEST(ResultsSums, NeverOverflow)
{
    Row big = rowOf(u"Ana"_s, QDate(2026, 3, 9), u"e"_s, true, true, std::numeric_limits<int>::max(), {});
    big.failed = std::numeric_limits<int>::max();
    const auto s = results::summarize({big, big, big}, {});
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].corrected, 3 * qint64(std::numeric_limits<int>::max()));
    EXPECT_EQ(s[0].failed, 3 * qint64(std::numeric_limits<int>::max()));
    EXPECT_TRUE(results::summaryCsv(s).contains(";6442450941;6442450941\r\n"));
}

TEST(ResultsExercises, ManyNamesListedOnceSorted)
{
    QList<Row> rows;
    for (int i = 99999; i >= 0; --i)
        rows.append(rowOf(u"Ana"_s, QDate(2026, 3, 9), u"ej%1"_s.arg(i, 6, 10, QChar(u'0')), true, true, 1, {}));
    rows.append(rows.first());
    const QStringList names = results::exercises(rows);
    ASSERT_EQ(names.size(), 100000);
    EXPECT_EQ(names.first(), u"ej000000"_s);
    EXPECT_EQ(names.last(), u"ej099999"_s);
}

// --- Spreadsheet exports -----------------------------------------------------

struct ExportCase {
    const char* name;
    QString text;
    QString field;
};

class ExportField : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ExportField, NeverStartsAFormula)
{
    EXPECT_EQ(results::exportField(GetParam().text), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportField,
    ::testing::Values(ExportCase{"Plain", u"vaca"_s, u"vaca"_s}, ExportCase{"Equals", u"=1+1"_s, u"'=1+1"_s},
                      ExportCase{"Plus", u"+34"_s, u"'+34"_s}, ExportCase{"EmptiedBox", u"- baca"_s, u"'- baca"_s},
                      ExportCase{"At", u"@SUM(A1)"_s, u"'@SUM(A1)"_s},
                      ExportCase{"Tab", u"\t=1"_s, u"' =1"_s},
                      ExportCase{"QuotedAfter", u"=HIPERVINCULO(\"x\";1)"_s, u"\"'=HIPERVINCULO(\"\"x\"\";1)\""_s},
                      ExportCase{"Inside", u"a=b"_s, u"a=b"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsExport, EveryTextFieldOfTheRowsIsSafe)
{
    Row row = rowOf(u"=Ana"_s, QDate(2026, 3, 9), u"+ejercicio"_s, true, true, 1, {u"@vaca"_s});
    row.setWritten({u"-"_s});
    row.setFamilies({u"b/v"_s});
    row.setRightFirstTime({u"=casa"_s});
    const QByteArray csv = results::rowsCsv({row}, {});
    EXPECT_TRUE(csv.startsWith(Bom + HeaderLine.chopped(2) + ";escrito;familias;acertadas\r\n"));
    EXPECT_TRUE(csv.endsWith(u"2026-03-09;11:00:00;'=Ana;'+ejercicio;1;sí;sí;60;1;1;no;'@vaca;'-;b/v;'=casa\r\n"_s.toUtf8()))
        << csv.toStdString();
    EXPECT_EQ(results::rowsCsv({row}, {QDate(2026, 3, 10), {}, {}}).count('\n'), 1);
}

// --- Pupils, families, weeks ---------------------------------------------------

struct KeyCase {
    const char* name;
    QString a;
    QString b;
    bool same;
};

class PupilKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(PupilKey, GroupsNamesByLettersOnly)
{
    EXPECT_EQ(results::pupilKey(GetParam().a) == results::pupilKey(GetParam().b), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PupilKey,
    ::testing::Values(KeyCase{"Case", u"lucía pérez"_s, u"LUCÍA PÉREZ"_s, true},
                      KeyCase{"Accents", u"Lucía Pérez"_s, u"Lucia Perez"_s, true},
                      KeyCase{"Decomposed", u"Lucía"_s, u"Luci\u0301a"_s, true},
                      KeyCase{"Spaces", u" Lucía  Pérez "_s, u"Lucía Pérez"_s, true},
                      KeyCase{"EnieIsNotN", u"Begoña"_s, u"Begona"_s, true},
                      KeyCase{"OtherPupil", u"Lucía"_s, u"Lucía Pérez"_s, false},
                      KeyCase{"OtherLetters", u"Ana"_s, u"Anna"_s, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClassList, GroupsSpellingsAndShowsWhoDidNothing)
{
    QTemporaryDir dir;
    writeAll(dir.filePath(u"alumnos.txt"_s), "\xEF\xBB\xBFLuc\xC3\xAD" "a P\xC3\xA9rez\r\n\r\n  Jorge  \nJORGE\n");
    const QStringList list = classlist::read(dir.path());
    EXPECT_EQ(list, (QStringList{u"Lucía Pérez"_s, u"Jorge"_s}));
    const QDate day(2026, 3, 9);
    const QList<Row> rows{rowOf(u"lucia perez"_s, day, u"e"_s, true, true, 1, {}),
                          rowOf(u"LUCÍA PÉREZ"_s, day.addDays(1), u"e"_s, true, false, 2, {u"vaca"_s}),
                          rowOf(u"Bea"_s, day, u"e"_s, false, false, 0, {}),
                          rowOf(u"bea"_s, day, u"e"_s, false, false, 0, {}),
                          rowOf(u"Béa"_s, day, u"e"_s, false, false, 0, {})};
    const QList<results::PupilSummary> s = results::summarize(rows, {}, list);
    ASSERT_EQ(s.size(), 3);
    // The spelling found most; on a tie, the first in code order.
    EXPECT_EQ(s[0], (results::PupilSummary{u"Bea"_s, 1, 3, 0, 0, 0, 0}));
    EXPECT_EQ(s[1], (results::PupilSummary{u"Jorge"_s, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(s[2], (results::PupilSummary{u"Lucía Pérez"_s, 2, 2, 2, 1, 3, 1}));
    EXPECT_TRUE(classlist::read(dir.filePath(u"no-existe"_s)).isEmpty());
}

Row familyRow(const QDate& date, const QStringList& failures, const QStringList& written, const QStringList& families)
{
    Row row = rowOf(u"Ana"_s, date, u"e"_s, true, true, 1, failures);
    row.setWritten(written);
    row.setFamilies(families);
    return row;
}

struct FailureCase {
    const char* name;
    Row row;
    QList<QStringList> families;  // per failure
    QStringList texts;            // per failure, as a teacher reads it
};

class FailureFamilies : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureFamilies, AreTheRowsNeverGuessed)
{
    const Row& row = GetParam().row;
    for (qsizetype i = 0; i < row.failures().size(); ++i) {
        EXPECT_EQ(results::familiesOfFailure(row, i), GetParam().families.value(i)) << i;
        EXPECT_EQ(results::failureText(row, i), GetParam().texts.value(i)) << i;
    }
}

const QDate Day(2026, 3, 9);

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureFamilies,
    ::testing::Values(
        FailureCase{"TwelveColumns", familyRow(Day, {u"hombre"_s}, {}, {}), {{u"sin familia"_s}}, {u"hombre"_s}},
        FailureCase{"OneFamily", familyRow(Day, {u"vaca"_s}, {u"baca"_s}, {u"b/v"_s}), {{u"b/v"_s}},
                    {u"vaca (escribió «baca»)"_s}},
        FailureCase{"TwoFamilies", familyRow(Day, {u"Hoy"_s}, {u"oy"_s}, {u"h+mayúscula"_s}),
                    {{u"h"_s, u"mayúsculas"_s}}, {u"Hoy (escribió «oy»)"_s}},
        FailureCase{"PartlyOther", familyRow(Day, {u"Hombre"_s}, {u"onbre"_s}, {u"h+mp/mb+otra"_s}),
                    {{u"h"_s, u"m antes de p y b"_s, u"otra"_s}}, {u"Hombre (escribió «onbre»)"_s}},
        FailureCase{"Other", familyRow(Day, {u"casa"_s}, {u"kasa"_s}, {u"otra"_s}), {{u"otra"_s}},
                    {u"casa (escribió «kasa»)"_s}},
        FailureCase{"Emptied", familyRow(Day, {u"vaca"_s, u"hoy"_s}, {u"-"_s, u"oy"_s}, {u"b/v"_s, u"h"_s}),
                    {{u"b/v"_s}, {u"h"_s}}, {u"vaca (lo borró)"_s, u"hoy (escribió «oy»)"_s}},
        FailureCase{"ShortList", familyRow(Day, {u"vaca"_s, u"hoy"_s}, {u"baca"_s}, {u"b/v"_s}),
                    {{u"b/v"_s}, {u"sin familia"_s}}, {u"vaca (escribió «baca»)"_s, u"hoy"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClassFamilies, CountsEachPupilsFailuresByFamily)
{
    QList<Row> rows{familyRow(Day, {u"vaca"_s, u"Hoy"_s}, {u"baca"_s, u"oy"_s}, {u"b/v"_s, u"h+mayúscula"_s}),
                    familyRow(Day.addDays(7), {u"vaca"_s}, {u"baca"_s}, {u"b/v"_s}),
                    rowOf(u"Bea"_s, Day, u"e"_s, true, true, 1, {u"hombre"_s})};
    const results::FamilyTable table = results::classFamilies(rows, {});
    EXPECT_EQ(table.families, (QStringList{u"b/v"_s, u"h"_s, u"mayúsculas"_s, u"sin familia"_s}));
    EXPECT_EQ(table.pupils, (QStringList{u"Ana"_s, u"Bea"_s}));
    EXPECT_EQ(table.counts, (QList<QList<qint64>>{{2, 1, 1, 0}, {0, 0, 0, 1}}));
    EXPECT_EQ(results::familyCounts(rows, {Day, Day, {}}),
              (QList<results::FamilyCount>{{u"b/v"_s, 1}, {u"h"_s, 1}, {u"mayúsculas"_s, 1}, {u"sin familia"_s, 1}}));
    EXPECT_EQ(results::mostFailed(rows, {}, 2),
              (QList<results::FailedWord>{{u"vaca"_s, 2, {u"b/v"_s}}, {u"hombre"_s, 1, {u"sin familia"_s}}}));
    const QList<Row> ana = results::pupilRows(rows, {}, results::pupilKey(u"ANA"_s));
    ASSERT_EQ(ana.size(), 2);
    EXPECT_EQ(results::weeklyProgress(ana), (QList<results::Week>{{Day, 1, 1, 2}, {Day.addDays(7), 1, 1, 1}}));
}

// A report lists a pupil's texts a day to a line: the day's texts, what
// she finished, corrected and failed, and every failure with what she wrote.
TEST(DailyProgress, TakesEachDaysTextsTogether)
{
    const QList<Row> rows{familyRow(Day, {u"vaca"_s, u"hoy"_s}, {u"baca"_s, u"-"_s}, {u"b/v"_s, u"h"_s}),
                          rowOf(u"Ana"_s, Day, u"e"_s, false, false, 3, {}),
                          rowOf(u"Ana"_s, Day.addDays(2), u"e"_s, true, false, 2, {u"hombre"_s}),
                          familyRow(Day.addDays(2), {u"Hoy"_s}, {u"oy"_s}, {u"h+mayúscula"_s})};
    const QList<results::Day> expected{
        {Day, 2, 1, 4, 2, {u"vaca (escribió «baca»)"_s, u"hoy (lo borró)"_s}},
        {Day.addDays(2), 2, 2, 3, 2, {u"hombre"_s, u"Hoy (escribió «oy»)"_s}}};
    EXPECT_EQ(results::dailyProgress(rows), expected);
    EXPECT_TRUE(results::dailyProgress({}).isEmpty());
}

}  // namespace
