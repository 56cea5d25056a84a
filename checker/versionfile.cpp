#include "checker/versionfile.h"

#include "library/textfile.h"
#include "checker/report.h"


#include <algorithm>

namespace checker {

namespace {

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

// What the program accepts but the teacher should know: tabs, and
// accented letters of UTF-8 inside a Windows-1252 text.
void checkCharacters(const QByteArray& bytes, const QString& text, const QString& place, Report& report)
{
    Occurrence tab;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\t')
            tab.note(i, u'\t');
    }
    if (tab.count > 0) {
        report.add(Report::Kind::Warning, place, textfile::lineOf(text, tab.offset),
                   QStringLiteral("tabulador: el programa solo separa las palabras con espacios, así que "
                                  "el tabulador queda dentro de una palabra")
                       + andMore(tab.count - 1));
    }

    // Accented letters of UTF-8 (0xC3 and a continuation byte) in a file
    // that is read as Windows-1252: an editor mixed both encodings.
    const bool utf8 = text != textfile::decodeWindows1252(bytes);
    if (!utf8) {
        for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
            const auto lead = static_cast<unsigned char>(bytes[i]);
            const auto next = static_cast<unsigned char>(bytes[i + 1]);
            if (lead == 0xC3 && next >= 0x80 && next < 0xC0) {
                report.add(Report::Kind::Warning, place, textfile::lineOf(text, i),
                           QStringLiteral("«%1» parece una letra acentuada en UTF-8 dentro de un archivo en "
                                          "Windows-1252: guarde todo el archivo con la misma codificación")
                               .arg(text.sliced(i, 2)));
                break;
            }
        }
    }
}

// Why the program refuses the file, in the teacher's words.
void reportRefusal(const textfile::ReadResult& read, const QString& place, Report& report)
{
    using textfile::ReadStatus;
    const textfile::Finding& at = read.finding;
    switch (read.status) {
    case ReadStatus::Ok: return;
    case ReadStatus::Missing:
    case ReadStatus::Unreadable: report.error(place, QStringLiteral("no se puede leer el archivo")); return;
    case ReadStatus::Empty: report.error(place, QStringLiteral("el archivo está vacío")); return;
    case ReadStatus::TooLarge:
        report.error(place, QStringLiteral("el archivo es demasiado grande: %1 bytes, y el programa no lee "
                                           "archivos de más de %2 bytes")
                                .arg(at.value)
                                .arg(textfile::MaxFileBytes));
        return;
    case ReadStatus::TooManyWords:
        report.error(place, QStringLiteral("el texto tiene demasiadas palabras: %1, y el programa admite como "
                                           "mucho %2")
                                .arg(at.value)
                                .arg(textfile::MaxWords));
        return;
    case ReadStatus::WordTooLong:
        report.add(Report::Kind::Error, place, at.line,
                   QStringLiteral("una palabra es demasiado larga: %1 caracteres, y el programa admite como mucho %2")
                       .arg(at.value)
                       .arg(textfile::MaxWordLength));
        return;
    case ReadStatus::Utf16:
        report.error(place, QStringLiteral("el archivo está guardado en UTF-16 («Unicode»), que el programa no "
                                           "lee: guárdelo en UTF-8 o ANSI"));
        return;
    case ReadStatus::NotText:
    case ReadStatus::ControlCharacter: {
        const auto code = char16_t(at.value);
        // Only the five bytes Windows-1252 leaves undefined decode to C1
        // control characters in a text that is not UTF-8.
        const bool undefinedByte
            = code >= 0x80 && code < 0xA0 && read.text == textfile::decodeWindows1252(read.bytes);
        const QString text = undefinedByte
            ? QStringLiteral("el byte %1 no es ninguna letra en Windows-1252 y el archivo tampoco es UTF-8 válido")
            : QStringLiteral("carácter de control (código %1): no es un archivo de texto");
        report.add(Report::Kind::Error, place, at.line, text.arg(hex(code)) + andMore(int(at.more)));
        return;
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
    const textfile::ReadResult read = textfile::read(path);
    if (read.status != textfile::ReadStatus::Ok) {
        reportRefusal(read, place, report);
        return result;
    }
    checkCharacters(read.bytes, read.text, place, report);
    const QStringList& lines = read.lines;
    if (std::all_of(lines.begin(), lines.end(), onlySpaces)) {
        report.warning(place, QStringLiteral("el archivo no tiene texto: solo espacios o líneas vacías"));
    } else {
        checkSpaces(lines, place, report);
    }

    result.words = read.version.words;
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
