#include "checker/versionfile.h"

#include "library/textfile.h"
#include "checker/report.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace checker {

namespace {

// Where each line of a text starts, with the line ends the program knows:
// CR LF, a lone CR and a lone LF.
QList<qsizetype> lineStarts(const QString& text)
{
    QList<qsizetype> starts{0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (c == u'\r' || c == u'\n')
            starts.append(i + 1);
    }
    return starts;
}

int lineAt(const QList<qsizetype>& starts, qsizetype offset)
{
    return int(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin());
}

QString hex(char16_t code)
{
    return QStringLiteral("0x") + QString::number(uint(code), 16).toUpper().rightJustified(2, u'0');
}

QString andMore(int more)
{
    return more > 0 ? QStringLiteral(" (y %1 más en el archivo)").arg(more) : QString();
}

// The first of a kind of flaw in a file, and how many there are.
struct Occurrence {
    qsizetype offset = -1;
    char16_t code = 0;
    int count = 0;

    void note(qsizetype at, char16_t c)
    {
        if (count++ == 0) {
            offset = at;
            code = c;
        }
    }
};

// Characters that are no text, line feeds without a carriage return before
// them, and tabs.
void checkCharacters(const QByteArray& bytes, const QString& text, const QString& place, Report& report)
{
    // Windows-1252 decoding keeps one character per byte; when the text was
    // decoded as UTF-8 instead, its characters tell what is wrong.
    const bool utf8 = text != textfile::decodeWindows1252(bytes);
    const QList<qsizetype> starts = lineStarts(text);

    Occurrence control, undefined, bareLineFeed, tab;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            bareLineFeed.note(i, c);
        } else if (c == u'\t') {
            tab.note(i, c);
        } else if (c < 0x20 || c == 0x7F || (utf8 && c >= 0x80 && c < 0xA0)) {
            control.note(i, c);
        } else if (c >= 0x80 && c < 0xA0) {
            // Only the five bytes Windows-1252 leaves undefined decode to
            // these characters.
            undefined.note(i, c);
        }
    }

    if (control.count > 0) {
        report.add(Report::Kind::Error, place, lineAt(starts, control.offset),
                   QStringLiteral("carácter de control (código %1): no es un archivo de texto")
                           .arg(hex(control.code))
                       + andMore(control.count - 1));
    }
    if (undefined.count > 0) {
        report.add(Report::Kind::Error, place, lineAt(starts, undefined.offset),
                   QStringLiteral("el byte %1 no es ninguna letra en Windows-1252 y el archivo tampoco es "
                                  "UTF-8 válido")
                           .arg(hex(undefined.code))
                       + andMore(undefined.count - 1));
    }
    if (bareLineFeed.count > 0) {
        // The line feed ends the line it is counted in.
        report.add(Report::Kind::Error, place, lineAt(starts, bareLineFeed.offset),
                   QStringLiteral("la línea termina con un salto de línea sin retorno de carro (LF sin CR); "
                                  "guarde el archivo con finales de línea de Windows (CR LF)")
                       + andMore(bareLineFeed.count - 1));
    }
    if (tab.count > 0) {
        report.add(Report::Kind::Warning, place, lineAt(starts, tab.offset),
                   QStringLiteral("tabulador: el programa solo separa las palabras con espacios, así que "
                                  "el tabulador queda dentro de una palabra")
                       + andMore(tab.count - 1));
    }

    // Accented letters of UTF-8 (0xC3 and a continuation byte) in a file
    // that is read as Windows-1252: an editor mixed both encodings.
    if (!utf8) {
        for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
            const auto lead = static_cast<unsigned char>(bytes[i]);
            const auto next = static_cast<unsigned char>(bytes[i + 1]);
            if (lead == 0xC3 && next >= 0x80 && next < 0xC0) {
                report.add(Report::Kind::Warning, place, lineAt(starts, i),
                           QStringLiteral("«%1» parece una letra acentuada en UTF-8 dentro de un archivo en "
                                          "Windows-1252: guarde todo el archivo con la misma codificación")
                               .arg(text.sliced(i, 2)));
                break;
            }
        }
    }
}

bool onlySpaces(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' '; });
}

// Spaces that make empty words: at the start or end of a line that holds
// more than spaces, or two in a row. An empty line is an ordinary empty word.
void checkSpaces(const QStringList& lines, const QString& place, Report& report)
{
    int first = 0;
    int count = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty())
            continue;
        if (line.startsWith(u' ') || line.endsWith(u' ') || line.contains(QLatin1String("  "))) {
            if (count++ == 0)
                first = int(i + 1);
        }
    }
    if (count > 0) {
        report.add(Report::Kind::Warning, place, first,
                   QStringLiteral("espacio de más (al principio o al final de la línea, o dos seguidos): el "
                                  "programa lo cuenta como una palabra vacía")
                       + (count > 1 ? QStringLiteral(" (y en %1 líneas más)").arg(count - 1) : QString()));
    }
}

}  // namespace

VersionText inspectVersion(const QString& path, const QString& place, Report& report)
{
    VersionText result;
    const QFileInfo info(path);
    if (info.size() > textfile::MaxFileBytes) {
        report.error(place, QStringLiteral("el archivo es demasiado grande: %1 bytes, y el programa no lee "
                                           "archivos de más de %2 bytes")
                                .arg(info.size())
                                .arg(textfile::MaxFileBytes));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report.error(place, QStringLiteral("no se puede leer el archivo"));
        return result;
    }
    const QByteArray bytes = file.read(textfile::MaxFileBytes + 1);
    if (bytes.isEmpty()) {
        report.error(place, QStringLiteral("el archivo está vacío"));
        return result;
    }

    const QString text = textfile::decode(bytes);
    checkCharacters(bytes, text, place, report);

    const QStringList lines = textfile::splitLines(text);
    if (std::all_of(lines.begin(), lines.end(), onlySpaces)) {
        report.error(place, QStringLiteral("el archivo no tiene texto: solo espacios o líneas vacías"));
        return result;
    }
    qsizetype words = lines.size();
    for (const QString& line : lines)
        words += line.count(u' ');
    if (words > textfile::MaxWords) {
        report.error(place, QStringLiteral("el texto tiene demasiadas palabras: %1, y el programa admite como "
                                           "mucho %2")
                                .arg(words)
                                .arg(textfile::MaxWords));
        return result;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const QStringView word : QStringView(lines[i]).tokenize(u' ')) {
            if (word.size() > textfile::MaxWordLength) {
                report.add(Report::Kind::Error, place, int(i + 1),
                           QStringLiteral("una palabra es demasiado larga: %1 caracteres, y el programa admite "
                                          "como mucho %2")
                               .arg(word.size())
                               .arg(textfile::MaxWordLength));
                return result;
            }
        }
    }
    checkSpaces(lines, place, report);

    result.words = textfile::build(lines).words;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int count = int(lines[i].count(u' ') + 1);
        result.wordsPerLine.append(count);
        for (int k = 0; k < count; ++k)
            result.lineOfWord.append(int(i + 1));
    }
    result.usable = true;
    return result;
}

}  // namespace checker
