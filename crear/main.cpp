// SPDX-License-Identifier: GPL-3.0-or-later
// miravellon-crear: makes an exercise item from a correct text.
//
//     miravellon-crear [--familia F] [--faltas N] [--semilla S] [--numero K]
//                      [--reemplazar] EJERCICIO [TEXTO]
//
// Reads the text (TEXTO, or standard input), takes the misspellings written in
// it as {correcto|falta}, adds N more of family F, and writes correcto/K.txt
// and incorrecto/K.txt in the exercise folder: EJERCICIO itself when it holds
// a '/', else the teacher's exercise of that name. Prints the folder, one
// line per misspelling and the two paths. Exit status: 0 when written; 1,
// with nothing written, when the text cannot make the item asked for or the
// folder cannot take it; 2 when the command line is wrong.

#include "library/catalogue.h"
#include "library/commandline.h"
#include "library/contentrules.h"
#include "library/exerciseplace.h"
#include "library/families.h"
#include "library/itemwriter.h"
#include "library/spelling.h"
#include "library/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextStream>

#include <limits>
#include <optional>

namespace {

constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;
// Misspellings added to a text that has none written in it, when --faltas is
// not given: within what a short text of the shipped exercises holds.
constexpr int DefaultMisspellings = 5;

const QString Program = QStringLiteral("miravellon-crear");

// The teacher's catalogue, where a bare exercise name goes.
QString teacherCatalogue()
{
    return catalogue::exercisesFolder(catalogue::dataRoots().value(0));
}

QString familyNames()
{
    QStringList out;
    for (const families::FamilyInfo& f : families::table())
        out.append(f.name);
    return out.join(QStringLiteral(", "));
}

QString usage()
{
    return QStringLiteral(
               "Uso: miravellon-crear [--familia F] [--faltas N] [--semilla S] [--numero K] [--reemplazar]\n"
               "                      EJERCICIO [TEXTO]\n"
               "Crea un texto nuevo del ejercicio a partir del texto bien escrito (el archivo TEXTO o, sin él, lo\n"
               "que se escriba en la entrada): escribe correcto/K.txt e incorrecto/K.txt en la carpeta del\n"
               "ejercicio (la crea si no existe).\n"
               "  EJERCICIO es el nombre de uno de sus ejercicios («14 Huerto»), que se guarda en\n"
               "  %3, o la ruta de una carpeta (con «/»).\n"
               "  Las faltas se pueden escribir dentro del texto como {correcto|falta}: {vaca|baca}.\n"
               "  --faltas N     añade N faltas más elegidas por el programa (sin faltas escritas, %1)\n"
               "  --familia F    de qué familia (todas, si no se dice):\n"
               "                 %2\n"
               "  --semilla S    elige siempre las mismas faltas para la misma semilla (un número)\n"
               "  --numero K     el número del texto (si no, el siguiente al último que hay)\n"
               "  --reemplazar   permite sustituir un texto que ya existe; quien lo lea mientras se sustituye\n"
               "                 puede ver la versión correcta nueva con la versión con faltas anterior\n"
               "  --help, --version\n"
               "El texto puede estar en UTF-8, ANSI (Windows-1252) o «Unicode» (UTF-16) del Bloc de notas.\n"
               "Termina con 0 si ha escrito el texto, 1 si no ha podido (y no escribe nada) y 2 si la orden\n"
               "está mal escrita.\n")
        .arg(DefaultMisspellings)
        .arg(familyNames(), teacherCatalogue());
}

struct Options {
    QList<families::Family> families = families::named(QStringLiteral("todas"));
    std::optional<int> misspellings;
    std::optional<quint32> seed;
    std::optional<int> number;
    bool replace = false;
    QString folder;
    QString text;  // empty: standard input
};

// The options, or a message saying what is wrong with them.
std::optional<Options> readOptions(const QCommandLineParser& parser, QString& error)
{
    Options options;
    const auto number = [&](const QString& name, qint64 least, qint64 most) -> std::optional<qint64> {
        const QString v = parser.value(name);
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        if (!ok || n < least || n > most) {
            error = QStringLiteral("--%1 necesita un número entre %2 y %3, no «%4»").arg(name).arg(least).arg(most).arg(v);
            return std::nullopt;
        }
        return n;
    };
    if (parser.isSet(QStringLiteral("familia"))) {
        const QString v = parser.value(QStringLiteral("familia"));
        options.families = families::named(v);
        if (options.families.isEmpty()) {
            error = QStringLiteral("no hay ninguna familia «%1»; las familias son %2 (o todas)").arg(v, familyNames());
            return std::nullopt;
        }
    }
    if (parser.isSet(QStringLiteral("faltas"))) {
        const auto n = number(QStringLiteral("faltas"), 0, textfile::MaxWords);
        if (!n)
            return std::nullopt;
        options.misspellings = int(*n);
    }
    if (parser.isSet(QStringLiteral("semilla"))) {
        const auto n = number(QStringLiteral("semilla"), 0, std::numeric_limits<quint32>::max());
        if (!n)
            return std::nullopt;
        options.seed = quint32(*n);
    }
    if (parser.isSet(QStringLiteral("numero"))) {
        const auto n = number(QStringLiteral("numero"), 1, 999999999);
        if (!n)
            return std::nullopt;
        options.number = int(*n);
    }
    options.replace = parser.isSet(QStringLiteral("reemplazar"));
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty() || positional.size() > 2) {
        error = positional.isEmpty() ? QStringLiteral("falta el ejercicio") : QStringLiteral("sobra «%1»").arg(positional[2]);
        return std::nullopt;
    }
    options.folder = positional[0];
    if (positional.size() == 2 && positional[1] != QStringLiteral("-"))
        options.text = positional[1];
    return options;
}

// The text's bytes, at most one more than the largest text the program reads.
std::optional<QByteArray> readText(const QString& path, QString& error)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (QFileInfo(path).isFile() && (file.setFileName(path), file.open(QIODevice::ReadOnly)));
    if (!opened) {
        error = QStringLiteral("no se puede leer «%1»").arg(path);
        return std::nullopt;
    }
    QByteArray bytes;
    while (bytes.size() <= textfile::MaxFileBytes) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (bytes.size() > textfile::MaxFileBytes) {
        error = QStringLiteral("el texto ocupa más de %1 bytes; el programa no lee textos tan largos")
                    .arg(textfile::MaxFileBytes);
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

int main(int argc, char* argv[])
{
    commandline::quietLogging();
    const QStringList arguments = commandline::arguments(argc, argv);
    QCommandLineParser parser;
    commandline::addStandardOptions(parser);
    parser.addOption({QStringLiteral("familia"), QString(), QStringLiteral("F")});
    parser.addOption({QStringLiteral("faltas"), QString(), QStringLiteral("N")});
    parser.addOption({QStringLiteral("semilla"), QString(), QStringLiteral("S")});
    parser.addOption({QStringLiteral("numero"), QString(), QStringLiteral("K")});
    parser.addOption({QStringLiteral("reemplazar"), QString()});
    if (const std::optional<int> done = commandline::handle(parser, arguments, Program, usage(), ExitUsage))
        return *done;

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString me = Program + QStringLiteral(": ");

    QString error;
    const std::optional<Options> options = readOptions(parser, error);
    if (!options) {
        commandline::printUsageError(Program, error);
        return ExitUsage;
    }

    const std::optional<QByteArray> bytes = readText(options->text, error);
    if (!bytes) {
        err << me << error << u'\n';
        return ExitRefused;
    }
    // A text saved as UTF-16 is converted; one that is no text is refused
    // with the reason, before its garbled words are looked at.
    const textfile::ReadResult input = textfile::checkInput(*bytes);
    if (input.status != textfile::ReadStatus::Ok && input.status != textfile::ReadStatus::TooManyWords
        && input.status != textfile::ReadStatus::WordTooLong) {
        const QString where = options->text.isEmpty() ? QStringLiteral("la entrada") : options->text;
        err << me << QStringLiteral("«%1»").arg(where);
        if (input.finding.line > 0)
            err << QStringLiteral(", línea %1").arg(input.finding.line);
        err << ": " << textfile::refusalText(input) << u'\n';
        return ExitRefused;
    }
    // Accented letters typed as a letter and a combining mark are stored as one
    // character, as Windows-1252 needs them.
    const QString text = input.text.normalized(QString::NormalizationForm_C);
    itemwriter::DraftResult parsed = itemwriter::parse(textfile::splitLines(text));
    if (!parsed.error.isEmpty()) {
        err << me << parsed.error << u'\n';
        return ExitRefused;
    }
    itemwriter::Draft& draft = parsed.draft;

    const int wanted = options->misspellings.value_or(draft.misspellings.isEmpty() ? DefaultMisspellings : 0);
    if (wanted > 0) {
        const spelling::Dictionary& dictionary = spelling::Dictionary::spanish();
        if (!dictionary.isAvailable())
            err << me << QStringLiteral("aviso: %1; las faltas se eligen sin evitar las que son palabras")
                              .arg(spelling::missingDictionaryText())
                << u'\n';
        QRandomGenerator random = options->seed ? QRandomGenerator(*options->seed)
                                                : QRandomGenerator(QRandomGenerator::global()->generate());
        const QString added = itemwriter::addMisspellings(draft, options->families, wanted, random,
                                                          [&](const QString& word) { return dictionary.knows(word); });
        if (!added.isEmpty()) {
            err << me << added << u'\n';
            return ExitRefused;
        }
    }
    error = itemwriter::checkLimits(draft);
    if (!error.isEmpty()) {
        err << me << error << u'\n';
        return ExitRefused;
    }

    const QString folder = exerciseplace::folderFor(options->folder, catalogue::dataRoots().value(0));
    const bool isNew = !QFileInfo(folder).isDir();
    const QStringList roots = [&] {
        QStringList r{QCoreApplication::applicationDirPath()};
        r += catalogue::dataRoots();
        return r;
    }();
    // Without a number, a text written meanwhile by someone else keeps its
    // number and this one takes the next.
    const itemwriter::WriteResult written = options->number
                                                ? itemwriter::write(folder, *options->number, draft, options->replace)
                                                : itemwriter::writeNew(folder, draft);
    if (written.status != itemwriter::WriteStatus::Written) {
        err << me << written.error;
        if (written.status == itemwriter::WriteStatus::Exists)
            err << QStringLiteral("; para sustituirlo, añada --reemplazar");
        err << u'\n';
        return ExitRefused;
    }
    // Said once the item is written: where it went, and what may hide it.
    if (!exerciseplace::isListed(folder, roots)) {
        err << me
            << QStringLiteral("aviso: Miravellon no mostrará este ejercicio, porque solo busca ejercicios en "
                              "carpetas «Ejercicios» como %1; para escribirlo allí, dé solo su nombre (sin «/»)")
                   .arg(QDir::toNativeSeparators(teacherCatalogue()))
            << u'\n';
    } else if (isNew) {
        const QStringList clash = exerciseplace::sameNumber(
            folder, catalogue::listCatalogue(catalogue::contentRoots(roots.first(), catalogue::dataRoots())));
        if (!clash.isEmpty())
            err << me
                << QStringLiteral("aviso: el número de «%1» ya lo lleva %2; los ejercicios se ven en la lista por "
                                  "orden de nombre, así que conviene otro número")
                       .arg(QFileInfo(folder).fileName(), QStringLiteral("«") + clash.join(QStringLiteral("», «")) + u'»')
                << u'\n';
    }
    out << QStringLiteral("Ejercicio: %1\n").arg(QDir::toNativeSeparators(folder));
    for (const itemwriter::Misspelling& m : draft.misspellings)
        out << QStringLiteral("línea %1: %2 → %3\n").arg(m.line).arg(m.correct, m.faulty);
    out << QDir::toNativeSeparators(written.correctPath) << u'\n' << QDir::toNativeSeparators(written.faultyPath) << u'\n';
    return 0;
}
