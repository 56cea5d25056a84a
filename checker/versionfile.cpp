// SPDX-License-Identifier: GPL-3.0-or-later

#include "checker/versionfile.h"

#include "library/textfile.h"
#include "checker/report.h"


#include <algorithm>
#include <iterator>

namespace checker {

namespace {

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
    if (read.status == textfile::ReadStatus::Ok)
        return;
    const textfile::Finding& at = read.finding;
    const bool hasLine = read.status == textfile::ReadStatus::WordTooLong || read.status == textfile::ReadStatus::NotText
                         || read.status == textfile::ReadStatus::ControlCharacter;
    const bool counted = read.status == textfile::ReadStatus::NotText
                         || read.status == textfile::ReadStatus::ControlCharacter;
    report.add(Report::Kind::Error, place, hasLine ? at.line : 0,
               textfile::refusalText(read) + (counted ? andMore(int(at.more)) : QString()));
}

bool onlySpaces(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' '; });
}

// At most this many extra spaces are located in a file, the last one saying
// how many more there are.
constexpr int MaxSpacesLocated = 3;

QString spacesInARow(qsizetype n)
{
    static const char* const words[] = {"", "", "dos", "tres", "cuatro", "cinco"};
    return n < qsizetype(std::size(words)) ? QStringLiteral("%1 espacios seguidos").arg(QLatin1String(words[n]))
                                           : QStringLiteral("%1 espacios seguidos").arg(n);
}

// One run of spaces that makes empty words, located by the words around it.
struct ExtraSpace {
    int line;
    QString where;
    QString text;
};

// The runs of spaces of one line that make empty words: at its start, at its
// end, or more than one between two words. A line of spaces only is one run.
QList<ExtraSpace> extraSpacesOf(const QString& line, int number)
{
    QList<ExtraSpace> found;
    if (onlySpaces(line)) {
        found.append({number, QString(),
                      QStringLiteral("la línea solo tiene espacios: el programa los cuenta como palabras vacías")});
        return found;
    }
    const QStringList words = line.split(u' ');
    // Non-empty words, and how many empty words lie before each.
    qsizetype i = 0;
    QString before;  // the last word seen
    while (i < words.size()) {
        qsizetype empty = 0;
        while (i < words.size() && words[i].isEmpty()) {
            ++empty;
            ++i;
        }
        const bool atStart = before.isEmpty();
        const bool atEnd = i == words.size();
        const QString atEdge = empty == 1
            ? QStringLiteral("espacio de más: el programa lo cuenta como una palabra vacía")
            : QStringLiteral("%1 espacios de más: el programa los cuenta como %1 palabras vacías").arg(empty);
        if (atStart && empty > 0) {
            found.append({number, QStringLiteral("al principio, antes de «%1»").arg(words[i]), atEdge});
        } else if (atEnd && empty > 0) {
            // Here `empty` counts the empty word after the last space too.
            found.append({number, QStringLiteral("al final, después de «%1»").arg(before), atEdge});
        } else if (empty > 0) {
            found.append({number, QStringLiteral("entre «%1» y «%2»").arg(before, words[i]),
                          spacesInARow(empty + 1)
                              + (empty == 1 ? QStringLiteral(": el programa ve una palabra vacía entre las dos")
                                            : QStringLiteral(": el programa ve %1 palabras vacías entre las dos")
                                                  .arg(empty))});
        }
        if (i < words.size())
            before = words[i++];
    }
    return found;
}

// Spaces that make empty words. An empty line is an ordinary empty word.
void checkSpaces(const QStringList& lines, const QString& place, Report& report)
{
    QList<ExtraSpace> found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].isEmpty())
            found += extraSpacesOf(lines[i], int(i + 1));
    }
    const qsizetype shown = std::min<qsizetype>(found.size(), MaxSpacesLocated);
    for (qsizetype k = 0; k < shown; ++k) {
        const bool last = k == shown - 1;
        report.add(Report::Kind::Warning, place, found[k].line,
                   found[k].text + (last ? andMore(int(found.size() - shown)) : QString()), found[k].where);
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
    for (qsizetype i = lines.size() - 1; i >= 0 && lines[i].isEmpty(); --i)
        ++result.trailingEmptyLines;
    result.usable = true;
    return result;
}

}  // namespace checker
