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
    QString field;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        field.clear();
        if (i < n && line[i] == u'"') {
            ++i;
            while (true) {
                if (i >= n)
                    return std::nullopt;  // the quote is never closed
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (i < n && line[i] != u';')
                return std::nullopt;  // text after the closing quote
        } else {
            while (i < n && line[i] != u';') {
                if (line[i] == u'"')
                    return std::nullopt;
                field += line[i++];
            }
        }
        fields.append(field);
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
    row.date = QDate::fromString(f[0], Qt::ISODate);
    row.time = QTime::fromString(f[1], QStringLiteral("HH:mm:ss"));
    if (!row.date.isValid() || !row.time.isValid() || f[0].size() != 10)
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
