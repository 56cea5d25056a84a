// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/rowreader.h"

#include "library/rowfields.h"

#include "library/textfile.h"

#include <cstring>
#include <limits>

namespace results {

bool isUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Eight bytes of ASCII at a time.
        if (end - p >= 8) {
            quint64 eight;
            std::memcpy(&eight, p, 8);
            if ((eight & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char b = *p++;
        if (b < 0x80)
            continue;
        int more = 0;
        char32_t code = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
            code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            code = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            code = b & 0x07;
        } else {
            return false;
        }
        if (end - p < more)
            return false;
        for (int i = 0; i < more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((more == 2 && code < 0x800) || (more == 3 && (code < 0x10000 || code > 0x10FFFF))
            || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += more;
    }
    return true;
}

namespace {

// 1 to 18 digits; -1 otherwise.
qint64 countOf(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 18)
        return -1;
    qint64 value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// 1 for "sí", 0 for "no", -1 otherwise.
int yesNoOf(QByteArrayView text)
{
    if (text == QByteArrayView("s\xC3\xAD"))
        return 1;
    return text == QByteArrayView("no") ? 0 : -1;
}

// The words of a word list's field when they are in their normal form with
// one space between two: none holds a control character, a line or a
// paragraph separator (which a normal word loses), none is empty. -1 for any
// other field.
qsizetype plainWords(QByteArrayView field)
{
    if (field.isEmpty())
        return 0;
    if (field.front() == ' ' || field.back() == ' ')
        return -1;
    const auto* p = reinterpret_cast<const unsigned char*>(field.data());
    const qsizetype n = field.size();
    qsizetype count = 1;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = p[i];
        if (b == ' ') {
            if (p[i - 1] == ' ')
                return -1;
            ++count;
        } else if (b < 0x20 || b == 0x7F) {
            return -1;
        } else if (b == 0xC2 && i + 1 < n && p[i + 1] >= 0x80 && p[i + 1] <= 0x9F) {
            return -1;  // U+0080 to U+009F
        } else if (b == 0xE2 && i + 2 < n && p[i + 1] == 0x80 && (p[i + 2] == 0xA8 || p[i + 2] == 0xA9)) {
            return -1;  // U+2028, U+2029
        }
    }
    return count;
}

QString decodeLine(QByteArrayView line, bool utf8)
{
    if (utf8)
        return QString::fromUtf8(line);
    return textfile::decodeWindows1252(QByteArray::fromRawData(line.data(), line.size()));
}

}  // namespace

const QString& RowReader::shared(QHash<QByteArray, QString>& known, QByteArrayView field,
                                 QString (*normal)(const QString&))
{
    const auto it = known.constFind(QByteArray::fromRawData(field.data(), field.size()));
    if (it != known.cend())
        return *it;
    QString text = normal(QString::fromUtf8(field));
    share(text);
    return *known.insert(field.toByteArray(), text);
}

void RowReader::share(QString& text)
{
    const auto it = texts_.constFind(text);
    if (it != texts_.cend())
        text = *it;
    else
        texts_.insert(text, text);
}

std::optional<Row> RowReader::readPlain(QByteArrayView line)
{
    if (!isUtf8(line) || line.contains('"'))
        return std::nullopt;
    QByteArrayView f[FieldCount];
    int fields = 0;
    for (qsizetype start = 0;;) {
        if (fields == FieldCount)
            return std::nullopt;
        const void* found = std::memchr(line.data() + start, ';', size_t(line.size() - start));
        const qsizetype end = found ? static_cast<const char*>(found) - line.data() : line.size();
        f[fields++] = line.sliced(start, end - start);
        if (!found)
            break;
        start = end + 1;
    }
    if (fields != FieldCount && fields != ShortFieldCount)
        return std::nullopt;
    Row row;
    row.date = fields::date(f[0]);
    row.time = fields::time(f[1]);
    const qint64 item = countOf(f[4]);
    const int finished = yesNoOf(f[5]);
    const int inTime = yesNoOf(f[6]);
    const qint64 seconds = countOf(f[7]);
    const qint64 corrected = countOf(f[8]);
    const qint64 failed = countOf(f[9]);
    const int help = yesNoOf(f[10]);
    if (!row.date.isValid() || !row.time.isValid() || item < 0 || finished < 0 || inTime < 0 || seconds < 0
        || corrected < 0 || failed < 0 || help < 0 || corrected > std::numeric_limits<int>::max()
        || failed > std::numeric_limits<int>::max())
        return std::nullopt;
    const qsizetype failures = plainWords(f[11]);
    const bool longer = fields == FieldCount;
    const qsizetype written = longer ? plainWords(f[12]) : 0;
    const qsizetype families = longer ? plainWords(f[13]) : 0;
    const qsizetype right = longer ? plainWords(f[14]) : 0;
    if (failures < 0 || written < 0 || families < 0 || right < 0)
        return std::nullopt;
    // A form and a family for every failed word, or none at all.
    if ((written > 0 || families > 0) && (written != failures || families != failures))
        return std::nullopt;
    row.pupil = shared(pupils_, f[2], cleanName);
    row.exercise = shared(exercises_, f[3], normalText);
    row.item = item;
    row.finished = finished == 1;
    row.inTime = row.finished && inTime == 1;
    row.seconds = seconds;
    row.corrected = int(corrected);
    row.failed = int(failed);
    row.help = help == 1;
    if (longer) {
        row.setNormalUtf8Words({f[11], f[12], f[13], f[14]});
    } else {
        row.setNormalUtf8Words({f[11], {}, {}, {}});
    }
    return row;
}

std::optional<Row> RowReader::read(QByteArrayView line)
{
    if (std::optional<Row> row = readPlain(line))
        return row;
    std::optional<Row> row = parseRow(decodeLine(line, isUtf8(line)));
    if (row) {
        share(row->pupil);
        share(row->exercise);
    }
    return row;
}

}  // namespace results
