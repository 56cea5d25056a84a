// miravellon-crear: makes an exercise item from a correct text.
//
//     miravellon-crear [--familia F] [--faltas N] [--semilla S] [--numero K]
//                      [--reemplazar] CARPETA_DEL_EJERCICIO [TEXTO]
//
// Reads the text (TEXTO, or standard input), takes the misspellings written in
// it as {correcto|falta}, adds N more of family F, and writes correcto/K.txt
// and incorrecto/K.txt in the exercise folder. Prints one line per
// misspelling and the two paths. Exit status: 0 when written; 1, with nothing
// written, when the text cannot make the item asked for or the folder cannot
// take it; 2 when the command line is wrong.

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

QString usage()
{
    return QStringLiteral(
               "Uso: miravellon-crear [--familia F] [--faltas N] [--semilla S] [--numero K] [--reemplazar]\n"
               "                      CARPETA_DEL_EJERCICIO [TEXTO]\n"
               "Crea un texto nuevo del ejercicio a partir del texto bien escrito (el archivo TEXTO o, sin él, lo\n"
               "que se escriba en la entrada): escribe correcto/K.txt e incorrecto/K.txt en la carpeta del\n"
               "ejercicio (la crea si no existe).\n"
               "  Las faltas se pueden escribir dentro del texto como {correcto|falta}: {vaca|baca}.\n"
               "  --faltas N     añade N faltas más elegidas por el programa (sin faltas escritas, %1)\n"
               "  --familia F    de qué familia: %2 (todas, si no se dice)\n"
               "  --semilla S    elige siempre las mismas faltas para la misma semilla (un número)\n"
               "  --numero K     el número del texto (si no, el siguiente al último que hay)\n"
               "  --reemplazar   permite sustituir un texto que ya existe; quien lo lea mientras se sustituye\n"
               "                 puede ver la versión correcta nueva con la versión con faltas anterior\n"
               "Termina con 0 si ha escrito el texto, 1 si no ha podido (y no escribe nada) y 2 si la orden\n"
               "está mal escrita.\n")
        .arg(DefaultMisspellings)
        .arg(families::names().join(QStringLiteral(", ")));
}

struct Options {
    QString family = QStringLiteral("todas");
    std::optional<int> misspellings;
    std::optional<quint32> seed;
    std::optional<int> number;
    bool replace = false;
    QString folder;
    QString text;  // empty: standard input
};

// The options, or a message saying what is wrong with them.
std::optional<Options> parseArguments(const QStringList& arguments, QString& error)
{
    Options options;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("falta el valor de %1").arg(a);
                return std::nullopt;
            }
            return arguments[++i];
        };
        const auto number = [&](qint64 least, qint64 most) -> std::optional<qint64> {
            const std::optional<QString> v = value();
            if (!v)
                return std::nullopt;
            bool ok = false;
            const qint64 n = v->toLongLong(&ok);
            if (!ok || n < least || n > most) {
                error = QStringLiteral("%1 necesita un número entre %2 y %3, no «%4»").arg(a).arg(least).arg(most).arg(*v);
                return std::nullopt;
            }
            return n;
        };
        if (a == QStringLiteral("--familia")) {
            const std::optional<QString> v = value();
            if (!v)
                return std::nullopt;
            if (families::named(*v).isEmpty()) {
                error = QStringLiteral("no hay ninguna familia «%1»; las familias son %2")
                            .arg(*v, families::names().join(QStringLiteral(", ")));
                return std::nullopt;
            }
            options.family = *v;
        } else if (a == QStringLiteral("--faltas")) {
            const auto n = number(0, textfile::MaxWords);
            if (!n)
                return std::nullopt;
            options.misspellings = int(*n);
        } else if (a == QStringLiteral("--semilla")) {
            const auto n = number(0, std::numeric_limits<quint32>::max());
            if (!n)
                return std::nullopt;
            options.seed = quint32(*n);
        } else if (a == QStringLiteral("--numero")) {
            const auto n = number(1, 999999999);
            if (!n)
                return std::nullopt;
            options.number = int(*n);
        } else if (a == QStringLiteral("--reemplazar")) {
            options.replace = true;
        } else if (a == QStringLiteral("--")) {
            positional += arguments.mid(i + 1);
            break;
        } else if (a.startsWith(u'-') && a != QStringLiteral("-")) {
            error = QStringLiteral("no conozco la opción «%1»").arg(a);
            return std::nullopt;
        } else {
            positional.append(a);
        }
    }
    if (positional.isEmpty() || positional.size() > 2) {
        error = positional.isEmpty() ? QStringLiteral("falta la carpeta del ejercicio")
                                     : QStringLiteral("sobra «%1»").arg(positional[2]);
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
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString me = QStringLiteral("miravellon-crear: ");

    const QStringList arguments = app.arguments().mid(1);
    if (arguments == QStringList{QStringLiteral("-h")} || arguments == QStringList{QStringLiteral("--help")}) {
        out << usage();
        return 0;
    }
    QString error;
    const std::optional<Options> options = parseArguments(arguments, error);
    if (!options) {
        err << me << error << u'\n' << usage();
        return ExitUsage;
    }

    const std::optional<QByteArray> bytes = readText(options->text, error);
    if (!bytes) {
        err << me << error << u'\n';
        return ExitRefused;
    }
    // Accented letters typed as a letter and a combining mark are stored as one
    // character, as Windows-1252 needs them.
    const QString text = textfile::decode(*bytes).normalized(QString::NormalizationForm_C);
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
        const QString added = itemwriter::addMisspellings(draft, families::named(options->family), wanted, random,
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

    const QString folder = QDir::cleanPath(QFileInfo(options->folder).absoluteFilePath());
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
    for (const itemwriter::Misspelling& m : draft.misspellings)
        out << QStringLiteral("línea %1: %2 → %3\n").arg(m.line).arg(m.correct, m.faulty);
    out << QDir::toNativeSeparators(written.correctPath) << u'\n' << QDir::toNativeSeparators(written.faultyPath) << u'\n';
    return 0;
}
