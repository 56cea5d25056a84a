// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise library on real files in temporary folders: the catalogue, the
// path rules, the presence test, decoding, lines, words and the shown text;
// the settings table; the class list the name question offers.

#include "library/acceptedwords.h"
#include "library/catalogue.h"
#include "library/exerciseplace.h"
#include "library/classlist.h"
#include "library/settings.h"
#include "library/review.h"
#include "library/textfile.h"
#include "tests/support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

qsizetype spacesIn(const QString& text)
{
    return text.count(u' ');
}

// --- The catalogue -------------------------------------------------------

TEST(Catalogue, ListsOnlySubfoldersSortedIgnoringCaseWithStoredNames)
{
    TempTree tree;
    for (const char* name : {"b", "Ortografía 2", "A", "acentos", " con espacios ", "C"})
        tree.mkdir(QStringLiteral("Ejercicios/") + QString::fromUtf8(name));
    tree.write(QStringLiteral("Ejercicios/leeme.txt"), "no es un ejercicio\r\n");
    tree.write(QStringLiteral("Ejercicios/Z"), "tampoco\r\n");

    const QStringList expected{QStringLiteral(" con espacios "), QStringLiteral("A"), QStringLiteral("acentos"),
                               QStringLiteral("b"), QStringLiteral("C"), QStringLiteral("Ortografía 2")};
    EXPECT_EQ(catalogue::listExercises(tree.path()), expected);
}

TEST(Catalogue, TwoSubfoldersAndALooseFileGiveTwoExercises)
{
    TempTree tree;
    tree.mkdir(QStringLiteral("Ejercicios/A"));
    tree.mkdir(QStringLiteral("Ejercicios/b"));
    tree.write(QStringLiteral("Ejercicios/notas.txt"), "x");

    EXPECT_EQ(catalogue::listExercises(tree.path()), (QStringList{QStringLiteral("A"), QStringLiteral("b")}));
    EXPECT_EQ(catalogue::exerciseFolder(tree.path(), QStringLiteral("A")), tree.path() + QStringLiteral("/Ejercicios/A"));
}

TEST(Catalogue, MissingCatalogueFolderListsNothing)
{
    TempTree tree;
    tree.mkdir(QStringLiteral("sonidos"));
    EXPECT_TRUE(catalogue::listExercises(tree.path()).isEmpty());
}

TEST(Catalogue, AFileNamedLikeTheCatalogueListsNothing)
{
    TempTree tree;
    tree.write(QStringLiteral("Ejercicios"), "no es una carpeta");
    EXPECT_TRUE(catalogue::listExercises(tree.path()).isEmpty());
}

TEST(Catalogue, EmptyCatalogueFolderListsNothing)
{
    TempTree tree;
    tree.mkdir(QStringLiteral("Ejercicios"));
    EXPECT_TRUE(catalogue::listExercises(tree.path()).isEmpty());
}

class CatalogueFolderCase : public ::testing::TestWithParam<const char*> {};

TEST_P(CatalogueFolderCase, IsFoundWhateverItsLetterCase)
{
    const QString stored = QString::fromLatin1(GetParam());
    TempTree tree;
    tree.mkdir(stored + QStringLiteral("/Verbos"));

    EXPECT_EQ(catalogue::listExercises(tree.path()), QStringList{QStringLiteral("Verbos")});
    EXPECT_EQ(catalogue::exercisesFolder(tree.path()), tree.path() + u'/' + stored);
    EXPECT_EQ(catalogue::exerciseFolder(tree.path(), QStringLiteral("Verbos")),
              tree.path() + u'/' + stored + QStringLiteral("/Verbos"));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, CatalogueFolderCase, ::testing::Values("Ejercicios", "ejercicios", "EJERCICIOS"));

// --- Several content roots -------------------------------------------------
//
// The program's folder "app", the teacher's "home/miravellon" and two
// school folders "escuela0/miravellon", "escuela1/miravellon", laid out in
// one temporary folder; each case makes some of them and names the roots
// listed, by those short names.

struct RootsCase {
    const char* name;
    std::function<void(const TempTree&)> lay;
    QStringList others;    // the roots after the program's, in the order given
    QStringList expected;  // the roots listed
};

void PrintTo(const RootsCase& c, std::ostream* out)
{
    *out << c.name;
}

void makeLink(const TempTree& t, const QString& target, const QString& link)
{
    QDir().mkpath(QFileInfo(t.file(link)).path());
    ASSERT_TRUE(QFile::link(t.file(target), t.file(link)));
}

class ContentRoots : public ::testing::TestWithParam<RootsCase> {};

TEST_P(ContentRoots, ListTheProgramsFolderThenEachOtherCatalogueOnce)
{
    const RootsCase& c = GetParam();
    TempTree t;
    t.mkdir(u"app/Ejercicios/01 B y V"_s);
    c.lay(t);
    QStringList others;
    for (const QString& other : c.others)
        others.append(t.file(other));
    QStringList expected;
    for (const QString& root : c.expected)
        expected.append(t.file(root));

    EXPECT_EQ(catalogue::contentRoots(t.file(u"app"_s), others), expected);
}

const QString Home = u"home/miravellon"_s;
const QString School0 = u"escuela0/miravellon"_s;
const QString School1 = u"escuela1/miravellon"_s;

INSTANTIATE_TEST_SUITE_P(
    Catalogue, ContentRoots,
    ::testing::Values(
        RootsCase{"NoOtherFolders", [](const TempTree&) {}, {Home, School0}, {u"app"_s}},
        RootsCase{"TeachersCatalogue", [](const TempTree& t) { t.mkdir(Home + u"/Ejercicios/Mío"_s); },
                  {Home, School0}, {u"app"_s, Home}},
        RootsCase{"EmptyCatalogueIsStillARoot", [](const TempTree& t) { t.mkdir(Home + u"/Ejercicios"_s); },
                  {Home}, {u"app"_s, Home}},
        RootsCase{"CatalogueInAnyLetterCase", [](const TempTree& t) { t.mkdir(School0 + u"/EJERCICIOS/Mío"_s); },
                  {Home, School0}, {u"app"_s, School0}},
        RootsCase{"PicturesWithoutCatalogue", [](const TempTree& t) { t.mkdir(Home + u"/Graficos"_s); }, {Home},
                  {u"app"_s}},
        RootsCase{"FileInPlaceOfTheCatalogue", [](const TempTree& t) { t.write(Home + u"/Ejercicios"_s, "x"); },
                  {Home}, {u"app"_s}},
        RootsCase{"TeacherThenSchoolsInTheOrderGiven",
                  [](const TempTree& t) {
                      for (const QString& root : {Home, School0, School1})
                          t.mkdir(root + u"/Ejercicios/Uno"_s);
                  },
                  {School1, Home, School0}, {u"app"_s, School1, Home, School0}},
        RootsCase{"SameSchoolNamedTwice", [](const TempTree& t) { t.mkdir(School0 + u"/Ejercicios/Uno"_s); },
                  {School0, School0, School0 + u"/"_s}, {u"app"_s, School0}},
        RootsCase{"TeachersFolderIsTheProgramsOwn", [](const TempTree&) {}, {u"app"_s, u"app/"_s}, {u"app"_s}},
        RootsCase{"LinkToTheProgramsCatalogue",
                  [](const TempTree& t) { makeLink(t, u"app/Ejercicios"_s, Home + u"/Ejercicios"_s); }, {Home},
                  {u"app"_s}},
        RootsCase{"SchoolLinkedToTheTeachersFolder",
                  [](const TempTree& t) {
                      t.mkdir(Home + u"/Ejercicios/Uno"_s);
                      makeLink(t, Home, School0);
                  },
                  {Home, School0}, {u"app"_s, Home}},
        RootsCase{"ProgramWithoutCatalogueStillComesFirst",
                  [](const TempTree& t) {
                      QDir(t.file(u"app"_s)).removeRecursively();
                      t.mkdir(Home + u"/Ejercicios/Uno"_s);
                  },
                  {Home}, {u"app"_s, Home}}),
    [](const ::testing::TestParamInfo<RootsCase>& info) { return std::string(info.param.name); });

TEST(Catalogue, DataRootsAreTheTeachersThenEachSchoolsInTheEnvironmentsOrder)
{
    DataFolders data(2);
    EXPECT_EQ(catalogue::dataRoots(), (QStringList{data.teacherRoot(), data.schoolRoot(0), data.schoolRoot(1)}));
}

TEST(Catalogue, SeveralRootsAreListedRootAfterRootEachSortedByName)
{
    TempTree t;
    for (const char* name : {"02 Tildes", "01 B y V", "b minúscula"})
        t.mkdir(u"app/Ejercicios/"_s + QString::fromUtf8(name));
    for (const char* name : {"Z Mi ejercicio", "01 B y V", "a primero"})
        t.mkdir(Home + u"/ejercicios/"_s + QString::fromUtf8(name));
    t.mkdir(School0 + u"/Ejercicios/Del colegio"_s);
    t.write(School0 + u"/Ejercicios/notas.txt"_s, "no es un ejercicio");
    const QString app = t.file(u"app"_s);
    const QString home = t.file(Home);
    const QString school = t.file(School0);

    const QList<catalogue::ListedExercise> expected{
        {u"01 B y V"_s, app + u"/Ejercicios/01 B y V"_s, app},
        {u"02 Tildes"_s, app + u"/Ejercicios/02 Tildes"_s, app},
        {u"b minúscula"_s, app + u"/Ejercicios/b minúscula"_s, app},
        {u"01 B y V"_s, home + u"/ejercicios/01 B y V"_s, home},
        {u"a primero"_s, home + u"/ejercicios/a primero"_s, home},
        {u"Z Mi ejercicio"_s, home + u"/ejercicios/Z Mi ejercicio"_s, home},
        {u"Del colegio"_s, school + u"/Ejercicios/Del colegio"_s, school},
    };
    EXPECT_EQ(catalogue::listCatalogue({app, home, school}), expected);
}

TEST(Catalogue, OneRootListsWhatItAloneLists)
{
    TempTree t;
    for (const char* name : {"b", "A", "acentos"})
        t.mkdir(u"Ejercicios/"_s + QLatin1String(name));
    QStringList names;
    for (const catalogue::ListedExercise& e : catalogue::listCatalogue({t.path()}))
        names.append(e.name);
    EXPECT_EQ(names, catalogue::listExercises(t.path()));
}

// --- Item files and the presence test -----------------------------------

TEST(ItemPaths, VersionFoldersAndFileNamesAreFoundIgnoringLetterCase)
{
    TempTree tree;
    tree.write(QStringLiteral("Ejercicios/A/Incorrecto/3.TXT"), "Yo tengo haambre\r\n");
    tree.write(QStringLiteral("Ejercicios/A/CORRECTO/3.txt"), "Yo tengo hambre\r\n");
    const QString folder = catalogue::exerciseFolder(tree.path(), QStringLiteral("A"));

    const QString faulty = catalogue::versionPath(folder, QStringLiteral("incorrecto"), QStringLiteral("3"));
    const QString correct = catalogue::versionPath(folder, QStringLiteral("correcto"), QStringLiteral("3"));
    EXPECT_EQ(faulty, folder + QStringLiteral("/Incorrecto/3.TXT"));
    EXPECT_EQ(correct, folder + QStringLiteral("/CORRECTO/3.txt"));
    EXPECT_TRUE(catalogue::isPresent(faulty, QStringLiteral("3.txt")));
    EXPECT_TRUE(catalogue::isPresent(correct, QStringLiteral("3.txt")));

    const textfile::ReadResult read = textfile::read(faulty);
    ASSERT_EQ(read.status, textfile::ReadStatus::Ok);
    EXPECT_EQ(read.version.words, (QStringList{QStringLiteral("Yo"), QStringLiteral("tengo"), QStringLiteral("haambre")}));
}

TEST(ItemPaths, AnExactlyMatchingFolderWinsOverOneDifferingInCase)
{
    TempTree tree;
    tree.write(QStringLiteral("Ejercicios/A/Correcto/1.txt"), "mal\r\n");
    tree.write(QStringLiteral("Ejercicios/A/correcto/1.txt"), "bien\r\n");
    const QString folder = catalogue::exerciseFolder(tree.path(), QStringLiteral("A"));

    EXPECT_EQ(catalogue::versionPath(folder, QStringLiteral("correcto"), QStringLiteral("1")),
              folder + QStringLiteral("/correcto/1.txt"));
}

struct PresenceRow {
    const char* stored;  // name of the file on disk
    const char* typed;   // what the item-number box shows
    const char* digits;  // the item number in decimal
    bool present;
};

class Presence : public ::testing::TestWithParam<PresenceRow> {};

TEST_P(Presence, DependsOnTheStoredNameAndTheTypedNumber)
{
    const PresenceRow row = GetParam();
    TempTree tree;
    tree.write(QStringLiteral("Ejercicios/A/incorrecto/") + QString::fromLatin1(row.stored), "texto\r\n");
    const QString folder = catalogue::exerciseFolder(tree.path(), QStringLiteral("A"));

    const QString path = catalogue::versionPath(folder, QStringLiteral("incorrecto"), QString::fromLatin1(row.digits));
    EXPECT_EQ(catalogue::isPresent(path, QString::fromLatin1(row.typed) + QStringLiteral(".txt")), row.present)
        << path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(ItemPaths, Presence,
                         ::testing::Values(PresenceRow{"3.txt", "3", "3", true},
                                           PresenceRow{"3.TXT", "3", "3", true},
                                           PresenceRow{"3.Txt", "3", "3", true},
                                           PresenceRow{"12.txt", "12", "12", true},
                                           PresenceRow{"03.txt", "3", "3", false},
                                           PresenceRow{"03.txt", "03", "3", false},
                                           PresenceRow{"3.txt", "03", "3", false},
                                           PresenceRow{"4.txt", "3", "3", false}));

TEST(ItemPaths, AFolderNamedLikeAnItemIsNotPresent)
{
    TempTree tree;
    tree.mkdir(QStringLiteral("Ejercicios/A/incorrecto/3.txt"));
    const QString folder = catalogue::exerciseFolder(tree.path(), QStringLiteral("A"));

    const QString path = catalogue::versionPath(folder, QStringLiteral("incorrecto"), QStringLiteral("3"));
    EXPECT_FALSE(catalogue::isPresent(path, QStringLiteral("3.txt")));
    EXPECT_EQ(textfile::read(path).status, textfile::ReadStatus::Missing);
}

TEST(ItemPaths, AMissingVersionFolderNamesWhereTheFileWouldBe)
{
    TempTree tree;
    tree.mkdir(QStringLiteral("Ejercicios/A"));
    const QString folder = catalogue::exerciseFolder(tree.path(), QStringLiteral("A"));

    const QString path = catalogue::versionPath(folder, QStringLiteral("correcto"), QStringLiteral("1"));
    EXPECT_EQ(path, folder + QStringLiteral("/correcto/1.txt"));
    EXPECT_FALSE(catalogue::isPresent(path, QStringLiteral("1.txt")));
}

// --- Words and the shown text -------------------------------------------

struct WordsRow {
    const char* name;
    QStringList lines;
    QStringList words;
    QString shown;
};

class Words : public ::testing::TestWithParam<WordsRow> {};

TEST_P(Words, SplitAtSingleSpacesAndShowEachLineWithASpaceAndALineFeed)
{
    const WordsRow& row = GetParam();
    const textfile::Version v = textfile::build(row.lines);
    EXPECT_EQ(v.words, row.words);
    EXPECT_EQ(v.shown, row.shown);
    // The (k+1)-th space of the shown text closes word position k.
    EXPECT_EQ(spacesIn(v.shown), v.words.size());
}

INSTANTIATE_TEST_SUITE_P(
    Library, Words,
    ::testing::Values(
        WordsRow{"two_lines", {u"El perro"_s, u"come."_s}, {u"El"_s, u"perro"_s, u"come."_s},
                 u"El perro \ncome. \n"_s},
        WordsRow{"double_space", {u"Ella  canta"_s}, {u"Ella"_s, QString(), u"canta"_s}, u"Ella  canta \n"_s},
        WordsRow{"empty_line", {u"Uno"_s, QString(), u"dos"_s}, {u"Uno"_s, QString(), u"dos"_s},
                 u"Uno \n \ndos \n"_s},
        WordsRow{"leading_and_trailing_spaces", {u" hola "_s}, {QString(), u"hola"_s, QString()},
                 u" hola  \n"_s},
        WordsRow{"punctuation_digits_and_tabs_stay_in_words", {u"casa, casa 3\tgatos \u00ABs\u00ED\u00BB"_s},
                 {u"casa,"_s, u"casa"_s, u"3\tgatos"_s, u"\u00ABs\u00ED\u00BB"_s},
                 u"casa, casa 3\tgatos \u00ABs\u00ED\u00BB \n"_s},
        WordsRow{"only_an_empty_line", {QString()}, {QString()}, u" \n"_s}),
    [](const ::testing::TestParamInfo<WordsRow>& info) { return std::string(info.param.name); });

TEST(WordPairing, FaultyAndCorrectVersionsPairByWordPosition)
{
    const textfile::Version correct = textfile::build({u"Yo tengo hambre"_s});
    const textfile::Version faulty = textfile::build({u"Yo tengo haambre"_s});
    ASSERT_EQ(faulty.words.size(), correct.words.size());
    QList<qsizetype> errors;
    for (qsizetype k = 0; k < correct.words.size(); ++k) {
        if (faulty.words[k] != correct.words[k])
            errors.append(k);
    }
    EXPECT_EQ(errors, QList<qsizetype>{2});

    // An added space breaks the pairing: one word position too many.
    EXPECT_EQ(textfile::build({u"Yo tengo ham bre"_s}).words.size(), correct.words.size() + 1);
}

// --- Reading version files ----------------------------------------------

struct FileRow {
    const char* name;
    QByteArray bytes;
    QStringList words;
    QString shown;
};

class VersionFile : public ::testing::TestWithParam<FileRow> {};

TEST_P(VersionFile, IsReadIntoWordsAndShownText)
{
    const FileRow& row = GetParam();
    TempTree tree;
    tree.write(QStringLiteral("1.txt"), row.bytes);

    const textfile::ReadResult read = textfile::read(tree.file(QStringLiteral("1.txt")));
    ASSERT_EQ(read.status, textfile::ReadStatus::Ok);
    EXPECT_EQ(read.version.words, row.words);
    EXPECT_EQ(read.version.shown, row.shown);
}

const QStringList ThreeWords{u"a"_s, u"b"_s, u"c"_s};
const QString ThreeWordsShown = u"a b \nc \n"_s;
const QStringList Accented{u"Ni\u00F1o"_s, u"cami\u00F3n"_s, u"ping\u00FCino"_s, u"\u00C1rbol"_s};
const QString AccentedShown = u"Ni\u00F1o cami\u00F3n \nping\u00FCino \u00C1rbol \n"_s;

INSTANTIATE_TEST_SUITE_P(
    Library, VersionFile,
    ::testing::Values(
        FileRow{"cr_lf", "a b\r\nc\r\n", ThreeWords, ThreeWordsShown},
        FileRow{"lone_cr", "a b\rc\r", ThreeWords, ThreeWordsShown},
        FileRow{"lone_lf", "a b\nc\n", ThreeWords, ThreeWordsShown},
        FileRow{"mixed_line_ends", "a b\r\nc\n", ThreeWords, ThreeWordsShown},
        FileRow{"final_line_without_line_end", "a b\r\nc", ThreeWords, ThreeWordsShown},
        FileRow{"empty_middle_line", "a\r\n\r\nb\r\n", {u"a"_s, QString(), u"b"_s}, u"a \n \nb \n"_s},
        FileRow{"lf_after_lone_cr_is_one_line_end", "a\r\nb\n\rc", {u"a"_s, u"b"_s, QString(), u"c"_s},
                u"a \nb \n \nc \n"_s},
        FileRow{"windows_1252", "Ni\xF1o cami\xF3n\r\nping\xFCino \xC1rbol\r\n", Accented, AccentedShown},
        FileRow{"utf8_without_bom", "Ni\xC3\xB1o cami\xC3\xB3n\r\nping\xC3\xBCino \xC3\x81rbol\r\n", Accented,
                AccentedShown},
        FileRow{"utf8_with_bom", "\xEF\xBB\xBFNi\xC3\xB1o cami\xC3\xB3n\r\nping\xC3\xBCino \xC3\x81rbol\r\n",
                Accented, AccentedShown},
        FileRow{"utf8_bom_on_plain_ascii", "\xEF\xBB\xBFsol luna\r\n", {u"sol"_s, u"luna"_s}, u"sol luna \n"_s},
        FileRow{"windows_1252_curly_quotes", "\x93Hola\x94 dijo\r\n", {u"\u201CHola\u201D"_s, u"dijo"_s},
                u"\u201CHola\u201D dijo \n"_s}),
    [](const ::testing::TestParamInfo<FileRow>& info) { return std::string(info.param.name); });

TEST(VersionFileStatus, MissingFileIsReportedMissing)
{
    TempTree tree;
    EXPECT_EQ(textfile::read(tree.file(QStringLiteral("no/1.txt"))).status, textfile::ReadStatus::Missing);
}

TEST(VersionFileStatus, FolderInPlaceOfAFileIsReportedMissing)
{
    TempTree tree;
    tree.mkdir(QStringLiteral("1.txt"));
    EXPECT_EQ(textfile::read(tree.file(QStringLiteral("1.txt"))).status, textfile::ReadStatus::Missing);
}

TEST(VersionFileStatus, EmptyFileIsRefusedAsEmpty)
{
    TempTree tree;
    tree.write(QStringLiteral("1.txt"), QByteArray());
    const textfile::ReadResult read = textfile::read(tree.file(QStringLiteral("1.txt")));
    EXPECT_EQ(read.status, textfile::ReadStatus::Empty);
    EXPECT_TRUE(read.version.words.isEmpty());
}

TEST(VersionFileStatus, HoldsAtMost32767Words)
{
    // 32767 one-letter words on one line, then one word more.
    QByteArray line = "a";
    for (int i = 1; i < textfile::MaxWords; ++i)
        line += " a";
    TempTree tree;
    tree.write(QStringLiteral("justo.txt"), line + "\r\n");
    tree.write(QStringLiteral("demasiado.txt"), line + " a\r\n");

    const textfile::ReadResult fits = textfile::read(tree.file(QStringLiteral("justo.txt")));
    ASSERT_EQ(fits.status, textfile::ReadStatus::Ok);
    EXPECT_EQ(fits.version.words.size(), 32767);
    EXPECT_EQ(textfile::read(tree.file(QStringLiteral("demasiado.txt"))).status, textfile::ReadStatus::TooManyWords);
}

TEST(VersionFileStatus, WordsAreCountedAcrossLines)
{
    // Every line is at least one word: 32768 empty lines are too many words.
    TempTree tree;
    tree.write(QStringLiteral("1.txt"), QByteArray(textfile::MaxWords + 1, '\n'));
    EXPECT_EQ(textfile::read(tree.file(QStringLiteral("1.txt"))).status, textfile::ReadStatus::TooManyWords);
}

TEST(VersionFileStatus, TooLargeFileIsRefused)
{
    TempTree tree;
    tree.write(QStringLiteral("1.txt"), QByteArray(textfile::MaxFileBytes + 1, 'a'));
    EXPECT_EQ(textfile::read(tree.file(QStringLiteral("1.txt"))).status, textfile::ReadStatus::TooLarge);
}

// --- Decoding -------------------------------------------------------------

struct DecodeRow {
    QByteArray bytes;
    QString text;
};

class Windows1252 : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(Windows1252, DecodesEveryByteToOneCharacter)
{
    EXPECT_EQ(textfile::decodeWindows1252(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Library, Windows1252,
                         ::testing::Values(DecodeRow{"\x80", u"\u20AC"_s},
                                           DecodeRow{"\x93\x94", u"\u201C\u201D"_s},
                                           DecodeRow{"\x91\x92\x85\x96", u"\u2018\u2019\u2026\u2013"_s},
                                           DecodeRow{"\xF1\xD1\xE1\xFC\xBF\xA1", u"\u00F1\u00D1\u00E1\u00FC\u00BF\u00A1"_s},
                                           DecodeRow{"\x81\x9D", u"\u0081\u009D"_s},
                                           DecodeRow{"\xC3\xB1", u"\u00C3\u00B1"_s}));

TEST(Decode, PlainAsciiAndInvalidUtf8AreWindows1252)
{
    EXPECT_EQ(textfile::decode("perro"), u"perro"_s);
    EXPECT_EQ(textfile::decode("\x80 5"), u"\u20AC 5"_s);
    EXPECT_EQ(textfile::decode("a\xF1o"), u"a\u00F1o"_s);
}

// --- The class list -------------------------------------------------------

struct ClassListRow {
    const char* name;
    QByteArray bytes;
    bool complete;
    QStringList names;
};

void PrintTo(const ClassListRow& row, std::ostream* out)
{
    *out << row.name;
}

class ClassList : public ::testing::TestWithParam<ClassListRow> {};

TEST_P(ClassList, GivesTheNamesOfTheFileInItsOrder)
{
    EXPECT_EQ(classlist::parse(GetParam().bytes, GetParam().complete), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Library, ClassList,
    ::testing::Values(
        ClassListRow{"utf8", "Luc\xC3\xAD" "a P\xC3\xA9rez\nIv\xC3\xA1n\n", true, {u"Lucía Pérez"_s, u"Iván"_s}},
        ClassListRow{"utf8_bom_crlf", "\xEF\xBB\xBF" "Luc\xC3\xAD" "a\r\nIv\xC3\xA1n", true, {u"Lucía"_s, u"Iván"_s}},
        ClassListRow{"windows1252_crlf", "Luc\xED" "a\r\nNu\xF1" "ez\r\n", true, {u"Lucía"_s, u"Nuñez"_s}},
        ClassListRow{"utf16le_bom", QByteArray("\xFF\xFE" "A\0n\0a\0\r\0\n\0E\0v\0a\0", 18), true, {u"Ana"_s, u"Eva"_s}},
        ClassListRow{"utf16be_bom", QByteArray("\xFE\xFF\0A\0n\0a\0\n\0E\0v\0a", 16), true, {u"Ana"_s, u"Eva"_s}},
        ClassListRow{"lone_cr", "Ana\rEva\r", true, {u"Ana"_s, u"Eva"_s}},
        ClassListRow{"blanks_comments_spaces", "# 3.\xC2\xBA B\n\n   \n  Ana   Mar\xC3\xAD" "a  \n  # Eva\n\tLuis\t\n", true,
                     {u"Ana María"_s, u"Luis"_s}},
        ClassListRow{"same_but_case_and_accents", "Luc\xC3\xAD" "a\nlucia\nLUC\xC3\x8D" "A\nIv\xC3\xA1n\n", true,
                     {u"Lucía"_s, u"Iván"_s}},
        ClassListRow{"enye_is_a_letter", "Nu\xC3\xB1" "ez\nNunez\n", true, {u"Nuñez"_s, u"Nunez"_s}},
        ClassListRow{"formula_and_controls", "=Ana\n+Eva\x01" "Luz\n", true, {u"Ana"_s, u"Eva Luz"_s}},
        ClassListRow{"empty", "", true, {}},
        ClassListRow{"only_comments", "# nadie\r\n\r\n", true, {}},
        ClassListRow{"cut_drops_the_last_line", "Ana\nEva\nLuc\xC3", false, {u"Ana"_s, u"Eva"_s}},
        ClassListRow{"cut_keeps_utf8", "Luc\xC3\xAD" "a\nIv\xC3", false, {u"Lucía"_s}},
        ClassListRow{"cut_utf16", QByteArray("\xFF\xFE" "A\0n\0a\0\n\0E\0v", 13), false, {u"Ana"_s}}),
    [](const ::testing::TestParamInfo<ClassListRow>& info) { return std::string(info.param.name); });

struct ChosenRow {
    const char* typed;
    const char* chosen;
};

class ChosenName : public ::testing::TestWithParam<ChosenRow> {};

TEST_P(ChosenName, IsTheListsSpellingWhenItIsOneOfItsNames)
{
    const QStringList names{u"Lucía Pérez"_s, u"Iván"_s, u"Nuñez"_s};
    EXPECT_EQ(classlist::chosen(names, QString::fromUtf8(GetParam().typed)), QString::fromUtf8(GetParam().chosen));
}

INSTANTIATE_TEST_SUITE_P(Library, ChosenName,
                         ::testing::Values(ChosenRow{"Lucía Pérez", "Lucía Pérez"}, ChosenRow{"lucia perez", "Lucía Pérez"},
                                           ChosenRow{"  LUCÍA   PÉREZ ", "Lucía Pérez"}, ChosenRow{"ivan", "Iván"},
                                           ChosenRow{"Lucía", "Lucía"}, ChosenRow{"nunez", "nunez"},
                                           ChosenRow{" Marta ", "Marta"}, ChosenRow{"", ""}));

struct HoldsRow {
    const char* name;
    const char* typed;
    bool holds;
};

class NameFilter : public ::testing::TestWithParam<HoldsRow> {};

TEST_P(NameFilter, KeepsTheNamesHoldingWhatWasTypedCapitalsAndAccentsAside)
{
    EXPECT_EQ(classlist::holds(QString::fromUtf8(GetParam().name), QString::fromUtf8(GetParam().typed)), GetParam().holds);
}

INSTANTIATE_TEST_SUITE_P(Library, NameFilter,
                         ::testing::Values(HoldsRow{"Iván García", "ivan", true}, HoldsRow{"Iván García", "GARC", true},
                                           HoldsRow{"Iván García", "n g", true}, HoldsRow{"Iván García", "Ívan", true},
                                           HoldsRow{"Iván García", "", true}, HoldsRow{"Iván García", "  ", true},
                                           HoldsRow{"Iván García", "lucia", false}, HoldsRow{"Marta Nuñez", "nunez", false},
                                           HoldsRow{"Marta Nuñez", "NUÑ", true}));

TEST(ClassListFile, IsReadFromTheFolderUpToItsSize)
{
    TempTree tree;
    EXPECT_TRUE(classlist::read(tree.path()).isEmpty()) << "no list";
    tree.write(u"alumnos.txt"_s, "Ana\r\nEva\r\n");
    EXPECT_EQ(classlist::read(tree.path()), (QStringList{u"Ana"_s, u"Eva"_s}));

    // A planted file of many megabytes: only its first whole lines are read.
    QByteArray big = "Ana\n";
    while (big.size() < 3 * classlist::MaxFileBytes)
        big += "Alumno " + QByteArray::number(big.size()) + '\n';
    tree.write(u"alumnos.txt"_s, big);
    const QStringList names = classlist::read(tree.path());
    EXPECT_EQ(names.first(), u"Ana"_s);
    EXPECT_LT(names.size() * 8, classlist::MaxFileBytes);
    EXPECT_TRUE(big.first(classlist::MaxFileBytes).contains((names.last() + u'\n').toUtf8()));

    // A folder in its place.
    tree.mkdir(u"otra/alumnos.txt"_s);
    EXPECT_TRUE(classlist::read(tree.file(u"otra"_s)).isEmpty());

    // A planted pipe is refused at once, not waited on; a link is not followed.
    tree.mkdir(u"tubo"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.file(u"tubo/alumnos.txt"_s)).constData(), 0644), 0);
    EXPECT_TRUE(classlist::read(tree.file(u"tubo"_s)).isEmpty());
    tree.mkdir(u"enlace"_s);
    ASSERT_TRUE(QFile::link(tree.file(u"alumnos.txt"_s), tree.file(u"enlace/alumnos.txt"_s)));
    EXPECT_TRUE(classlist::read(tree.file(u"enlace"_s)).isEmpty());
}

// --- Mi repaso ------------------------------------------------------------

// A row of one text: "AAAA-MM-DD hh" the day and hour, the words failed (with
// what was written and their families, each separated by spaces) and the
// words right the first time.
results::Row reviewRow(const char* when, const char* pupil, const char* failures, const char* written = "",
                       const char* families = "", const char* right = "")
{
    results::Row row;
    const QString at = QString::fromUtf8(when);
    row.date = QDate::fromString(at.left(10), Qt::ISODate);
    row.time = QTime(at.mid(11).toInt(), 0);
    row.pupil = QString::fromUtf8(pupil);
    row.exercise = u"06 B y V"_s;
    row.item = 1;
    row.finished = true;
    row.setFailures(QString::fromUtf8(failures).split(u' ', Qt::SkipEmptyParts));
    row.setWritten(QString::fromUtf8(written).split(u' ', Qt::SkipEmptyParts));
    row.setFamilies(QString::fromUtf8(families).split(u' ', Qt::SkipEmptyParts));
    row.setRightFirstTime(QString::fromUtf8(right).split(u' ', Qt::SkipEmptyParts));
    row.failed = int(row.failures().size());
    return row;
}

struct ReviewWordsCase {
    const char* name;
    QList<results::Row> rows;
    QStringList expected;  // Ana's words under review, in the order texts take them
};

void PrintTo(const ReviewWordsCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReviewWords : public ::testing::TestWithParam<ReviewWordsCase> {};

TEST_P(ReviewWords, EnterWhenLeftWrongAndLeaveAfterTwoDaysRightFirstTime)
{
    QStringList words;
    for (const review::Word& w : review::wordsUnderReview(GetParam().rows, u"Ana"_s))
        words.append(w.word);
    EXPECT_EQ(words, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Review, ReviewWords,
    ::testing::Values(
        ReviewWordsCase{"NothingFailed", {reviewRow("2026-03-09 10", "Ana", "", "", "", "vaca")}, {}},
        ReviewWordsCase{"FailedYesterday", {reviewRow("2026-03-09 10", "Ana", "vaca hierba", "baca ierba", "b/v h")},
                        {u"hierba"_s, u"vaca"_s}},
        ReviewWordsCase{"OtherPupilsAndNamesInAnyCase",
                        {reviewRow("2026-03-09 10", "Luis", "burro"), reviewRow("2026-03-09 11", "ANA", "vaca")},
                        {u"vaca"_s}},
        ReviewWordsCase{"RightTwiceOnOneDayStays",
                        {reviewRow("2026-03-09 10", "Ana", "vaca"), reviewRow("2026-03-10 10", "Ana", "", "", "", "vaca"),
                         reviewRow("2026-03-10 11", "Ana", "", "", "", "vaca")},
                        {u"vaca"_s}},
        ReviewWordsCase{"RightOnTwoDaysLeaves",
                        {reviewRow("2026-03-09 10", "Ana", "vaca hierba"),
                         reviewRow("2026-03-10 10", "Ana", "", "", "", "vaca,"),
                         reviewRow("2026-03-12 10", "Ana", "", "", "", "Vaca hierba")},
                        {u"hierba"_s}},
        ReviewWordsCase{"RightBeforeTheLastFailureDoesNotCount",
                        {reviewRow("2026-03-09 10", "Ana", "vaca"), reviewRow("2026-03-10 10", "Ana", "", "", "", "vaca"),
                         reviewRow("2026-03-11 10", "Ana", "vaca"), reviewRow("2026-03-12 10", "Ana", "", "", "", "vaca")},
                        {u"vaca"_s}},
        ReviewWordsCase{"FailedAgainAfterLeavingComesBack",
                        {reviewRow("2026-03-09 10", "Ana", "vaca"), reviewRow("2026-03-10 10", "Ana", "", "", "", "vaca"),
                         reviewRow("2026-03-11 10", "Ana", "", "", "", "vaca"), reviewRow("2026-03-20 10", "Ana", "Vaca.")},
                        {u"Vaca"_s}},
        ReviewWordsCase{"RowsInAnyOrder",
                        {reviewRow("2026-03-12 10", "Ana", "", "", "", "vaca"), reviewRow("2026-03-09 10", "Ana", "vaca"),
                         reviewRow("2026-03-10 10", "Ana", "", "", "", "vaca")},
                        {}},
        ReviewWordsCase{"FailedAndRightInOneTextIsFailed",
                        {reviewRow("2026-03-09 10", "Ana", "vaca"), reviewRow("2026-03-10 10", "Ana", "", "", "", "vaca"),
                         reviewRow("2026-03-11 10", "Ana", "vaca", "", "", "vaca"),
                         reviewRow("2026-03-12 10", "Ana", "", "", "", "vaca")},
                        {u"vaca"_s}},
        ReviewWordsCase{"WordsWithoutLettersAreSkipped", {reviewRow("2026-03-09 10", "Ana", "1984 -- ¿vaca?")},
                        {u"vaca"_s}},
        ReviewWordsCase{"LastDayLatestFirstThenTheOldest",
                        {reviewRow("2026-03-02 10", "Ana", "burro"), reviewRow("2026-03-05 10", "Ana", "hierba"),
                         reviewRow("2026-03-01 10", "Ana", "vaca"), reviewRow("2026-03-09 09", "Ana", "huevo"),
                         reviewRow("2026-03-09 12", "Ana", "bota")},
                        {u"bota"_s, u"huevo"_s, u"vaca"_s, u"burro"_s, u"hierba"_s}}),
    [](const ::testing::TestParamInfo<ReviewWordsCase>& info) { return std::string(info.param.name); });

TEST(Review, EachPupilsWordsForTheTeacher)
{
    const QList<results::Row> rows{reviewRow("2026-03-09 10", "Ana", "vaca hierba"),
                                   reviewRow("2026-03-09 10", "Luis", "burro"),
                                   reviewRow("2026-03-10 10", "Luis", "", "", "", "burro"),
                                   reviewRow("2026-03-11 10", "Luis", "", "", "", "burro")};
    const QMap<QString, QList<review::Word>> words = review::underReviewByPupil(rows);
    ASSERT_EQ(words.keys(), (QStringList{u"Ana"_s, u"Luis"_s}));
    EXPECT_EQ(words[u"Ana"_s].size(), 2);
    EXPECT_TRUE(words[u"Luis"_s].isEmpty());
}

struct MisspellCase {
    const char* name;
    QString sentenceWord;
    review::Word word;
    QString expected;
};

void PrintTo(const MisspellCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReviewMisspelling : public ::testing::TestWithParam<MisspellCase> {};

TEST_P(ReviewMisspelling, HerOwnFormWhenWithinTheWordElseByItsFamily)
{
    const MisspellCase& c = GetParam();
    EXPECT_EQ(review::misspell(c.sentenceWord, c.word, 0), c.expected);
}

review::Word failedAs(const QString& word, const QString& written, const QString& families)
{
    review::Word w;
    w.word = word;
    w.written = written;
    w.families = families;
    return w;
}

INSTANTIATE_TEST_SUITE_P(
    Review, ReviewMisspelling,
    ::testing::Values(
        MisspellCase{"HerForm", u"vaca"_s, failedAs(u"vaca"_s, u"baca"_s, u"b/v"_s), u"baca"_s},
        MisspellCase{"HerFormWithTheSentencesCapitalAndPunctuation", u"Vaca,"_s,
                     failedAs(u"vaca"_s, u"baca"_s, u"b/v"_s), u"Baca,"_s},
        MisspellCase{"HerCapitalMistakeCarriedOver", u"Ana"_s, failedAs(u"Ana"_s, u"ana"_s, u"mayúscula"_s), u"ana"_s},
        MisspellCase{"TwoLettersOff", u"hierba"_s, failedAs(u"hierba"_s, u"ierva"_s, u"h+b/v"_s), u"ierva"_s},
        MisspellCase{"AnotherWordAltogetherGoesByTheFamily", u"vaca"_s, failedAs(u"vaca"_s, u"perro"_s, u"b/v"_s),
                     u"baca"_s},
        MisspellCase{"EmptiedWordGoesByTheFamily", u"hierba"_s, failedAs(u"hierba"_s, QString(), u"h"_s), u"ierba"_s},
        MisspellCase{"NoFamilyKnownTakesTheFirstThatFits", u"vaca"_s, failedAs(u"vaca"_s, QString(), QString()),
                     u"baca"_s},
        MisspellCase{"AnotherWordOfTheFamily", u"burro."_s, failedAs(u"vaca"_s, u"baca"_s, u"b/v"_s), u"vurro."_s},
        MisspellCase{"NothingMisspellsIt", u"y"_s, failedAs(u"y"_s, QString(), QString()), QString()}),
    [](const ::testing::TestParamInfo<MisspellCase>& info) { return std::string(info.param.name); });

// Sentences: three texts of an exercise "06 B y V".
review::Corpus reviewCorpus()
{
    review::Corpus corpus;
    review::addText(corpus, u"06 B y V"_s, 1,
                    {u"En la granja hay una vaca blanca"_s, u"y un burro muy viejo."_s, u"La vaca come hierba fresca."_s});
    review::addText(corpus, u"06 B y V"_s, 2,
                    {u"El caballo bebe agua del río."_s, u"Mi abuelo tiene una huerta."_s, u"La {mala|nota} línea"_s});
    review::addText(corpus, u"08 La H"_s, 1,
                    {u"Había huevos en el nido."_s, u"La hierba está mojada."_s, u"Hoy hace sol en el huerto."_s});
    return corpus;
}

struct TextsCase {
    const char* name;
    QList<results::Row> rows;
    QList<QStringList> reviewed;  // per text, the words misspelt in it, by key
};

void PrintTo(const TextsCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReviewTexts : public ::testing::TestWithParam<TextsCase> {};

TEST_P(ReviewTexts, LinesOfTheExercisesHoldingHerWordsMisspelt)
{
    const TextsCase& c = GetParam();
    const review::Corpus corpus = reviewCorpus();
    const QList<review::Word> words = review::wordsUnderReview(c.rows, u"Ana"_s);
    QHash<QString, review::Word> failed;
    for (const results::Row& row : c.rows) {
        for (qsizetype i = 0; i < row.failures().size(); ++i)
            failed.insert(review::key(row.failures()[i]), failedAs(row.failures()[i], {}, row.families().value(i)));
    }
    QSet<QString> underReview;
    for (const review::Word& w : words)
        underReview.insert(review::key(w.word));
    for (quint32 seed : {0u, 1u, 7u}) {
        const QList<itemwriter::Draft> texts = review::compose(words, failed, corpus, 20, seed);
        ASSERT_EQ(texts.size(), c.reviewed.size()) << seed;
        for (qsizetype t = 0; t < texts.size(); ++t) {
            const itemwriter::Draft& text = texts[t];
            EXPECT_TRUE(itemwriter::checkLimits(text).isEmpty());
            EXPECT_LE(text.correctLines.size(), review::MaxLines);
            EXPECT_EQ(QSet<QString>(text.correctLines.begin(), text.correctLines.end()).size(), text.correctLines.size())
                << "a line twice";
            QSet<QString> reviewed;
            QSet<int> linesReviewing;
            for (const itemwriter::Misspelling& m : text.misspellings) {
                const QString k = review::key(m.correct);
                if (underReview.contains(k) || failed.contains(k)) {
                    reviewed.insert(underReview.contains(k) ? k : QString());
                    linesReviewing.insert(m.line);
                }
                EXPECT_EQ(text.faultyLines[m.line - 1].split(u' ').size(), text.correctLines[m.line - 1].split(u' ').size());
            }
            EXPECT_EQ(linesReviewing.size(), text.correctLines.size()) << "every line reviews a word";
            reviewed.remove(QString());
            EXPECT_LE(reviewed.size(), review::MaxWordsPerText);
            EXPECT_EQ(reviewed, QSet<QString>(c.reviewed[t].begin(), c.reviewed[t].end())) << seed;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Review, ReviewTexts,
    ::testing::Values(
        TextsCase{"NoWords", {}, {}},
        TextsCase{"VacaAndHierbaInThreeLines", {reviewRow("2026-03-09 10", "Ana", "vaca hierba", "baca ierba", "b/v h")},
                  {{u"vaca"_s, u"hierba"_s}}},
        TextsCase{"AWordNoLineHoldsWaits", {reviewRow("2026-03-09 10", "Ana", "murciélago vaca", "", "tilde b/v")},
                  {{u"vaca"_s}}},
        TextsCase{"AWordNoLineHoldsByAnotherOfItsFamilyShe Failed",
                  {reviewRow("2026-03-01 10", "Ana", "burro", "vurro", "b/v", ""),
                   reviewRow("2026-03-02 10", "Ana", "", "", "", "burro"),
                   reviewRow("2026-03-03 10", "Ana", "", "", "", "burro"),
                   reviewRow("2026-03-09 10", "Ana", "bebida", "vevida", "b/v")},
                  {{}}},
        TextsCase{"NineWordsMakeTwoTexts",
                  {reviewRow("2026-03-09 10", "Ana", "vaca blanca burro viejo hierba fresca caballo bebe huevos")},
                  {{u"vaca"_s, u"blanca"_s, u"burro"_s, u"viejo"_s, u"hierba"_s, u"fresca"_s, u"caballo"_s, u"bebe"_s},
                   // A short text takes more lines of words already reviewed.
                   {u"huevos"_s, u"bebe"_s, u"caballo"_s, u"vaca"_s, u"blanca"_s, u"burro"_s, u"viejo"_s}}}),
    [](const ::testing::TestParamInfo<TextsCase>& info) {
        std::string name = info.param.name;
        std::erase(name, ' ');
        return name;
    });

// The review exercise on disk: written whole, replaced whole, listed first.
TEST(ReviewFolder, IsWrittenThenReplacedWholeAndListedFirst)
{
    TempTree t;
    t.writeItem(u"06 B y V"_s, 1, {u"En la granja hay una vaca blanca"_s, u"y un burro muy viejo."_s},
                {u"En la granja hay una vaca blanca"_s, u"y un burro muy viejo."_s});
    const QByteArray shipped = t.read(u"Ejercicios/06 B y V/correcto/1.txt"_s);
    const QString root = t.file(u"repaso/Ana"_s);
    const auto text = [](const QString& correct, const QString& faulty) {
        itemwriter::Draft d;
        d.correctLines = {correct};
        d.faultyLines = {faulty};
        d.misspellings = {{1, 1, correct.section(u' ', 1, 1), faulty.section(u' ', 1, 1)}};
        return d;
    };
    ASSERT_TRUE(review::writeExercise(root, {text(u"una vaca"_s, u"una baca"_s), text(u"la hierba"_s, u"la ierba"_s),
                                             text(u"un burro"_s, u"un vurro"_s)}));
    ASSERT_TRUE(review::writeExercise(root, {text(u"la hierba"_s, u"la hierva"_s)}));

    const QString exercise = root + u"/Ejercicios/00 Mi repaso"_s;
    EXPECT_EQ(QDir(root + u"/Ejercicios"_s).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"00 Mi repaso"_s});
    EXPECT_EQ(QDir(exercise + u"/incorrecto"_s).entryList(QDir::Files), QStringList{u"1.txt"_s});
    EXPECT_EQ(QDir(exercise + u"/correcto"_s).entryList(QDir::Files), QStringList{u"1.txt"_s});
    EXPECT_EQ(textfile::read(exercise + u"/incorrecto/1.txt"_s).version.words, (QStringList{u"la"_s, u"hierva"_s}));
    EXPECT_FALSE(review::writeExercise(root, {}));
    EXPECT_TRUE(QFileInfo::exists(exercise + u"/correcto/1.txt"_s)) << "nothing to write leaves the review there";

    const QList<catalogue::ListedExercise> listed
        = catalogue::withPupilRoot(root, catalogue::listCatalogue({t.path()}));
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0], (catalogue::ListedExercise{u"00 Mi repaso"_s, exercise, root}));
    EXPECT_EQ(listed[1].name, u"06 B y V"_s);
    EXPECT_EQ(t.read(u"Ejercicios/06 B y V/correcto/1.txt"_s), shipped) << "the content is only read";
}

TEST(ReviewFolder, IsBuiltFromTheResultsFolderOnlyWhenThereIsSomethingToReview)
{
    TempTree t;
    t.writeItem(u"06 B y V"_s, 1, {u"En la granja hay una baca blanca"_s, u"y un burro muy viejo."_s},
                {u"En la granja hay una vaca blanca"_s, u"y un burro muy viejo."_s});
    t.writeItem(u"08 La H"_s, 1, {u"La ierba está mojada."_s, u"Hoy hace sol."_s},
                {u"La hierba está mojada."_s, u"Hoy hace sol."_s});
    t.write(u"resultados/2026-03-09_Ana_aula.csv"_s,
            QByteArray(results::Header) + "\r\n" + results::encodeRow(reviewRow("2026-03-09 10", "Ana", "vaca hierba")));
    review::Request request;
    request.pupil = u"Ana"_s;
    request.resultsFolder = t.file(u"resultados"_s);
    request.exercises = catalogue::listCatalogue({t.path()});
    request.root = t.file(u"repaso/Ana"_s);

    const std::optional<catalogue::ListedExercise> built = review::build(request);
    ASSERT_TRUE(built);
    EXPECT_EQ(built->name, u"00 Mi repaso"_s);
    const textfile::ReadResult correct = textfile::read(built->folder + u"/correcto/1.txt"_s);
    const textfile::ReadResult faulty = textfile::read(built->folder + u"/incorrecto/1.txt"_s);
    EXPECT_TRUE(correct.version.words.contains(u"vaca"_s));
    EXPECT_TRUE(correct.version.words.contains(u"hierba"_s));
    EXPECT_FALSE(faulty.version.words.contains(u"vaca"_s));
    EXPECT_FALSE(faulty.version.words.contains(u"hierba"_s));

    request.pupil = u"Luis"_s;
    request.root = t.file(u"repaso/Luis"_s);
    EXPECT_FALSE(review::build(request)) << "no words of his";
    request.pupil = u"Ana"_s;
    request.resultsFolder = t.file(u"no-existe"_s);
    EXPECT_FALSE(review::build(request)) << "a results folder that cannot be read";
}

// --- Accepted words and intended homophones --------------------------------

struct AcceptedCase {
    const char* name;
    QString words;
    QString homophones;
    QStringList accepted;
    QStringList notAccepted;
    QList<QPair<QString, QString>> intended;
    QList<QPair<QString, QString>> notIntended;
};

void PrintTo(const AcceptedCase& c, std::ostream* out)
{
    *out << c.name;
}

class AcceptedLists : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedLists, SayWhichWordsAndPairsAreMeant)
{
    const AcceptedCase& c = GetParam();
    const acceptedwords::Lists lists = acceptedwords::parse(c.words, c.homophones);
    for (const QString& w : c.accepted)
        EXPECT_TRUE(lists.accepts(w)) << w.toStdString();
    for (const QString& w : c.notAccepted)
        EXPECT_FALSE(lists.accepts(w)) << w.toStdString();
    for (const auto& [correct, faulty] : c.intended)
        EXPECT_TRUE(lists.intends(correct, faulty)) << correct.toStdString() << " " << faulty.toStdString();
    for (const auto& [correct, faulty] : c.notIntended)
        EXPECT_FALSE(lists.intends(correct, faulty)) << correct.toStdString() << " " << faulty.toStdString();
}

const AcceptedCase acceptedCases[] = {
    {"OneWordPerLineAnyCase", u"Toby\nLola\r\n"_s, {}, {u"Toby"_s, u"toby"_s, u"LOLA"_s}, {u"Tob"_s}, {}, {}},
    {"CommentsAndBlankLinesIgnored", u"# nombres\n\n  Giulia   # de Italia\n#Omar\n"_s, {}, {u"Giulia"_s},
     {u"Omar"_s, u"#Omar"_s, u"nombres"_s}, {}, {}},
    {"PairIsOrdered", {}, u"vaca baca\n"_s, {}, {u"baca"_s}, {{u"vaca"_s, u"baca"_s}, {u"Vaca"_s, u"Baca"_s}},
     {{u"baca"_s, u"vaca"_s}, {u"vaca"_s, u"vacas"_s}}},
    {"LineWithoutTwoWordsIsNoPair", {}, u"vaca\nvaca baca bata\nhola ola # saludo\n"_s, {}, {}, {{u"hola"_s, u"ola"_s}},
     {{u"vaca"_s, u"baca"_s}}},
};

INSTANTIATE_TEST_SUITE_P(Library, AcceptedLists, ::testing::ValuesIn(acceptedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AcceptedLists, AddingKeepsWhatTheFileHeldAndListsEachOnce)
{
    const TempTree tree;
    tree.write(u"palabras-aceptadas.txt"_s, "# nombres\nToby");
    EXPECT_EQ(acceptedwords::addWord(tree.path(), u"Lola"_s), QString());
    EXPECT_EQ(acceptedwords::addWord(tree.path(), u"lola"_s), QString());
    EXPECT_EQ(tree.read(u"palabras-aceptadas.txt"_s), "# nombres\nToby\nLola\n");
    EXPECT_EQ(acceptedwords::addHomophone(tree.path(), u"vaca"_s, u"baca"_s), QString());
    EXPECT_EQ(acceptedwords::addHomophone(tree.path(), u"vaca"_s, u"baca"_s), QString());
    EXPECT_EQ(tree.read(u"homofonos.txt"_s), "vaca baca\n");
    EXPECT_FALSE(acceptedwords::addWord(tree.path(), u"dos palabras"_s).isEmpty());
}

// --- Where a named exercise goes ------------------------------------------

struct PlaceCase {
    const char* name;
    QString given;       // "@" stands for the temporary folder
    QString folder;      // what folderFor() gives, "@" again
    bool listed;
};

void PrintTo(const PlaceCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExercisePlaces : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(ExercisePlaces, BareNamesAreTheTeachersAndOnlyCataloguesAreListed)
{
    const TempTree tree;
    tree.mkdir(u"datos/miravellon/Ejercicios"_s);
    const QString teacher = tree.file(u"datos/miravellon"_s);
    const PlaceCase& c = GetParam();
    QString given = c.given;
    given.replace(u"@"_s, tree.path());
    QString expected = c.folder;
    expected.replace(u"@"_s, tree.path());
    const QString folder = exerciseplace::folderFor(given, teacher);
    EXPECT_EQ(folder, expected);
    EXPECT_EQ(exerciseplace::isListed(folder, {tree.file(u"programa"_s), teacher}), c.listed);
}

const PlaceCase placeCases[] = {
    {"BareName", u"14 Huerto"_s, u"@/datos/miravellon/Ejercicios/14 Huerto"_s, true},
    {"PathIntoHerCatalogue", u"@/datos/miravellon/Ejercicios/14 Huerto"_s, u"@/datos/miravellon/Ejercicios/14 Huerto"_s, true},
    {"PathElsewhere", u"@/Escritorio/14 Huerto"_s, u"@/Escritorio/14 Huerto"_s, false},
    {"CatalogueItself", u"@/datos/miravellon/Ejercicios"_s, u"@/datos/miravellon/Ejercicios"_s, false},
    {"ProgramsCatalogue", u"@/programa/Ejercicios/03 Nuevo"_s, u"@/programa/Ejercicios/03 Nuevo"_s, true},
    {"NestedTooDeep", u"@/datos/miravellon/Ejercicios/a/b"_s, u"@/datos/miravellon/Ejercicios/a/b"_s, false},
};

INSTANTIATE_TEST_SUITE_P(Library, ExercisePlaces, ::testing::ValuesIn(placeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExercisePlaces, NumbersOfOtherExercisesAreFound)
{
    EXPECT_EQ(exerciseplace::numberOf(u"12 Tildes"_s), 12);
    EXPECT_EQ(exerciseplace::numberOf(u"07 G y J"_s), 7);
    EXPECT_EQ(exerciseplace::numberOf(u"Huerto"_s), -1);
    const QList<catalogue::ListedExercise> listed{{u"12 Tildes"_s, u"/p/Ejercicios/12 Tildes"_s, u"/p"_s},
                                                  {u"13 Fiestas"_s, u"/p/Ejercicios/13 Fiestas"_s, u"/p"_s}};
    EXPECT_EQ(exerciseplace::sameNumber(u"/d/Ejercicios/12 Mi ejercicio"_s, listed), QStringList{u"12 Tildes"_s});
    EXPECT_TRUE(exerciseplace::sameNumber(u"/d/Ejercicios/21 Mi ejercicio"_s, listed).isEmpty());
    EXPECT_TRUE(exerciseplace::sameNumber(u"/p/Ejercicios/12 Tildes"_s, listed).isEmpty());
}

}  // namespace

// --- Settings ----------------------------------------------------------------

namespace {

struct SettingCase {
    const char* what;
    const settings::Key* key;
    const char* account;  // the account's miravellon.conf, or nullptr for none
    const char* machine;  // the machine's, or nullptr
    QVariant expected;
};

void PrintTo(const SettingCase& c, std::ostream* out)
{
    *out << c.what;
}

void writeConf(const QString& folder, const char* text)
{
    QDir().mkpath(folder + u"/miravellon"_s);
    QFile file(folder + u"/miravellon/miravellon.conf"_s);
    if (!text) {
        file.remove();
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

class Settings : public ::testing::TestWithParam<SettingCase> {};

}  // namespace

TEST_P(Settings, AreReadFromTheAccountThenTheMachineThenTheFormerKeyThenTheDefault)
{
    const SettingCase& c = GetParam();
    // The files the test harness wrote are put back afterwards.
    const auto kept = [](const QString& folder) {
        QFile file(folder + u"/miravellon/miravellon.conf"_s);
        return file.open(QIODevice::ReadOnly) ? std::optional<QByteArray>(file.readAll()) : std::nullopt;
    };
    const QString account = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString machine = qEnvironmentVariable("XDG_CONFIG_DIRS");
    const std::optional<QByteArray> accountBefore = kept(account);
    const std::optional<QByteArray> machineBefore = kept(machine);
    writeConf(account, c.account);
    writeConf(machine, c.machine);
    EXPECT_EQ(settings::value(*c.key).toString(), c.expected.toString());
    writeConf(account, accountBefore ? accountBefore->constData() : nullptr);
    writeConf(machine, machineBefore ? machineBefore->constData() : nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Library, Settings,
    ::testing::Values(
        SettingCase{"no file: the default", &settings::AskName, nullptr, nullptr, false},
        SettingCase{"no file: the review is on", &settings::Review, nullptr, nullptr, true},
        SettingCase{"the machine's file", &settings::ResultsFolder, nullptr, "[resultados]\ncarpeta=/srv/aula\n",
                    u"/srv/aula"_s},
        SettingCase{"the account's file wins", &settings::ResultsFolder, "[resultados]\ncarpeta=/home/ana/r\n",
                    "[resultados]\ncarpeta=/srv/aula\n", u"/home/ana/r"_s},
        SettingCase{"the machine turns the review off", &settings::Review, nullptr, "[repaso]\nactivo=false\n",
                    false},
        SettingCase{"the former English key is still read", &settings::TextSize,
                    "[exerciseText]\nnormalSize=16\n", nullptr, 16},
        SettingCase{"the new key wins over the former one", &settings::TextSize,
                    "[exerciseText]\nnormalSize=16\n[texto]\ntamano=20\n", nullptr, 20}));

TEST(SettingsTable, EveryKeyIsGroupSlashNameInLowerCaseAndSaysWhatItMeans)
{
    QSet<QString> seen;
    for (const settings::Key* key : settings::all()) {
        const QString name = QString::fromLatin1(key->name);
        EXPECT_TRUE(QRegularExpression(u"^[a-z]+/[a-z_]+$"_s).match(name).hasMatch()) << name.toStdString();
        EXPECT_FALSE(seen.contains(name)) << name.toStdString();
        seen.insert(name);
        EXPECT_GT(qstrlen(key->meaning), 20u) << name.toStdString();
    }
}

TEST(SettingsTable, WritingDropsTheFormerKey)
{
    // The account's file of the test harness holds nothing this test needs.
    writeConf(qEnvironmentVariable("XDG_CONFIG_HOME"), "[exerciseText]\nnormalSize=16\n");
    settings::setValue(settings::TextSize, 18);
    QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") + u"/miravellon/miravellon.conf"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("tamano=18")) << text.constData();
    EXPECT_FALSE(text.contains("normalSize")) << text.constData();
    file.close();
    writeConf(qEnvironmentVariable("XDG_CONFIG_HOME"), nullptr);
}
