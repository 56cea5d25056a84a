#include "library/resultsrow.h"

#include <QStringView>

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

// The digits of `text` from `from`, `count` of them; -1 when one is no digit.
int digits(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// AAAA-MM-DD, by hand: the general date parser costs more than the rest of a row.
QDate parseDate(QStringView text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day);
}

// HH:mm:ss.
QTime parseTime(QStringView text)
{
    if (text.size() != 8 || text[2] != u':' || text[5] != u':')
        return {};
    const int hour = digits(text, 0, 2);
    const int minute = digits(text, 3, 2);
    const int second = digits(text, 6, 2);
    if (hour < 0 || minute < 0 || second < 0 || !QTime::isValid(hour, minute, second))
        return {};
    return QTime(hour, minute, second);
}

}  // namespace

QString csvField(const QString& value)
{
    QString field = value;
    for (QChar& c : field) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    if (!field.contains(u';') && !field.contains(u'"'))
        return field;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

QByteArray encodeRow(const Row& row)
{
    const QStringList fields{row.date.toString(Qt::ISODate),
                             row.time.toString(QStringLiteral("HH:mm:ss")),
                             csvField(row.pupil),
                             csvField(row.exercise),
                             QString::number(row.item),
                             yesNo(row.finished),
                             yesNo(row.inTime),
                             QString::number(row.seconds),
                             QString::number(row.corrected),
                             QString::number(row.failed),
                             yesNo(row.help),
                             csvField(row.failures.join(u' '))};
    return (fields.join(u';') + QStringLiteral("\r\n")).toUtf8();
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
    if (!fields || fields->size() != FieldCount)
        return std::nullopt;
    const QStringList& f = *fields;
    Row row;
    row.date = parseDate(f[0]);
    row.time = parseTime(f[1]);
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
    row.failures = f[11].split(u' ', Qt::SkipEmptyParts);
    return row;
}

}  // namespace results
