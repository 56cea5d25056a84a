// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/resultsrow.h"

#include "library/rowfields.h"

#include <QStringView>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <limits>

namespace results {

namespace {

const QString Yes = QStringLiteral("sí");
const QString No = QStringLiteral("no");

QString yesNo(bool value)
{
    return value ? Yes : No;
}

std::optional<bool> parseYesNo(const QString& field)
{
    if (field == Yes)
        return true;
    if (field == No)
        return false;
    return std::nullopt;
}

std::optional<qint64> parseCount(const QString& field)
{
    if (field.isEmpty() || field.size() > 18)
        return std::nullopt;
    for (QChar c : field) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return field.toLongLong();
}

// The largest count a row holds: 18 digits.
constexpr qint64 LargestCount = 999'999'999'999'999'999;

bool breaksLine(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The text as UTF-8 gives it back: a lone surrogate becomes U+FFFD.
QString encodable(const QString& text)
{
    for (QChar c : text) {
        if (c.isSurrogate())
            return QString::fromUtf8(text.toUtf8());
    }
    return text;
}

QString withoutFormulaStart(QString text)
{
    qsizetype start = 0;
    while (start < text.size() && (text.at(start) == u' ' || QStringView(u"=+-@").contains(text.at(start))))
        ++start;
    return text.mid(start);
}

}  // namespace

bool isHeader(QStringView line)
{
    const QLatin1StringView header(Header);
    return line == header || line == header.first(header.indexOf(QLatin1StringView(";escrito")));
}

QString normalWord(const QString& word)
{
    QString normal;
    for (QChar c : encodable(word)) {
        if (!breaksLine(c) && c != u' ')
            normal += c;
    }
    return normal;
}

namespace {

// The text with every character that would break a row's line made a space.
QString onOneLine(const QString& text)
{
    QString line = encodable(text);
    for (QChar& c : line) {
        if (breaksLine(c))
            c = u' ';
    }
    return line;
}

}  // namespace

QString normalText(const QString& text)
{
    return withoutFormulaStart(onOneLine(text));
}

QString cleanName(const QString& name)
{
    // Simplified first: a formula character after leading spaces is at the start too.
    QString clean = withoutFormulaStart(onOneLine(name.normalized(QString::NormalizationForm_C)).simplified());
    constexpr qsizetype Longest = 100;
    if (clean.size() > Longest) {
        // The cut falls between two characters as a reader sees them, never
        // inside a surrogate pair, an accent or an emoji.
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, clean);
        finder.setPosition(Longest);
        if (!finder.isAtBoundary())
            finder.toPreviousBoundary();
        clean = clean.left(std::max<qsizetype>(0, finder.position())).trimmed();
    }
    return clean;
}

Row normalised(const Row& row)
{
    Row normal = row;
    normal.time = QTime(row.time.hour(), row.time.minute(), row.time.second());
    normal.pupil = cleanName(row.pupil);
    normal.exercise = normalText(row.exercise);
    normal.item = std::clamp<qint64>(row.item, 0, LargestCount);
    normal.inTime = row.finished && row.inTime;
    normal.seconds = std::clamp<qint64>(row.seconds, 0, LargestCount);
    normal.corrected = std::max(0, row.corrected);
    normal.failed = std::max(0, row.failed);
    // Lists are read once each: indexing a word list walks it.
    const QStringList failures = row.failures();
    const QStringList written = row.written();
    const QStringList families = row.families();
    const bool detailed = !written.isEmpty() || !families.isEmpty();
    QStringList normalFailures;
    QStringList normalWritten;
    QStringList normalFamilies;
    for (qsizetype i = 0; i < failures.size(); ++i) {
        // The lists hold normal words already (see WordList).
        const QString& word = failures.at(i);
        if (word.isEmpty())
            continue;
        normalFailures.append(word);
        if (!detailed)
            continue;
        const QString form = written.value(i);
        const QString family = families.value(i);
        normalWritten.append(form.isEmpty() ? QStringLiteral("-") : form);
        normalFamilies.append(family.isEmpty() ? QStringLiteral("otra") : family);
    }
    QStringList right = row.rightFirstTime();
    const bool rightChanged = right.removeAll(QString()) > 0;
    if (normalFailures.size() != failures.size() || detailed || rightChanged)
        normal.setWords(normalFailures, normalWritten, normalFamilies, right);
    return normal;
}

QString csvField(const QString& value)
{
    QString field = onOneLine(value);
    if (!field.contains(u';') && !field.contains(u'"'))
        return field;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

QStringList rowFields(const Row& row, QString (*text)(const QString&))
{
    return {row.date.toString(Qt::ISODate),
            row.time.toString(QStringLiteral("HH:mm:ss")),
            text(row.pupil),
            text(row.exercise),
            QString::number(row.item),
            yesNo(row.finished),
            yesNo(row.inTime),
            QString::number(row.seconds),
            QString::number(row.corrected),
            QString::number(row.failed),
            yesNo(row.help),
            text(row.failures().joined()),
            text(row.written().joined()),
            text(row.families().joined()),
            text(row.rightFirstTime().joined())};
}

QByteArray encodeRow(const Row& original)
{
    return (rowFields(normalised(original), csvField).join(u';') + QStringLiteral("\r\n")).toUtf8();
}

QByteArray rowKey(const Row& original)
{
    const Row row = normalised(original);
    const QStringList fields{row.date.toString(Qt::ISODate), row.time.toString(QStringLiteral("HH:mm:ss")),
                             csvField(row.pupil), csvField(row.exercise), QString::number(row.item)};
    return (fields.join(u';') + u';').toUtf8();
}

std::optional<QStringList> splitLine(QStringView line)
{
    QStringList fields;
    fields.reserve(FieldCount);
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        if (i < n && line[i] == u'"') {
            QString field;
            ++i;
            while (true) {
                // The run up to the next quote at once.
                const qsizetype quote = line.indexOf(u'"', i);
                if (quote < 0)
                    return std::nullopt;  // the quote is never closed
                field += line.sliced(i, quote - i);
                i = quote;
                if (i + 1 < n && line[i + 1] == u'"') {
                    field += u'"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            if (i < n && line[i] != u';')
                return std::nullopt;  // text after the closing quote
            fields.append(field);
        } else {
            qsizetype end = line.indexOf(u';', i);
            if (end < 0)
                end = n;
            const QStringView field = line.sliced(i, end - i);
            if (field.contains(u'"'))
                return std::nullopt;
            fields.append(field.toString());
            i = end;
        }
        if (i >= n)
            break;
        ++i;  // the ';'
    }
    return fields;
}

std::optional<Row> parseRow(QStringView line)
{
    const std::optional<QStringList> fields = splitLine(line);
    if (!fields || (fields->size() != FieldCount && fields->size() != ShortFieldCount))
        return std::nullopt;
    const QStringList& f = *fields;
    Row row;
    row.date = fields::date(f[0]);
    row.time = fields::time(f[1]);
    if (!row.date.isValid() || !row.time.isValid())
        return std::nullopt;
    row.pupil = f[2];
    row.exercise = f[3];
    const auto item = parseCount(f[4]);
    const auto finished = parseYesNo(f[5]);
    const auto inTime = parseYesNo(f[6]);
    const auto seconds = parseCount(f[7]);
    const auto corrected = parseCount(f[8]);
    const auto failed = parseCount(f[9]);
    const auto help = parseYesNo(f[10]);
    if (!item || !finished || !inTime || !seconds || !corrected || !failed || !help)
        return std::nullopt;
    if (*corrected > std::numeric_limits<int>::max() || *failed > std::numeric_limits<int>::max())
        return std::nullopt;
    row.item = *item;
    row.finished = *finished;
    row.inTime = *inTime;
    row.seconds = *seconds;
    row.corrected = int(*corrected);
    row.failed = int(*failed);
    row.help = *help;
    if (f.size() == FieldCount) {
        row.setWords(f[11].split(u' ', Qt::SkipEmptyParts), f[12].split(u' ', Qt::SkipEmptyParts),
                     f[13].split(u' ', Qt::SkipEmptyParts), f[14].split(u' ', Qt::SkipEmptyParts));
    } else {
        row.setFailures(f[11].split(u' ', Qt::SkipEmptyParts));
    }
    return normalised(row);
}

}  // namespace results
