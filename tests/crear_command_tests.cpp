// SPDX-License-Identifier: GPL-3.0-or-later
// The command miravellon-crear as a teacher runs it: what it prints and
// writes, its refusals (nothing written), and one item it makes, passed by the
// checker and worked to the end in the main window.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "windows/form4.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <vector>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct CommandRun {
    int status = -1;
    QString out;
    QString err;
};

CommandRun run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    CommandRun result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

CommandRun crear(const QStringList& arguments, const QByteArray& input = {})
{
    return run(QStringLiteral(CREAR_PATH), arguments, input);
}

QStringList entries(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(it.next());
    out.sort();
    return out;
}

const QByteArray Letter = "Querida abuela:\n"
                          "Ayer fuimos al r\xC3\xADo con mi {hermano|ermano} Javier. \xC2\xBF" "Sabes qu\xC3\xA9 vimos?\n"
                          "\xC2\xA1Un burro bebiendo agua! Despu\xC3\xA9s llovi\xC3\xB3 y volvimos a casa.\n"
                          "Un beso muy fuerte,\n"
                          "Luc\xC3\xAD" "a\n";

TEST(CrearCommand, PrintsEachMisspellingAndBothPathsAndWritesWindows1252)
{
    const TempTree tree;
    const QString folder = tree.file(u"12 Mi ejercicio"_s);
    const CommandRun r = crear({u"--familia"_s, u"bv"_s, u"--faltas"_s, u"2"_s, u"--semilla"_s, u"4"_s, folder}, Letter);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << r.out.toStdString();
    EXPECT_EQ(lines[0], u"Ejercicio: "_s + folder);
    EXPECT_TRUE(lines.mid(1, 3).contains(u"línea 2: hermano → ermano"_s)) << r.out.toStdString();
    for (const QString& line : lines.mid(1, 3)) {
        EXPECT_TRUE(line.startsWith(u"línea "_s) && line.contains(u" → "_s)) << line.toStdString();
        EXPECT_TRUE(line.contains(u"hermano"_s) || line.contains(u'b') || line.contains(u'v')) << line.toStdString();
    }
    EXPECT_EQ(lines[4], folder + u"/correcto/1.txt"_s);
    EXPECT_EQ(lines[5], folder + u"/incorrecto/1.txt"_s);
    const QByteArray correct = tree.read(u"12 Mi ejercicio/correcto/1.txt"_s);
    EXPECT_TRUE(correct.startsWith("Querida abuela:\r\nAyer fuimos al r\xEDo con mi hermano Javier. \xBFSabes"));
    EXPECT_TRUE(correct.endsWith("fuerte,\r\nLuc\xED" "a\r\n"));

    // The same seed makes the same item; the next one takes number 2.
    const CommandRun again = crear({u"--familia"_s, u"bv"_s, u"--faltas"_s, u"2"_s, u"--semilla"_s, u"4"_s, folder}, Letter);
    ASSERT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_EQ(again.out.section(u'\n', 0, 3), r.out.section(u'\n', 0, 3));
    EXPECT_EQ(tree.read(u"12 Mi ejercicio/incorrecto/2.txt"_s), tree.read(u"12 Mi ejercicio/incorrecto/1.txt"_s));
}

TEST(CrearCommand, ReadsTheTextFromAFileAndWritesUtf8WhenItMust)
{
    const TempTree tree;
    tree.write(u"texto.txt"_s, "El n\xC3\xBAmero \xCF\x80 no es una {vaca|baca}.\r\n");
    const CommandRun r = crear({tree.file(u"E"_s), tree.file(u"texto.txt"_s)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.read(u"E/incorrecto/1.txt"_s), "\xEF\xBB\xBF" "El n\xC3\xBAmero \xCF\x80 no es una baca.\r\n");
}

struct Refusal {
    const char* name;
    QStringList arguments;  // "@" stands for the exercise folder
    QByteArray input;
    int status;
    QString message;  // a part of what it says
};

void PrintTo(const Refusal& r, std::ostream* out)
{
    *out << r.name;
}

class CrearRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(CrearRefusals, SayWhyAndWriteNothing)
{
    const Refusal& refusal = GetParam();
    const TempTree tree;
    tree.write(u"E/correcto/1.txt"_s, "Una vaca.\r\n");
    tree.write(u"E/incorrecto/1.txt"_s, "Una baca.\r\n");
    tree.write(u"archivo"_s, "no es una carpeta");
    const QStringList before = entries(tree.path());
    QStringList arguments = refusal.arguments;
    arguments.replaceInStrings(u"@"_s, tree.file(u"E"_s));
    arguments.replaceInStrings(u"%"_s, tree.path());
    const CommandRun r = crear(arguments, refusal.input);
    EXPECT_EQ(r.status, refusal.status) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(refusal.message)) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(entries(tree.path()), before);
    EXPECT_EQ(tree.read(u"E/correcto/1.txt"_s), "Una vaca.\r\n");
}

// 4 170 006 bytes with line feeds, under the 4 MiB the program reads; over
// it once written with CR LF.
QByteArray underTheLimitWithLineFeeds()
{
    QByteArray text = "{vaca|baca} " + QByteArray(133, 'a') + '\n';
    for (int l = 1; l < 30000; ++l)
        text += QByteArray(138, 'a') + '\n';
    return text;
}

const Refusal refusals[] = {
    {"UnderTheLimitWithLineFeedsOverItWithCrLf", {u"@"_s}, underTheLimitWithLineFeeds(), 1,
     u"la versión correcta ocuparía 4200000 bytes con sus finales de línea"_s},
    {"TooFewWordsOfTheFamily", {u"--familia"_s, u"gj"_s, u"--faltas"_s, u"3"_s, u"@"_s}, "Una vaca come.\n", 1,
     u"solo 0 palabras del texto admiten una de la familia gj"_s},
    {"ExistingItem", {u"--numero"_s, u"1"_s, u"@"_s}, "Una {vaca|baca}.\n", 1,
     u"el texto 1 ya existe"_s},
    {"NoMisspellingAtAll", {u"--faltas"_s, u"0"_s, u"@"_s}, "Una vaca.\n", 1, u"no tiene ninguna falta"_s},
    {"BadNotation", {u"@"_s}, "Una {vaca|baca.\n", 1, u"línea 1: falta sin cerrar"_s},
    {"WordOverTheLimit", {u"@"_s}, "{vaca|baca} " + QByteArray(1001, 'a') + "\n", 1,
     u"línea 1: la versión correcta: una palabra es demasiado larga: 1001 caracteres"_s},
    {"TextOverTheLimit", {u"@"_s}, QByteArray(5 * 1024 * 1024, 'a'), 1, u"el texto ocupa más de"_s},
    {"FolderThatIsAFile", {u"%/archivo"_s}, "{vaca|baca}\n", 1, u"no se puede escribir en la carpeta"_s},
    {"MissingText", {u"@"_s, u"%/no-existe.txt"_s}, {}, 1, u"no se puede leer"_s},
    {"UnknownFamily", {u"--familia"_s, u"b-v"_s, u"@"_s}, "{vaca|baca}\n", 2, u"no hay ninguna familia «b-v»"_s},
    {"BadCount", {u"--faltas"_s, u"muchas"_s, u"@"_s}, "{vaca|baca}\n", 2, u"--faltas necesita un número"_s},
    {"NumberZero", {u"--numero"_s, u"0"_s, u"@"_s}, "{vaca|baca}\n", 2, u"--numero necesita un número entre 1"_s},
    {"UnknownOption", {u"--carpeta"_s, u"@"_s}, "{vaca|baca}\n", 2, u"no conozco la opción «--carpeta»"_s},
    {"NoFolder", {}, "{vaca|baca}\n", 2, u"falta el ejercicio\nPara ver cómo se usa: miravellon-crear --help\n"_s},
    {"TooManyArguments", {u"@"_s, u"a"_s, u"b"_s}, "{vaca|baca}\n", 2, u"sobra «b»"_s},
};

INSTANTIATE_TEST_SUITE_P(Crear, CrearRefusals, ::testing::ValuesIn(refusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CrearCommand, ReplacesOnlyWhenAsked)
{
    const TempTree tree;
    tree.write(u"E/correcto/1.txt"_s, "Una vaca.\r\n");
    const CommandRun r = crear({u"--numero"_s, u"1"_s, u"--reemplazar"_s, tree.file(u"E"_s)}, "Un {burro|vurro}.\n");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.read(u"E/correcto/1.txt"_s), "Un burro.\r\n");
    EXPECT_EQ(tree.read(u"E/incorrecto/1.txt"_s), "Un vurro.\r\n");
}

// miravellon-crear run several times at once on one exercise, as two
// teachers (or two windows) may: every run reports the number it wrote, no
// text is lost and no item mixes two runs' versions; asking for one number,
// only one run gets it and the others say so.
struct CommandRace {
    const char* name;
    int runs;
    QStringList options;  // before the folder
    int written;
};

void PrintTo(const CommandRace& r, std::ostream* out)
{
    *out << r.name;
}

class CrearRaces : public ::testing::TestWithParam<CommandRace> {};

TEST_P(CrearRaces, NoTextIsLostAndNoItemIsMixed)
{
    const CommandRace& race = GetParam();
    const TempTree tree;
    tree.write(u"E/correcto/1.txt"_s, "primero\r\n");
    tree.write(u"E/incorrecto/1.txt"_s, "primero\r\n");
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < race.runs; ++i) {
        auto& p = processes.emplace_back(std::make_unique<QProcess>());
        p->start(QStringLiteral(CREAR_PATH), race.options + QStringList{tree.file(u"E"_s)});
    }
    for (int i = 0; i < race.runs; ++i) {
        processes[std::size_t(i)]->write(u"texto %1 {vaca|baca}\n"_s.arg(i).toLatin1());
        processes[std::size_t(i)]->closeWriteChannel();
    }
    QSet<QString> paths;
    int written = 0;
    for (int i = 0; i < race.runs; ++i) {
        QProcess& p = *processes[std::size_t(i)];
        ASSERT_TRUE(p.waitForFinished(60000));
        const QStringList out = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        if (p.exitCode() != 0) {
            EXPECT_EQ(p.exitCode(), 1);
            EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(u"ya existe"_s));
            continue;
        }
        ++written;
        // The last two lines name the versions written.
        ASSERT_GE(out.size(), 2);
        const QString correctPath = out[out.size() - 2];
        EXPECT_FALSE(paths.contains(correctPath));
        paths.insert(correctPath);
        QFile correct(correctPath);
        QFile faulty(out.last());
        ASSERT_TRUE(correct.open(QIODevice::ReadOnly) && faulty.open(QIODevice::ReadOnly));
        EXPECT_EQ(correct.readAll(), u"texto %1 vaca\r\n"_s.arg(i).toLatin1());
        EXPECT_EQ(faulty.readAll(), u"texto %1 baca\r\n"_s.arg(i).toLatin1());
    }
    EXPECT_EQ(written, race.written);
    EXPECT_EQ(tree.read(u"E/correcto/1.txt"_s), "primero\r\n");
    EXPECT_EQ(entries(tree.file(u"E/correcto"_s)).size(), 1 + race.written);
    EXPECT_EQ(entries(tree.file(u"E/incorrecto"_s)).size(), 1 + race.written);
}

const CommandRace commandRaces[] = {
    {"NextFreeNumber", 8, {}, 8},
    {"OneNumberAskedByAll", 8, {u"--numero"_s, u"2"_s}, 1},
};

INSTANTIATE_TEST_SUITE_P(Crear, CrearRaces, ::testing::ValuesIn(commandRaces),
                         [](const auto& info) { return std::string(info.param.name); });

// A version folder linked out of the exercise, with the number of an item
// "there" and --reemplazar: the file elsewhere is not overwritten.
TEST(CrearCommand, NeverWritesThroughAVersionFolderLinkedOut)
{
    const TempTree tree;
    tree.write(u"casa/1.txt"_s, "la lista de la compra\r\n");
    tree.mkdir(u"E"_s);
    ASSERT_TRUE(QFile::link(tree.file(u"casa"_s), tree.file(u"E/correcto"_s)));
    const CommandRun r = crear({u"--numero"_s, u"1"_s, u"--reemplazar"_s, tree.file(u"E"_s)}, "Un {burro|vurro}.\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(u"lleva fuera de la carpeta del ejercicio"_s)) << r.err.toStdString();
    EXPECT_EQ(tree.read(u"casa/1.txt"_s), "la lista de la compra\r\n");
    EXPECT_EQ(entries(tree.file(u"casa"_s)).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(tree.file(u"E/incorrecto/1.txt"_s)));
}

TEST(CrearCommand, WithoutADictionarySaysSoOnceAndStillWrites)
{
    const TempTree tree;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, tree.file(u"nada"_s));
    environment.insert(u"XDG_DATA_DIRS"_s, tree.file(u"nada"_s));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CREAR_PATH), {u"--familia"_s, u"bv"_s, u"--faltas"_s, u"1"_s, tree.file(u"E"_s)});
    process.write("Una vaca come.\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(err.count(u"hunspell-es"_s), 1) << err.toStdString();
    EXPECT_EQ(tree.read(u"E/incorrecto/1.txt"_s), "Una baca come.\r\n");
}

// --- Where it writes, what it reads, what it answers ----------------------

struct Session {
    const char* name;
    QStringList arguments;   // "@" stands for a folder outside the program's
    QByteArray input;
    int status;
    QStringList out;         // parts of what it prints; "~" stands for the teacher's data folder
    QStringList err;         // parts of what it says on standard error
    QString written;         // a file it writes, under the data folder ("~/…") or the temporary folder
    QByteArray content;      // that file's bytes
};

void PrintTo(const Session& s, std::ostream* out)
{
    *out << s.name;
}

class CrearSessions : public ::testing::TestWithParam<Session> {};

TEST_P(CrearSessions, DoWhatATeacherExpects)
{
    const Session& session = GetParam();
    const TempTree tree;
    tree.write(u"datos/miravellon/Ejercicios/98 Tildes/correcto/1.txt"_s, "Una vaca.\r\n");
    tree.write(u"datos/miravellon/Ejercicios/98 Tildes/incorrecto/1.txt"_s, "Una baca.\r\n");
    const QString data = tree.file(u"datos/miravellon"_s);
    QStringList arguments = session.arguments;
    arguments.replaceInStrings(u"@"_s, tree.file(u"fuera"_s));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, tree.file(u"datos"_s));
    environment.remove(u"QT_LOGGING_RULES"_s);
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CREAR_PATH), arguments);
    process.write(session.input);
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), session.status) << err.toStdString();
    for (QString part : session.out) {
        part.replace(u"~"_s, data);
        EXPECT_TRUE(out.contains(part)) << out.toStdString() << "\nlacks: " << part.toStdString();
    }
    for (const QString& part : session.err)
        EXPECT_TRUE(err.contains(part)) << err.toStdString() << "\nlacks: " << part.toStdString();
    if (session.err.isEmpty()) {
        EXPECT_EQ(err, QString());
    }
    EXPECT_FALSE(err.contains(u"miravellon."_s)) << err.toStdString();  // no log lines
    if (!session.written.isEmpty()) {
        QString file = session.written;
        file.replace(u"~"_s, u"datos/miravellon"_s);
        EXPECT_EQ(tree.read(file), session.content) << file.toStdString();
    }
}

// A text as Notepad saves it as «Unicode»: UTF-16 with a byte-order mark.
QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray out = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        out += littleEndian ? QByteArray{&low, 1} + QByteArray{&high, 1} : QByteArray{&high, 1} + QByteArray{&low, 1};
    }
    return out;
}

const QByteArray Utf16LittleEndian = utf16(u"Un {burro|vurro} río.\r\n"_s, true);
const QByteArray Utf16BigEndian = utf16(u"Un {burro|vurro} río.\r\n"_s, false);

const Session sessions[] = {
    {"BareNameIsOneOfHerExercises", {u"99 Huerto"_s}, "Un {burro|vurro}.\n", 0,
     {u"Ejercicio: ~/Ejercicios/99 Huerto\n"_s}, {}, u"~/Ejercicios/99 Huerto/incorrecto/1.txt"_s, "Un vurro.\r\n"},
    {"PathOutsideIsWrittenWithAWarning", {u"@/99 Huerto"_s}, "Un {burro|vurro}.\n", 0, {u"fuera/99 Huerto\n"_s},
     {u"aviso: Miravellon no mostrará este ejercicio"_s, u"datos/miravellon/Ejercicios"_s},
     u"fuera/99 Huerto/correcto/1.txt"_s, "Un burro.\r\n"},
    {"NumberOfAnotherExercise", {u"98 Mi ejercicio"_s}, "Un {burro|vurro}.\n", 0, {u"98 Mi ejercicio"_s},
     {u"aviso: el número de «98 Mi ejercicio» ya lo lleva «98 Tildes»"_s}, {}, {}},
    {"NewItemOfAnExistingExerciseNoWarning", {u"98 Tildes"_s}, "Un {burro|vurro}.\n", 0, {u"98 Tildes/correcto/2.txt"_s},
     {}, {}, {}},
    {"NotepadUnicodeLittleEndian", {u"99 Huerto"_s}, Utf16LittleEndian, 0, {u"línea 1: burro → vurro"_s}, {},
     u"~/Ejercicios/99 Huerto/incorrecto/1.txt"_s, "Un vurro r\xEDo.\r\n"},
    {"UnicodeBigEndian", {u"99 Huerto"_s}, Utf16BigEndian, 0, {u"línea 1: burro → vurro"_s}, {},
     u"~/Ejercicios/99 Huerto/correcto/1.txt"_s, "Un burro r\xEDo.\r\n"},
    {"WordDocumentIsRefusedWithWhatToDo", {u"99 Huerto"_s}, QByteArray("PK\x03\x04\0\0binario", 13), 1, {},
     {u"no es un archivo de texto; guárdelo como «Texto sin formato (.txt)»"_s}, {}, {}},
    {"FamilyAsTheTeacherWritesIt", {u"--familia"_s, u"mayúsculas"_s, u"--faltas"_s, u"1"_s, u"99 Huerto"_s},
     "hola.\n", 0, {u"hola. → Hola."_s}, {}, {}, {}},
    {"FamilyByItsLongName", {u"--familia"_s, u"M antes de P y B"_s, u"--faltas"_s, u"1"_s, u"99 Huerto"_s},
     "campo.\n", 0, {u"campo. → canpo."_s}, {}, {}, {}},
    {"HelpOnStandardOutput", {u"--help"_s}, {}, 0, {u"Uso: miravellon-crear"_s, u"m antes de p y b"_s}, {}, {}, {}},
    {"VersionOnStandardOutput", {u"--version"_s}, {}, 0, {u"miravellon-crear 1"_s}, {}, {}, {}},
    {"ShortErrorPointsToHelp", {u"--semilla"_s}, {}, 2, {},
     {u"miravellon-crear: falta el valor de --semilla\nPara ver cómo se usa: miravellon-crear --help\n"_s}, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Crear, CrearSessions, ::testing::ValuesIn(sessions),
                         [](const auto& info) { return std::string(info.param.name); });

class EveryCommand : public ::testing::TestWithParam<const char*> {};

// --help and --version on standard output with no display at all, and a wrong
// option said in two lines: the command never gets as far as a window.
TEST_P(EveryCommand, AnswersHelpAndVersionWithoutADisplay)
{
    const QString program = QString::fromLatin1(GetParam());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    const auto runIt = [&](const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(PROGRAMS_DIR) + u'/' + program, arguments);
        process.closeWriteChannel();
        CommandRun r;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return r;
        }
        r.status = process.exitCode();
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    };
    const CommandRun help = runIt({u"--help"_s});
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith(u"Uso: "_s + program)) << help.out.toStdString();
    EXPECT_EQ(help.err, QString());
    const CommandRun version = runIt({u"--version"_s});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, program + u" 1.0\n"_s);
    const CommandRun wrong = runIt({u"--nada"_s});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, QString());
    EXPECT_EQ(wrong.err, program + u": no conozco la opción «--nada»\nPara ver cómo se usa: "_s + program + u" --help\n"_s);
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryCommand,
                         ::testing::Values("miravellon", "miravellon-crear", "miravellon-comprobar",
                                           "miravellon-resultados", "miravellon-editor"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(CrearCommand, AUsageErrorIsTwoLines)
{
    const CommandRun r = crear({u"--carpeta"_s, u"x"_s});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, u"miravellon-crear: no conozco la opción «--carpeta»\nPara ver cómo se usa: miravellon-crear --help\n"_s);
}

// --- End to end -------------------------------------------------------------

TEST(CrearEndToEnd, TheItemPassesTheCheckerAndIsWorkedToTheEndInForm1)
{
    const TempTree tree;
    // The shipped sounds, animations and background, so that the checker
    // speaks only of the new exercise.
    const QString assets = QStringLiteral(ASSETS_PATH);
    for (const QString& folder : {u"sonidos"_s, u"gifs"_s}) {
        tree.mkdir(folder);
        for (const QString& name : QDir(assets + u'/' + folder).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(assets + u'/' + folder + u'/' + name, tree.file(folder + u'/' + name)));
    }
    ASSERT_TRUE(QFile::copy(assets + u"/fondo.gif"_s, tree.file(u"fondo.gif"_s)));

    const CommandRun made = crear({u"--faltas"_s, u"3"_s, u"--semilla"_s, u"2024"_s, tree.file(u"Ejercicios/01 Mi carta"_s)},
                           Letter);
    ASSERT_EQ(made.status, 0) << made.err.toStdString();

    const CommandRun checked = run(QStringLiteral(CHECKER_PATH), {tree.path()});
    EXPECT_EQ(checked.status, 0) << checked.out.toStdString();
    for (const QString& line : checked.out.split(u'\n', Qt::SkipEmptyParts)) {
        EXPECT_FALSE(line.startsWith(u"ERROR"_s)) << line.toStdString();
        // The faulty forms are no dictionary words; only the name and the
        // greeting's words may be unknown to it.
        EXPECT_FALSE(line.contains(u"también es una palabra"_s)) << line.toStdString();
    }

    // The pupil chooses the exercise and corrects every misspelling.
    MainWindowHarness harness(tree.path());
    harness.chooseExercise(0);
    QString shown = harness.text()->text();
    const QStringList misspellings = made.out.split(u'\n', Qt::SkipEmptyParts).mid(1, 4);
    ASSERT_EQ(misspellings.size(), 4) << made.out.toStdString();
    for (const QString& line : misspellings) {
        const QString correct = line.section(u": "_s, 1).section(u" → "_s, 0, 0);
        const QString faulty = line.section(u" → "_s, 1);
        const int offset = int(shown.indexOf(faulty));
        ASSERT_GE(offset, 0) << faulty.toStdString();
        harness.clickText(offset);
        harness.type(QString(harness.correction()->text().size(), u'\b') + correct);
        shown = harness.text()->text();
    }
    const QString log = harness.form().form4()->RichTextBox1()->text();
    EXPECT_TRUE(log.startsWith(u"TEXTO 1\n\nQuerida abuela: \nAyer fuimos al río con mi hermano Javier."_s))
        << log.toStdString();
    EXPECT_TRUE(log.contains(u"Lucía \n"_s)) << log.toStdString();
}

}  // namespace
