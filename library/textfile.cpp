#include "library/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringDecoder>

Q_LOGGING_CATEGORY(lcText, "miravellon.library")

namespace textfile {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes it leaves
// undefined keep their Latin-1 (C1 control) value.
constexpr char16_t High1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool hasHighByte(const QByteArray& bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

}  // namespace

QString decodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? High1252[b - 0x80] : char16_t(b));
    }
    return text;
}

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return utf8(bytes.sliced(3));
    }
    if (hasHighByte(bytes)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    return decodeWindows1252(bytes);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    const QChar* data = text.constData();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == u'\uFDD0' || c == u'\uFDD1') {
            lines.append(text.sliced(start, i - start));
            if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}

Version build(const QStringList& lines)
{
    Version v;
    qsizetype shownSize = 0;
    for (const QString& line : lines)
        shownSize += line.size() + 2;
    v.shown.reserve(shownSize);
    for (const QString& line : lines) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype space = line.indexOf(u' ', from);
            if (space < 0) {
                v.words.append(line.sliced(from));
                break;
            }
            v.words.append(line.sliced(from, space - from));
            from = space + 1;
        }
        v.shown += line;
        v.shown += QLatin1String(" \n");
    }
    return v;
}

ReadResult read(const QString& path)
{
    ReadResult result;
    const QFileInfo info(path);
    if (!info.isFile()) {
        result.status = ReadStatus::Missing;
        return result;
    }
    if (info.size() > MaxFileBytes) {
        qCWarning(lcText) << "refusing" << path << "of" << info.size() << "bytes";
        result.status = ReadStatus::TooLarge;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcText) << "cannot open" << path << file.errorString();
        result.status = ReadStatus::Unreadable;
        return result;
    }
    // Read one byte past the limit so that a file that grew since it was
    // measured is still refused.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcText) << "cannot read" << path << file.errorString();
        result.status = ReadStatus::Unreadable;
        return result;
    }
    if (bytes.size() > MaxFileBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    // No text the program reads (Windows-1252 or UTF-8) holds a NUL byte; a
    // picture or a word processor's document saved under a text's name does.
    if (bytes.contains('\0')) {
        qCWarning(lcText) << "refusing" << path << "as it is not a text";
        result.status = ReadStatus::NotText;
        return result;
    }
    const QStringList lines = splitLines(decode(bytes));
    if (lines.isEmpty()) {
        result.status = ReadStatus::Empty;
        return result;
    }
    // Count the word positions before building anything: a file of spaces
    // alone would otherwise make millions of empty words first.
    qsizetype words = lines.size();
    for (const QString& line : lines)
        words += line.count(u' ');
    if (words > MaxWords) {
        qCWarning(lcText) << "refusing" << path << "with" << words << "words";
        result.status = ReadStatus::TooManyWords;
        return result;
    }
    for (const QString& line : lines) {
        for (const QStringView word : QStringView(line).tokenize(u' ')) {
            if (word.size() > MaxWordLength) {
                qCWarning(lcText) << "refusing" << path << "with a word of" << word.size() << "characters";
                result.status = ReadStatus::WordTooLong;
                return result;
            }
        }
    }
    result.version = build(lines);
    result.status = ReadStatus::Ok;
    return result;
}

}  // namespace textfile
