// SPDX-License-Identifier: GPL-3.0-or-later
// The content checker miravellon-comprobar, run as a teacher runs it: on a
// folder, reading the lines it prints and its exit status. Every fault is
// planted in an otherwise sound tree, so the summary line also shows that
// nothing else was reported. Last, the checker and the program are run over
// every file of the hostile-content suite and must agree on what is refused.

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "presentation/cueplayer.h"
#include "presentation/zarandel.h"
#include "tests/hostilecontent.h"
#include "tests/support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMovie>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <ostream>

using namespace Qt::StringLiterals;

namespace {

struct CheckerRun {
    int status = -1;
    QStringList lines;  // standard output
    QString errors;     // standard error

    bool has(const QString& start, const QString& part) const
    {
        for (const QString& line : lines) {
            if (line.startsWith(start) && line.contains(part))
                return true;
        }
        return false;
    }
    int count(const QString& start) const
    {
        int n = 0;
        for (const QString& line : lines)
            n += line.startsWith(start) ? 1 : 0;
        return n;
    }
    QString summary() const { return lines.isEmpty() ? QString() : lines.last(); }
    QString all() const { return lines.join(u'\n') + u'\n' + errors; }
};

CheckerRun runChecker(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    CheckerRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

CheckerRun runChecker(const QStringList& arguments)
{
    return runChecker(QStringLiteral(CHECKER_PATH), arguments);
}

bool spellingAvailable()
{
    return !QStandardPaths::findExecutable(u"hunspell"_s).isEmpty()
        && QFileInfo::exists(u"/usr/share/hunspell/es_ES.dic"_s);
}

// A short WAV file: 16-bit mono PCM, four silent samples.
QByteArray wavFile()
{
    const auto le32 = [](quint32 v) {
        QByteArray bytes(4, '\0');
        qToLittleEndian(v, bytes.data());
        return bytes;
    };
    QByteArray format("\x01\x00\x01\x00", 4);  // PCM, one channel
    format += le32(22050) + le32(44100) + QByteArray("\x02\x00\x10\x00", 4);
    const QByteArray samples(8, '\0');
    const QByteArray body = "WAVE" + ("fmt " + le32(16) + format) + ("data" + le32(8) + samples);
    return "RIFF" + le32(quint32(body.size())) + body;
}

// A GIF of one pixel and two frames, black then white.
QByteArray animatedGif()
{
    static const char bytes[] =
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
        "\x21\xf9\x04\x00\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00"
        "\x21\xf9\x04\x00\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x4c\x01\x00"
        "\x3b";
    return QByteArray(bytes, sizeof(bytes) - 1);
}

const QString Exercise = u"01 B y V"_s;
const QString Item1Faulty = u"Ejercicios/01 B y V/incorrecto/1.txt"_s;
const QString Item1Correct = u"Ejercicios/01 B y V/correcto/1.txt"_s;
const QString Item2Faulty = u"Ejercicios/01 B y V/incorrecto/2.txt"_s;
const QString Item2Correct = u"Ejercicios/01 B y V/correcto/2.txt"_s;

// A tree with nothing to report: every cue and animation, the background, one
// exercise of two items whose errors are no Spanish words, and the picture
// of one corrected word.
void writeSoundTree(const TempTree& tree)
{
    for (const char* cue : {"acierto", "muybien", "bien", "cambia", "no", "ayuda", "rapido", "resultados"})
        tree.write(u"sonidos/"_s + QLatin1String(cue) + u".wav"_s, wavFile());
    for (const char* gif : {"corre", "1", "2", "3"})
        tree.write(u"gifs/"_s + QLatin1String(gif) + u".gif"_s, animatedGif());
    tree.write(u"fondo.gif"_s, animatedGif());
    tree.writeItem(Exercise, 1, {u"Mi vaka come ierba"_s, u"en el prado."_s},
                   {u"Mi vaca come hierba"_s, u"en el prado."_s});
    tree.writeItem(Exercise, 2, {u"La ovega bebe agua."_s}, {u"La oveja bebe agua."_s});
    tree.writePicture(u"Graficos/vaca.jpg"_s, 8, 8);
}

void remove(const TempTree& tree, const QString& relative)
{
    ASSERT_TRUE(QFile::remove(tree.file(relative))) << relative.toStdString();
}

// One fault planted in the sound tree, and what the checker must say.
struct Fault {
    const char* name;
    std::function<void(const TempTree&)> plant;
    int status;          // expected exit status
    QString lineStart;   // kind, file and line of the expected finding
    QString lineText;    // a part of its text
    QString summary;     // the expected last line
    bool needsSpelling = false;
};

void PrintTo(const Fault& fault, std::ostream* out)
{
    *out << fault.name;
}

class CheckerFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(CheckerFaults, ReportsTheFaultAndNothingElse)
{
    const Fault& fault = GetParam();
    const bool spelling = spellingAvailable();
    if (fault.needsSpelling && !spelling)
        GTEST_SKIP() << "hunspell or its Spanish dictionary is not installed";

    TempTree tree;
    writeSoundTree(tree);
    fault.plant(tree);
    const CheckerRun run = runChecker({tree.path()});

    EXPECT_EQ(run.status, fault.status) << run.all().toStdString();
    if (!fault.lineStart.isEmpty()) {
        EXPECT_TRUE(run.has(fault.lineStart, fault.lineText)) << run.all().toStdString();
    }
    if (fault.status == 0) {
        EXPECT_EQ(run.count(u"ERROR"_s), 0) << run.all().toStdString();
    }
    if (spelling) {
        EXPECT_EQ(run.summary().toStdString(), fault.summary.toStdString()) << run.all().toStdString();
    } else {
        // Without a spell checker one more warning says so.
        const QString errorCount = fault.summary.section(u',', 0, 0) + u',';
        EXPECT_TRUE(run.summary().startsWith(errorCount)) << run.all().toStdString();
    }
}

const Fault faults[] = {
    {"MissingCorrectVersion", [](const TempTree& t) { remove(t, Item2Correct); }, 1,
     u"ERROR "_s + Item2Correct + u": "_s, u"falta la versión correcta"_s, u"1 error, 0 avisos"_s},
    {"MissingFaultyVersion", [](const TempTree& t) { remove(t, Item2Faulty); }, 1,
     u"ERROR "_s + Item2Faulty + u": "_s, u"falta la versión con faltas"_s, u"1 error, 0 avisos"_s},
    {"MissingVersionFolder",
     [](const TempTree& t) { QDir(t.file(u"Ejercicios/01 B y V/correcto"_s)).removeRecursively(); }, 1,
     u"ERROR Ejercicios/01 B y V/correcto: "_s, u"falta la carpeta de las versiones correctas"_s,
     u"1 error, 0 avisos"_s},
    {"EmptyFile", [](const TempTree& t) { t.write(Item2Correct, QByteArray()); }, 1,
     u"ERROR "_s + Item2Correct + u": "_s, u"el archivo está vacío"_s, u"1 error, 0 avisos"_s},
    // The program loads such a text, each line one or more empty words; the
    // second warning says the lines do not pair.
    {"OnlySpacesAndLineEnds", [](const TempTree& t) { t.write(Item2Faulty, "  \r\n\r\n"); }, 0,
     u"AVISO "_s + Item2Faulty + u": "_s, u"no tiene texto"_s, u"0 errores, 2 avisos"_s},
    // The program reads line feeds alone as line ends.
    {"LineFeedWithoutCarriageReturn",
     [](const TempTree& t) { t.write(Item1Correct, "Mi vaca come hierba\r\nen el prado.\n"); }, 0, QString(),
     QString(), u"0 errores, 0 avisos"_s},
    {"OnlyBareLineFeeds", [](const TempTree& t) { t.write(Item1Faulty, "Mi vaka come ierba\nen el prado.\n"); }, 0,
     QString(), QString(), u"0 errores, 0 avisos"_s},
    {"ControlCharacterInWindows1252Text",
     [](const TempTree& t) { t.write(Item1Faulty, "Mi vaka come ierba\r\nen el \x1b" "prado.\r\n"); }, 1,
     u"ERROR "_s + Item1Faulty + u", línea 2: "_s, u"carácter de control (código 0x1B)"_s, u"1 error, 0 avisos"_s},
    {"Utf16LittleEndianWithByteOrderMark",
     [](const TempTree& t) {
         const QString text = u"Mi vaka come ierba\r\nen el prado.\r\n"_s;
         t.write(Item1Faulty, QByteArray("\xFF\xFE", 2)
                     + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
     },
     1, u"ERROR "_s + Item1Faulty + u": "_s, u"UTF-16"_s, u"1 error, 0 avisos"_s},
    {"Utf16BigEndianWithoutByteOrderMark",
     [](const TempTree& t) {
         QByteArray bytes;
         for (const char c : QByteArray("La ovega bebe agua.\r\n"))
             bytes += QByteArray(1, '\0') + c;
         t.write(Item2Faulty, bytes);
     },
     1, u"ERROR "_s + Item2Faulty + u": "_s, u"guárdelo como «UTF-8» o «ANSI»"_s, u"1 error, 0 avisos"_s},
    {"CueInACompressedFormat",
     [](const TempTree& t) {
         QByteArray cue = wavFile();
         cue[20] = 0x55;  // the format tag of MPEG layer 3
         t.write(u"sonidos/bien.wav"_s, cue);
     },
     1, u"ERROR sonidos/bien.wav: "_s, u"comprimido (formato 85)"_s, u"1 error, 0 avisos"_s},
    {"AnimationTooLargeToPlay",
     [](const TempTree& t) {
         // 4100 by 4100 pixels take 67 240 000 bytes decoded.
         t.write(u"gifs/1.gif"_s, hostile::gifClaiming(4100, 4100));
     },
     1, u"ERROR gifs/1.gif: "_s, u"la animación es demasiado grande"_s, u"1 error, 0 avisos"_s},
    {"ByteUndefinedInWindows1252",
     [](const TempTree& t) { t.write(Item1Faulty, "Mi vaka come ierba\r\nen el pr\x81" "ado.\r\n"); }, 1,
     u"ERROR "_s + Item1Faulty + u", línea 2: "_s, u"el byte 0x81 no es ninguna letra en Windows-1252"_s,
     u"1 error, 0 avisos"_s},
    {"NulByte",
     [](const TempTree& t) { t.write(Item1Faulty, QByteArray("Mi vaka come ierba\r\nen el pra\0do.\r\n", 34)); }, 1,
     u"ERROR "_s + Item1Faulty + u", línea 2: "_s, u"carácter de control (código 0x00)"_s, u"1 error, 0 avisos"_s},
    {"ControlCharacterInUtf8Text",
     [](const TempTree& t) {
         t.write(Item2Faulty, u"La ovega bebe agua del río.\r\nY\u0085 nada.\r\n"_s.toUtf8());
         t.writeLines(Item2Correct, {u"La oveja bebe agua del río."_s, u"Y nada."_s});
     },
     1,
     u"ERROR "_s + Item2Faulty + u", línea 2: "_s, u"carácter de control (código 0x85)"_s, u"1 error, 0 avisos"_s},
    {"Utf8TextIsValid",
     [](const TempTree& t) {
         t.write(Item2Faulty, u"La ovega bebe agua del río.\r\n"_s.toUtf8());
         t.write(Item2Correct, u"La oveja bebe agua del río.\r\n"_s.toUtf8());
     },
     0, QString(), QString(), u"0 errores, 0 avisos"_s},
    {"Utf8LetterInsideWindows1252Text",
     [](const TempTree& t) { t.write(Item1Faulty, "Mi vaka come ierba\r\nen el pr\xc3\xa1" "do\xe9.\r\n"); }, 0,
     u"AVISO "_s + Item1Faulty + u", línea 2: "_s, u"parece una letra acentuada en UTF-8"_s, u"0 errores, 1 aviso"_s},
    {"SpaceSplitsAWord",
     [](const TempTree& t) {
         t.writeLines(Item1Faulty, {u"Mi vaka come ier ba"_s, u"en el prado."_s});
     },
     1, u"ERROR "_s + Item1Faulty + u", línea 1: "_s,
     u"(8 con faltas, 7 correctas), y el programa no abre el texto: la línea 1 tiene 5 palabras en la versión con "
     u"faltas y 4 en Ejercicios/01 B y V/correcto/1.txt; desde la palabra 5 ya no se emparejan (en la versión con "
     u"faltas está en la línea 1 y en la versión correcta está en la línea 2)"_s,
     u"1 error, 0 avisos"_s},
    {"CorrectVersionEndsFirst",
     [](const TempTree& t) {
         t.writeLines(Item1Faulty, {u"Mi vaka come ierba"_s, u"en el pra do."_s});
     },
     1, u"ERROR "_s + Item1Faulty + u", línea 2: "_s,
     u"desde la palabra 8 ya no se emparejan (en la versión con faltas está en la línea 2 y la versión correcta ya "
     u"ha terminado)"_s,
     u"1 error, 0 avisos"_s},
    {"SameWordsOnOtherLines",
     [](const TempTree& t) {
         t.writeLines(Item1Faulty, {u"Mi vaka come ierba en"_s, u"el prado."_s});
     },
     0, u"AVISO "_s + Item1Faulty + u", línea 1: "_s,
     u"las dos versiones tienen 7 palabras, pero la línea 1 tiene 5 palabras en la versión con faltas y 4"_s,
     u"0 errores, 1 aviso"_s},
    {"TooManyWords",
     [](const TempTree& t) { t.write(Item2Correct, QByteArray("a ").repeated(32767) + "a\r\n"); }, 1,
     u"ERROR "_s + Item2Correct + u": "_s, u"demasiadas palabras: 32768, y el programa admite como mucho 32767"_s,
     u"1 error, 0 avisos"_s},
    {"TooLarge",
     [](const TempTree& t) { t.write(Item2Correct, QByteArray(4 * 1024 * 1024 + 1, 'a')); }, 1,
     u"ERROR "_s + Item2Correct + u": "_s, u"demasiado grande: 4194305 bytes"_s, u"1 error, 0 avisos"_s},
    {"WordTooLong",
     [](const TempTree& t) { t.writeLines(Item2Correct, {u"La oveja bebe "_s + QString(1001, u'a')}); }, 1,
     u"ERROR "_s + Item2Correct + u", línea 1: "_s,
     u"una palabra es demasiado larga: 1001 caracteres, y el programa admite como mucho 1000"_s,
     u"1 error, 0 avisos"_s},
    {"ItemWithoutErrors",
     [](const TempTree& t) { t.writeLines(Item2Faulty, {u"La oveja bebe agua."_s}); }, 0,
     u"AVISO "_s + Item2Faulty + u": "_s, u"las dos versiones son iguales"_s, u"0 errores, 1 aviso"_s},
    {"ExtraSpaces",
     [](const TempTree& t) {
         t.writeLines(Item1Faulty, {u"Mi vaka come ierba"_s, u"en el  prado."_s});
         t.writeLines(Item1Correct, {u"Mi vaca come hierba"_s, u"en el  prado."_s});
     },
     0, u"AVISO "_s + Item1Correct + u", línea 2, entre «el» y «prado.»: "_s, u"dos espacios seguidos"_s,
     u"0 errores, 2 avisos"_s},
    {"Tab",
     [](const TempTree& t) {
         t.writeLines(Item2Faulty, {u"La ovega bebe\tagua."_s});
         t.writeLines(Item2Correct, {u"La oveja bebe\tagua."_s});
     },
     0, u"AVISO "_s + Item2Correct + u", línea 1: "_s, u"tabulador"_s, u"0 errores, 2 avisos"_s},
    {"NumberingGap",
     [](const TempTree& t) {
         t.writeItem(Exercise, 4, {u"El perro veve agua."_s}, {u"El perro bebe agua."_s});
     },
     0, u"AVISO Ejercicios/01 B y V: "_s, u"falta el texto 3: al llegar a ese número"_s, u"0 errores, 1 aviso"_s},
    {"NoItemOne",
     [](const TempTree& t) {
         remove(t, Item1Faulty);
         remove(t, Item1Correct);
     },
     0, u"AVISO Ejercicios/01 B y V: "_s, u"falta el texto 1: el ejercicio empieza por el texto 1"_s,
     u"0 errores, 2 avisos"_s},  // and vaca.jpg now names no word
    {"LeadingZeros",
     [](const TempTree& t) {
         t.writeLines(u"Ejercicios/01 B y V/incorrecto/03.txt"_s, {u"La ovega bebe agua."_s});
         t.writeLines(u"Ejercicios/01 B y V/correcto/03.txt"_s, {u"La oveja bebe agua."_s});
     },
     0, u"AVISO Ejercicios/01 B y V/incorrecto/03.txt: "_s, u"ceros delante: llámelo 3.txt"_s,
     u"0 errores, 2 avisos"_s},
    {"TwoNamesForOneItem",
     [](const TempTree& t) { t.writeLines(u"Ejercicios/01 B y V/incorrecto/2.TXT"_s, {u"La obeja bebe agua."_s}); }, 0,
     u"AVISO Ejercicios/01 B y V/incorrecto/2.TXT: "_s, u"el programa nunca lee este archivo: lee 2.txt"_s,
     u"0 errores, 1 aviso"_s},
    {"FileThatIsNoItem", [](const TempTree& t) { t.write(u"Ejercicios/01 B y V/correcto/notas.txt"_s, "x"); }, 0,
     u"AVISO Ejercicios/01 B y V/correcto/notas.txt: "_s, u"el programa no usa este archivo"_s,
     u"0 errores, 1 aviso"_s},
    {"ExerciseWithoutItems",
     [](const TempTree& t) {
         t.mkdir(u"Ejercicios/02 Vacío/incorrecto"_s);
         t.mkdir(u"Ejercicios/02 Vacío/correcto"_s);
     },
     1, u"ERROR Ejercicios/02 Vacío: "_s, u"el ejercicio no tiene ningún texto"_s, u"1 error, 0 avisos"_s},
    {"LooseFileInTheCatalogue", [](const TempTree& t) { t.write(u"Ejercicios/leeme.txt"_s, "x"); }, 0,
     u"AVISO Ejercicios/leeme.txt: "_s, u"no es un ejercicio"_s, u"0 errores, 1 aviso"_s},
    {"MissingCatalogue", [](const TempTree& t) { QDir(t.file(u"Ejercicios"_s)).removeRecursively(); }, 1,
     u"ERROR Ejercicios: "_s, u"falta la carpeta de los ejercicios"_s, u"1 error, 0 avisos"_s},
    {"SeventyTwoExercisesAreServed",
     [](const TempTree& t) {
         for (int n = 2; n <= 72; ++n)
             t.writeItem(u"Ejercicio %1"_s.arg(n), 1, {u"La ovega bebe agua."_s}, {u"La oveja bebe agua."_s});
     },
     0, QString(), QString(), u"0 errores, 0 avisos"_s},
    {"NamesInAnyLetterCase",
     [](const TempTree& t) {
         QDir root(t.path());
         ASSERT_TRUE(root.rename(u"sonidos"_s, u"SONIDOS"_s));
         ASSERT_TRUE(root.rename(u"SONIDOS/ayuda.wav"_s, u"SONIDOS/Ayuda.WAV"_s));
         ASSERT_TRUE(root.rename(u"Ejercicios"_s, u"ejercicios"_s));
         ASSERT_TRUE(root.rename(u"ejercicios/01 B y V/correcto"_s, u"ejercicios/01 B y V/Correcto"_s));
         ASSERT_TRUE(root.rename(u"ejercicios/01 B y V/Correcto/2.txt"_s, u"ejercicios/01 B y V/Correcto/2.TXT"_s));
         ASSERT_TRUE(root.rename(u"Graficos"_s, u"GRAFICOS"_s));
         ASSERT_TRUE(root.rename(u"GRAFICOS/vaca.jpg"_s, u"GRAFICOS/Vaca.JPG"_s));
     },
     0, QString(), QString(), u"0 errores, 0 avisos"_s},
    {"MissingCue", [](const TempTree& t) { remove(t, u"sonidos/ayuda.wav"_s); }, 1, u"ERROR sonidos/ayuda.wav: "_s,
     u"falta el sonido"_s, u"1 error, 0 avisos"_s},
    {"CueThatIsNoWav", [](const TempTree& t) { t.write(u"sonidos/bien.wav"_s, "hola"); }, 1,
     u"ERROR sonidos/bien.wav: "_s, u"no es un archivo WAV"_s, u"1 error, 0 avisos"_s},
    {"CueCutShort", [](const TempTree& t) { t.write(u"sonidos/cambia.wav"_s, wavFile().chopped(2)); }, 1,
     u"ERROR sonidos/cambia.wav: "_s, u"está cortado"_s, u"1 error, 0 avisos"_s},
    {"CueTooLarge",
     [](const TempTree& t) { t.write(u"sonidos/rapido.wav"_s, wavFile() + QByteArray(8 * 1024 * 1024, '\0')); }, 1,
     u"ERROR sonidos/rapido.wav: "_s, u"demasiado grande"_s, u"1 error, 0 avisos"_s},
    {"CueWithoutData", [](const TempTree& t) { t.write(u"sonidos/no.wav"_s, wavFile().first(36)); }, 1,
     u"ERROR sonidos/no.wav: "_s, u"no tiene bloque «data»"_s, u"1 error, 0 avisos"_s},
    {"MissingAnimation", [](const TempTree& t) { remove(t, u"gifs/3.gif"_s); }, 1, u"ERROR gifs/3.gif: "_s,
     u"falta una animación de premio"_s, u"1 error, 0 avisos"_s},
    {"CorruptAnimation", [](const TempTree& t) { t.write(u"gifs/2.gif"_s, "GIF89a\x01\x00\x01\x00 roto"); }, 1,
     u"ERROR gifs/2.gif: "_s, u"no se puede abrir"_s, u"1 error, 0 avisos"_s},
    {"AnimationCutShort", [](const TempTree& t) { t.write(u"gifs/corre.gif"_s, animatedGif().chopped(1)); }, 1,
     u"ERROR gifs/corre.gif: "_s, u"el archivo está cortado"_s, u"1 error, 0 avisos"_s},
    {"MissingBackground", [](const TempTree& t) { remove(t, u"fondo.gif"_s); }, 1, u"ERROR fondo.gif: "_s,
     u"falta el dibujo del fondo"_s, u"1 error, 0 avisos"_s},
    {"CorruptPicture", [](const TempTree& t) { t.write(u"Graficos/vaca.jpg"_s, "no es un dibujo"); }, 1,
     u"ERROR Graficos/vaca.jpg: "_s, u"no se puede abrir"_s, u"1 error, 0 avisos"_s},
    {"PictureMatchingNoWord", [](const TempTree& t) { t.writePicture(u"Graficos/ratón.jpg"_s, 8, 8); }, 0,
     u"AVISO Graficos/ratón.jpg: "_s, u"ninguna palabra de las versiones correctas se llama «ratón»"_s,
     u"0 errores, 1 aviso"_s},
    {"PictureOfAWordNeverCorrected", [](const TempTree& t) { t.writePicture(u"Graficos/come.gif"_s, 8, 8); }, 0,
     u"AVISO Graficos/come.gif: "_s, u"nunca se corrige"_s, u"0 errores, 1 aviso"_s},
    {"PictureInAnotherFormat", [](const TempTree& t) { t.writePicture(u"Graficos/oveja.png"_s, 8, 8); }, 0,
     u"AVISO Graficos/oveja.png: "_s, u"solo muestra dibujos .gif y .jpg"_s, u"0 errores, 1 aviso"_s},
    {"GifHidesJpg", [](const TempTree& t) { t.writePicture(u"Graficos/Vaca.gif"_s, 8, 8); }, 0,
     u"AVISO Graficos/vaca.jpg: "_s, u"nunca se verá: el programa muestra antes Vaca.gif"_s, u"0 errores, 1 aviso"_s},
    {"MisspeltCorrectVersion",
     [](const TempTree& t) {
         t.writeItem(Exercise, 2, {u"La ovega bebe ahua."_s, u"Bebe ahua."_s},
                     {u"La oveja bebe ahua."_s, u"Bebe ahua."_s});
     },
     0, u"AVISO "_s + Item2Correct + u", línea 1: "_s,
     u"«ahua» no está en el diccionario: compruebe cómo se escribe (también en la línea 2)"_s,
     u"0 errores, 1 aviso"_s, true},
    {"FaultyFormThatIsAWord",
     [](const TempTree& t) { t.writeLines(Item1Faulty, {u"Mi baca come ierba"_s, u"en el prado."_s}); }, 0,
     u"AVISO "_s + Item1Faulty + u", línea 1: "_s, u"la forma con falta «baca» (por «vaca») también es una palabra"_s,
     u"0 errores, 1 aviso"_s, true},
    {"AcceptedWordBesideTheCatalogueIsNoFinding",
     [](const TempTree& t) {
         t.writeItem(Exercise, 2, {u"La ovega bebe ahua."_s, u"Bebe ahua."_s},
                     {u"La oveja bebe ahua."_s, u"Bebe ahua."_s});
         t.write(u"palabras-aceptadas.txt"_s, "# nombres y palabras del programa\nAhua\n\n");
     },
     0, QString(), QString(), u"0 errores, 0 avisos"_s, true},
    {"IntendedHomophonePairIsNoFinding",
     [](const TempTree& t) {
         t.writeLines(Item1Faulty, {u"Mi baca come ierba"_s, u"en el prado."_s});
         t.write(u"homofonos.txt"_s, "vaca baca  # la falta se entiende\r\n");
     },
     0, QString(), QString(), u"0 errores, 0 avisos"_s, true},
    {"HomophonePairSilencesThatPairOnly",
     [](const TempTree& t) {
         t.writeLines(Item1Faulty, {u"Mi baca come ierba"_s, u"en el prado."_s});
         t.write(u"homofonos.txt"_s, "baca vaca\nvaca vacas\n");
     },
     0, u"AVISO "_s + Item1Faulty + u", línea 1: "_s, u"la forma con falta «baca» (por «vaca») también es una palabra"_s,
     u"0 errores, 1 aviso"_s, true},
    {"LetterCaseErrorIsNoHomophone",
     [](const TempTree& t) { t.writeLines(Item2Faulty, {u"la ovega bebe agua."_s}); }, 0, QString(), QString(),
     u"0 errores, 0 avisos"_s, true},
};

INSTANTIATE_TEST_SUITE_P(Checker, CheckerFaults, ::testing::ValuesIn(faults),
                         [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

// --- Whole trees and the command line -------------------------------------

TEST(Checker, SoundTreeHasNothingToReport)
{
    TempTree tree;
    writeSoundTree(tree);
    const CheckerRun run = runChecker({tree.path(), u"--todo"_s});

    EXPECT_EQ(run.status, 0) << run.all().toStdString();
    EXPECT_EQ(run.count(u"ERROR"_s), 0);
    if (spellingAvailable()) {
        EXPECT_EQ(run.count(u"AVISO"_s), 0) << run.all().toStdString();
    }
    // Two corrected words have no picture: information, not a problem,
    // given only when everything is asked for.
    EXPECT_TRUE(run.has(u"INFO "_s + Item1Correct + u", línea 1: "_s, u"«hierba» no tiene dibujo"_s));
    EXPECT_TRUE(run.has(u"INFO "_s + Item2Correct + u", línea 1: "_s, u"«oveja» no tiene dibujo"_s));
    EXPECT_FALSE(run.has(u"INFO"_s, u"«vaca»"_s));
}

TEST(Checker, ShippedContentHasNoError)
{
    const QString assets = QStringLiteral(ASSETS_PATH);
    if (catalogue::listExercises(assets).isEmpty())
        GTEST_SKIP() << "the shipped exercises are not written yet";
    const CheckerRun run = runChecker({assets});

    EXPECT_EQ(run.status, 0) << run.all().toStdString();
    EXPECT_EQ(run.count(u"ERROR"_s), 0) << run.all().toStdString();
    EXPECT_TRUE(run.summary().startsWith(u"0 errores, "_s)) << run.summary().toStdString();
}

TEST(Checker, WithoutTheSpellCheckerSaysSoOnce)
{
    TempTree tree;
    writeSoundTree(tree);
    // No Spanish dictionary in any data folder.
    const QTemporaryDir noData;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, noData.path());
    environment.insert(u"XDG_DATA_DIRS"_s, noData.path());
    const CheckerRun run = runChecker(QStringLiteral(CHECKER_PATH), {tree.path()}, environment);

    EXPECT_EQ(run.status, 0) << run.all().toStdString();
    EXPECT_TRUE(run.has(u"AVISO no se ha comprobado la ortografía"_s, u"hunspell-es"_s)) << run.all().toStdString();
    EXPECT_EQ(run.summary().toStdString(), "0 errores, 1 aviso");
}

TEST(Checker, WithoutAFolderChecksTheOneHoldingTheProgram)
{
    TempTree tree;
    writeSoundTree(tree);
    remove(tree, u"sonidos/cambia.wav"_s);
    const QString copy = tree.file(u"miravellon-comprobar"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(CHECKER_PATH), copy));
    const CheckerRun run = runChecker(copy, {});

    EXPECT_EQ(run.status, 1) << run.all().toStdString();
    EXPECT_TRUE(run.has(u"ERROR sonidos/cambia.wav: "_s, u"falta el sonido"_s)) << run.all().toStdString();
}

TEST(Checker, AnswersHelpAndVersionWithoutADisplayAndPrintsNoLogLines)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.remove(u"QT_LOGGING_RULES"_s);
    const CheckerRun version = runChecker(QStringLiteral(CHECKER_PATH), {u"--version"_s}, environment);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.summary().startsWith(u"miravellon-comprobar "_s)) << version.all().toStdString();
    TempTree tree;
    tree.write(u"Ejercicios/E/correcto/1.txt"_s, QByteArray(5 * 1024 * 1024, 'a'));
    const CheckerRun run = runChecker(QStringLiteral(CHECKER_PATH), {tree.path()}, environment);
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.all().contains(u"miravellon."_s)) << run.all().toStdString();
    const CheckerRun wrong = runChecker(QStringLiteral(CHECKER_PATH), {u"--nada"_s}, environment);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.errors, u"miravellon-comprobar: no conozco la opción «--nada»\n"
                            u"Para ver cómo se usa: miravellon-comprobar --help\n"_s);
}

TEST(Checker, BadCommandLinesExitWithTwo)
{
    TempTree tree;
    const CheckerRun missing = runChecker({tree.file(u"no existe"_s)});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.lines.isEmpty());
    EXPECT_TRUE(missing.errors.contains(u"no existe la carpeta"_s)) << missing.errors.toStdString();

    tree.write(u"archivo.txt"_s, "x");
    EXPECT_EQ(runChecker({tree.file(u"archivo.txt"_s)}).status, 2);
    EXPECT_EQ(runChecker({tree.path(), tree.path()}).status, 2);
    EXPECT_EQ(runChecker({u"--nada"_s}).status, 2);

    const CheckerRun help = runChecker({u"--help"_s});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.has(u"Uso: miravellon-comprobar [carpeta]"_s, QString()));
}

TEST(Checker, PrintsNoControlCharacterWhateverTheTreeHolds)
{
    TempTree tree;
    writeSoundTree(tree);
    // A folder name with a line feed and an escape, a text holding NUL bytes,
    // one saved as UTF-16, and a tab inside a word.
    tree.writeItem(u"02 una\nlínea \x1b"_s, 1, {u"Mi pero"_s}, {u"Mi perro"_s});
    tree.write(u"Ejercicios/02 una\nlínea \x1b/incorrecto/2.txt"_s, QByteArray("Mi\0pero\0\r\n", 11));
    tree.write(u"Ejercicios/02 una\nlínea \x1b/correcto/2.txt"_s, QByteArray("\xFF\xFEM\0i\0", 6));
    tree.writeLines(Item2Faulty, {u"La ovega bebe\tagua."_s});

    QProcess process;
    process.start(QStringLiteral(CHECKER_PATH), {tree.path()});
    ASSERT_TRUE(process.waitForFinished(120000));
    const QByteArray output = process.readAllStandardOutput();
    for (const char c : output)
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << "byte " << int(c);
    const QString text = QString::fromUtf8(output);
    EXPECT_TRUE(text.contains(u"ERROR Ejercicios/02 una<0x0A>línea <0x1B>/incorrecto/2.txt, línea 1: carácter de "
                              u"control (código 0x00)"_s))
        << text.toStdString();
    EXPECT_TRUE(text.contains(u"/correcto/2.txt: el archivo está guardado en UTF-16"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"tabulador"_s)) << text.toStdString();
}

// --- What is checked, grouped by exercise ----------------------------------------

qsizetype indexOf(const CheckerRun& run, const QString& start)
{
    for (qsizetype i = 0; i < run.lines.size(); ++i) {
        if (run.lines[i].startsWith(start))
            return i;
    }
    return -1;
}

// The sound tree without its sounds, animations and background: what a
// teacher's own folder holds.
void writeExercisesOnly(const TempTree& tree, const QString& under = QString())
{
    const QString prefix = under.isEmpty() ? QString() : under + u'/';
    tree.writeLines(prefix + Item1Faulty, {u"Mi vaka come ierba"_s, u"en el prado."_s});
    tree.writeLines(prefix + Item1Correct, {u"Mi vaca come hierba"_s, u"en el prado."_s});
    tree.writeLines(prefix + Item2Faulty, {u"La ovega bebe agua."_s});
    tree.writeLines(prefix + Item2Correct, {u"La oveja bebe agua."_s});
}

// One folder given to the checker, and what it must and must not say.
struct ScopeCase {
    const char* name;
    QString folder;     // given to the checker, relative to the tree
    QString heading;    // the start of the first line
    QString missing;    // an ERROR line start about the missing correct version
    int status;
};

void PrintTo(const ScopeCase& c, std::ostream* out)
{
    *out << c.name;
}

class CheckerScope : public ::testing::TestWithParam<ScopeCase> {};

TEST_P(CheckerScope, ChecksWhatTheFolderHoldsAndNothingOfARoot)
{
    const ScopeCase& c = GetParam();
    TempTree tree;
    writeExercisesOnly(tree);
    QString exerciseFolder = u"Ejercicios/01 B y V"_s;
    if (c.folder == u"mis ejercicios"_s) {
        ASSERT_TRUE(QDir(tree.path()).rename(u"Ejercicios"_s, c.folder));
        exerciseFolder = c.folder + u"/01 B y V"_s;
    } else if (c.folder == u"ejercicios"_s) {
        ASSERT_TRUE(QDir(tree.path()).rename(u"Ejercicios"_s, c.folder));
        exerciseFolder = c.folder + u"/01 B y V"_s;
    }
    remove(tree, exerciseFolder + u"/correcto/2.txt"_s);
    const CheckerRun run = runChecker({tree.file(c.folder)});

    EXPECT_EQ(run.status, c.status) << run.all().toStdString();
    ASSERT_FALSE(run.lines.isEmpty());
    EXPECT_TRUE(run.lines.first().startsWith(c.heading)) << run.all().toStdString();
    EXPECT_TRUE(run.has(u"01 B y V: 1 error"_s, QString())) << run.all().toStdString();
    EXPECT_TRUE(run.has(c.missing, u"falta la versión correcta"_s)) << run.all().toStdString();
    // Sounds, animations and the background belong to the program's folder.
    EXPECT_FALSE(run.has(u"ERROR sonidos"_s, QString())) << run.all().toStdString();
    EXPECT_FALSE(run.has(u"ERROR gifs"_s, QString())) << run.all().toStdString();
    EXPECT_FALSE(run.has(u"ERROR fondo"_s, QString())) << run.all().toStdString();
    EXPECT_EQ(run.count(u"ERROR"_s), 1) << run.all().toStdString();
    EXPECT_TRUE(run.summary().startsWith(u"1 error, "_s)) << run.all().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Checker, CheckerScope,
    ::testing::Values(
        ScopeCase{"TeachersRoot", QString(), u"Contenidos de "_s, u"ERROR Ejercicios/01 B y V/correcto/2.txt: "_s, 1},
        ScopeCase{"Catalogue", u"Ejercicios"_s, u"Ejercicios de "_s, u"ERROR Ejercicios/01 B y V/correcto/2.txt: "_s,
                  1},
        ScopeCase{"CatalogueInOtherLetterCase", u"ejercicios"_s, u"Ejercicios de "_s,
                  u"ERROR ejercicios/01 B y V/correcto/2.txt: "_s, 1},
        ScopeCase{"CatalogueOfAnotherName", u"mis ejercicios"_s, u"Ejercicios de "_s,
                  u"ERROR mis ejercicios/01 B y V/correcto/2.txt: "_s, 1},
        ScopeCase{"OneExercise", u"Ejercicios/01 B y V"_s, u"Ejercicio "_s, u"ERROR 01 B y V/correcto/2.txt: "_s, 1}),
    [](const ::testing::TestParamInfo<ScopeCase>& info) { return std::string(info.param.name); });

TEST(Checker, InformationOnlyWithTodo)
{
    TempTree tree;
    writeSoundTree(tree);
    const CheckerRun run = runChecker({tree.path()});
    EXPECT_EQ(run.count(u"INFO"_s), 0) << run.all().toStdString();
    const CheckerRun everything = runChecker({u"--todo"_s, tree.path()});
    EXPECT_EQ(everything.count(u"INFO"_s), 2) << everything.all().toStdString();
    EXPECT_EQ(everything.summary(), run.summary());
}

TEST(Checker, FindingsAreGroupedUnderALineForEachExercise)
{
    TempTree tree;
    writeSoundTree(tree);
    const QString mine = u"Ejercicios/12 Mi ejercicio/"_s;
    tree.writeLines(mine + u"incorrecto/1.txt"_s, {u"El perro veve  agua."_s});
    tree.writeLines(mine + u"correcto/1.txt"_s, {u"El perro bebe  agua."_s});
    tree.writeLines(mine + u"incorrecto/2.txt"_s, {u"Mi vaka."_s});
    const CheckerRun run = runChecker({tree.path()});

    EXPECT_EQ(run.status, 1);
    const qsizetype good = indexOf(run, u"01 B y V: "_s);
    const qsizetype bad = indexOf(run, u"12 Mi ejercicio: "_s);
    ASSERT_GE(good, 0) << run.all().toStdString();
    ASSERT_GT(bad, good) << run.all().toStdString();
    EXPECT_EQ(run.lines[good], u"01 B y V: bien"_s);
    EXPECT_EQ(run.lines[bad], u"12 Mi ejercicio: 1 error, 2 avisos"_s) << run.all().toStdString();
    // Its three findings follow its line, then the summary of the whole check.
    for (qsizetype i = bad + 1; i < bad + 4; ++i)
        EXPECT_TRUE(run.lines[i].contains(u"12 Mi ejercicio/"_s)) << run.all().toStdString();
    EXPECT_EQ(run.lines.size(), bad + 5) << run.all().toStdString();
    EXPECT_EQ(run.summary(), u"1 error, 2 avisos"_s);
}

TEST(Checker, WithoutAFolderChecksTheTeachersThenTheSchoolsThenTheProgramsOwn)
{
    TempTree program;
    writeSoundTree(program);
    const QString copy = program.file(u"miravellon-comprobar"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(CHECKER_PATH), copy));
    TempTree data;
    writeExercisesOnly(data, u"escuela/miravellon"_s);
    data.writeLines(u"casa/miravellon/Ejercicios/12 Mi ejercicio/incorrecto/1.txt"_s, {u"Mi vaka."_s});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, data.file(u"casa"_s));
    environment.insert(u"XDG_DATA_DIRS"_s, data.file(u"escuela"_s) + u':' + data.file(u"nada"_s));
    const CheckerRun run = runChecker(copy, {}, environment);

    EXPECT_EQ(run.status, 1) << run.all().toStdString();
    const qsizetype teacher = indexOf(run, u"Sus ejercicios, en "_s + data.file(u"casa/miravellon"_s));
    const qsizetype mine = indexOf(run, u"12 Mi ejercicio: 1 error"_s);
    const qsizetype school = indexOf(run, u"Ejercicios del centro, en "_s + data.file(u"escuela/miravellon"_s));
    const qsizetype own = indexOf(run, u"Contenidos del programa, en "_s + program.path());
    EXPECT_EQ(teacher, 0) << run.all().toStdString();
    EXPECT_GT(mine, teacher);
    EXPECT_GT(school, mine) << run.all().toStdString();
    EXPECT_GT(own, school) << run.all().toStdString();
    EXPECT_TRUE(run.has(u"ERROR Ejercicios/12 Mi ejercicio/correcto: "_s, u"falta la carpeta"_s))
        << run.all().toStdString();
    // Only the program's own folder is checked for sounds: there are none
    // missing there, and the others are not asked for any.
    EXPECT_EQ(run.count(u"ERROR"_s), 1) << run.all().toStdString();
}

// A fault of spacing in one version, and the finding that says where it is.
struct SpacingCase {
    const char* name;
    QStringList faulty;
    QStringList correct;
    QString lineStart;  // after "AVISO " or "ERROR " and the file
    QString text;
    bool error;
    bool inCorrectVersion;
};

void PrintTo(const SpacingCase& c, std::ostream* out)
{
    *out << c.name;
}

class CheckerSpacing : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(CheckerSpacing, SaysWhereTheTeacherCanMendIt)
{
    const SpacingCase& c = GetParam();
    TempTree tree;
    tree.writeItem(Exercise, 1, c.faulty, c.correct);
    const CheckerRun run = runChecker({tree.file(u"Ejercicios/"_s + Exercise)});

    const QString file = c.inCorrectVersion ? u"01 B y V/correcto/1.txt"_s : u"01 B y V/incorrecto/1.txt"_s;
    const QString start = (c.error ? u"ERROR "_s : u"AVISO "_s) + file + c.lineStart;
    EXPECT_EQ(run.status, c.error ? 1 : 0) << run.all().toStdString();
    EXPECT_TRUE(run.has(start, c.text)) << start.toStdString() << "\n" << run.all().toStdString();
    EXPECT_FALSE(run.has(QString(), u"1 palabras"_s)) << run.all().toStdString();
}

const QStringList Text = {u"Mi vaka come ierba"_s, u"en el prado."_s, u"Mi perro come pan."_s};
const QStringList Mended = {u"Mi vaca come hierba"_s, u"en el prado."_s, u"Mi perro come pan."_s};

INSTANTIATE_TEST_SUITE_P(
    Checker, CheckerSpacing,
    ::testing::Values(
        SpacingCase{"EmptyLastLineOfTheCorrectVersion", Text, Mended + QStringList{QString()}, u", línea 4: "_s,
                    u"la versión correcta termina con una línea vacía que la versión con faltas no tiene"_s, true,
                    true},
        SpacingCase{"EmptyLastLineOfTheFaultyVersion", Text + QStringList{QString()}, Mended, u", línea 4: "_s,
                    u"borre la línea vacía del final"_s, true, false},
        SpacingCase{"TwoEmptyLastLines", Text + QStringList{QString(), QString()}, Mended, u", línea 4: "_s,
                    u"termina con 2 líneas vacías"_s, true, false},
        SpacingCase{"DoubleSpaceBetweenTwoWords",
                    {Text[0], Text[1], u"Mi perro  come pan."_s},
                    {Mended[0], Mended[1], u"Mi perro  come pan."_s},
                    u", línea 3, entre «perro» y «come»: "_s, u"dos espacios seguidos"_s, false, true},
        SpacingCase{"ThreeSpaces",
                    {Text[0], Text[1], u"Mi perro   come pan."_s},
                    {Mended[0], Mended[1], u"Mi perro   come pan."_s},
                    u", línea 3, entre «perro» y «come»: "_s,
                    u"tres espacios seguidos: el programa ve 2 palabras vacías"_s, false, false},
        SpacingCase{"SpaceAtTheStart",
                    {Text[0], u" en el prado."_s, Text[2]},
                    {Mended[0], u" en el prado."_s, Mended[2]},
                    u", línea 2, al principio, antes de «en»: "_s, u"espacio de más"_s, false, false},
        SpacingCase{"SpaceAtTheEnd",
                    {Text[0], u"en el prado. "_s, Text[2]},
                    {Mended[0], u"en el prado. "_s, Mended[2]},
                    u", línea 2, al final, después de «prado.»: "_s, u"espacio de más"_s, false, true},
        SpacingCase{"ManyAreCountedAfterTheThirdOne",
                    {u"Mi  vaka  come  ierba"_s, u"en  el prado."_s, Text[2]},
                    {u"Mi  vaca  come  hierba"_s, u"en  el prado."_s, Mended[2]},
                    u", línea 1, entre «come» y «hierba»: "_s, u"(y 1 más en el archivo)"_s, false, true}),
    [](const ::testing::TestParamInfo<SpacingCase>& info) { return std::string(info.param.name); });

// --- The program and the checker agree on the hostile-content suite ----------
//
// Every file of the suite is put in a tree once; the program is run over it
// (the loader, the animation control, the picture and background readers and
// the cue check, as the program calls them), and so is the checker. A file the
// program refuses is an ERROR of the checker, and a file the program uses
// either draws no ERROR or one that says how it will look damaged.

// The checker's ERROR lines about `place` (a file, or a folder and all below
// it) that say the program will not use it: not those that say it shows the
// file damaged.
QStringList refusalsOf(const CheckerRun& run, const QString& place)
{
    QStringList found;
    for (const QString& line : run.lines) {
        if (!line.startsWith(u"ERROR "_s + place))
            continue;
        const bool damaged = line.contains(u"el archivo está cortado: le falta el final"_s)
            || line.contains(u"la animación se corta en el fotograma"_s);
        if (!damaged)
            found.append(line);
    }
    return found;
}

// A tree with the good exercise, every cue, animation and the background;
// tests spoil one thing of it.
class Agreement : public ::testing::Test {
protected:
    Agreement()
    {
        writeSoundTree(tree);
        tree.writeItem(hostile::Good, 1, {u"Mi pero come"_s}, {u"Mi perro come"_s});
        tree.writeItem(hostile::Bad, 1, {u"Mi pero come"_s}, {u"Mi perro come"_s});
    }
    ~Agreement() override
    {
        // Let the temporary tree be removed after the unreadable cases.
        QFile::setPermissions(tree.file(u"Ejercicios/Malo/incorrecto"_s),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // Whether the program refuses item 1 of the bad exercise.
    bool programRefusesTheBadItem()
    {
        MainWindowHarness harness(tree.path());
        auto* list = harness.find<QListWidget>("List1");
        const QList<QListWidgetItem*> found = list->findItems(hostile::Bad, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (found.isEmpty())
            return true;
        harness.chooseExercise(list->row(found.first()));
        return !harness.messages.isEmpty();
    }

    TempTree tree;
};

class ItemAgreement : public Agreement, public ::testing::WithParamInterface<hostile::RefusedCase> {};

TEST_P(ItemAgreement, TheCheckerReportsEveryItemTheProgramRefuses)
{
    GetParam().spoil(tree);
    if (!GetParam().unreadable.isEmpty()) {
        QFile probe(tree.file(GetParam().unreadable));
        if (probe.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "this user reads files whatever their permissions";
    }
    const CheckerRun run = runChecker({tree.path()});
    ASSERT_TRUE(programRefusesTheBadItem());
    EXPECT_FALSE(refusalsOf(run, u"Ejercicios/Malo"_s).isEmpty()) << run.all().toStdString();
    EXPECT_TRUE(refusalsOf(run, u"Ejercicios/Bueno"_s).isEmpty()) << run.all().toStdString();
}

INSTANTIATE_TEST_SUITE_P(, ItemAgreement, ::testing::ValuesIn(hostile::RefusedCases),
                         [](const ::testing::TestParamInfo<hostile::RefusedCase>& info) { return info.param.name; });

class TextAgreement : public Agreement, public ::testing::WithParamInterface<hostile::AcceptedText> {};

TEST_P(TextAgreement, TheCheckerReportsNoErrorOnATextTheProgramLoads)
{
    GetParam().write(tree);
    const CheckerRun run = runChecker({tree.path()});
    ASSERT_FALSE(programRefusesTheBadItem());
    EXPECT_TRUE(refusalsOf(run, u"Ejercicios/Malo"_s).isEmpty()) << run.all().toStdString();
}

INSTANTIATE_TEST_SUITE_P(, TextAgreement, ::testing::ValuesIn(hostile::AcceptedTexts),
                         [](const ::testing::TestParamInfo<hostile::AcceptedText>& info) { return info.param.name; });

// Where a spoilt picture file is put.
enum class PictureUse { WordPicture, Animation, Background };

class PictureAgreement : public Agreement,
                         public ::testing::WithParamInterface<std::tuple<hostile::PictureCase, PictureUse>> {
protected:
    // Whether the program refuses the file: the reader gives it nothing to
    // show, or the animation control plays nothing of it.
    bool programRefuses(PictureUse use)
    {
        switch (use) {
        case PictureUse::WordPicture: {
            // "perro" is the corrected word of the good exercise.
            const QString path = content::wordPicturePath(tree.path(), u"perro"_s);
            if (path.isEmpty())
                return false;  // no picture for the word: nothing to refuse
            return content::readPicture(path).isNull();
        }
        case PictureUse::Animation: {
            Zarandel animation;
            animation.setGifFile(content::rewardAnimationPath(tree.path(), 1));
            return !animation.movie() || animation.movie()->currentPixmap().isNull();
        }
        case PictureUse::Background: return content::readPicture(content::backgroundPath(tree.path())).isNull();
        }
        return true;
    }
};

TEST_P(PictureAgreement, TheCheckerReportsExactlyThePicturesTheProgramRefuses)
{
    const auto& [picture, use] = GetParam();
    const QString place = use == PictureUse::WordPicture ? u"Graficos/perro.gif"_s
        : use == PictureUse::Animation                   ? u"gifs/1.gif"_s
                                                         : u"fondo.gif"_s;
    QFile::remove(tree.file(place));
    picture.make(tree, place);
    const bool refused = programRefuses(use);
    const CheckerRun run = runChecker({tree.path()});
    EXPECT_EQ(!refusalsOf(run, place).isEmpty(), refused) << run.all().toStdString();
}

std::string pictureAgreementName(const ::testing::TestParamInfo<std::tuple<hostile::PictureCase, PictureUse>>& info)
{
    static const char* const uses[] = {"AsWordPicture", "AsAnimation", "AsBackground"};
    return std::string(std::get<0>(info.param).name) + uses[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(, PictureAgreement,
                         ::testing::Combine(::testing::ValuesIn(hostile::PictureCases),
                                            ::testing::Values(PictureUse::WordPicture, PictureUse::Animation,
                                                              PictureUse::Background)),
                         pictureAgreementName);

class CueAgreement : public Agreement, public ::testing::WithParamInterface<hostile::SoundCase> {};

TEST_P(CueAgreement, TheCheckerReportsExactlyTheCuesTheProgramRefuses)
{
    const QString place = u"sonidos/bien.wav"_s;
    QFile::remove(tree.file(place));
    GetParam().make(tree, place);
    const bool refused = !looksLikeWav(content::cuePath(tree.path(), u"bien"_s));
    EXPECT_EQ(refused, !GetParam().loaded);
    const CheckerRun run = runChecker({tree.path()});
    EXPECT_EQ(!refusalsOf(run, place).isEmpty(), refused) << run.all().toStdString();
}

INSTANTIATE_TEST_SUITE_P(, CueAgreement, ::testing::ValuesIn(hostile::SoundCases),
                         [](const ::testing::TestParamInfo<hostile::SoundCase>& info) { return info.param.name; });

}  // namespace
