// The exercise library on real files in temporary folders: the catalogue, the
// path rules, the presence test, decoding, lines, words and the shown text.

#include "library/acceptedwords.h"
#include "library/catalogue.h"
#include "library/exerciseplace.h"
#include "library/textfile.h"
#include "tests/support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

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
