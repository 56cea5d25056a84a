// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringDecoder>

#include <algorithm>

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

bool isForbiddenControl(char16_t c)
{
    if (c == u'\t' || c == u'\r' || c == u'\n')
        return false;
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

bool looksLikeUtf16(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return true;
    // A UTF-16 text of Spanish holds its letters in one byte of each unit
    // and a NUL in the other.
    const qsizetype units = std::min<qsizetype>(bytes.size() / 2, 4096);
    qsizetype nulFirst = 0;
    qsizetype nulSecond = 0;
    for (qsizetype i = 0; i < units; ++i) {
        const char a = bytes[2 * i];
        const char b = bytes[2 * i + 1];
        nulFirst += a == '\0' && b != '\0';
        nulSecond += a != '\0' && b == '\0';
    }
    return units > 0 && 2 * std::max(nulFirst, nulSecond) >= units;
}

int lineOf(const QString& text, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset && i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == u'\uFDD0' || c == u'\uFDD1')
            ++line;
    }
    return line;
}

ReadResult check(QByteArray bytes)
{
    ReadResult result;
    result.bytes = std::move(bytes);
    const QByteArray& raw = result.bytes;
    if (looksLikeUtf16(raw)) {
        result.status = ReadStatus::Utf16;
        return result;
    }
    // No text the program reads (Windows-1252 or UTF-8) holds a NUL byte; a
    // picture or a word processor's document saved under a text's name does.
    if (const qsizetype nul = raw.indexOf('\0'); nul >= 0) {
        result.status = ReadStatus::NotText;
        result.text = decodeWindows1252(raw);
        result.finding = {lineOf(result.text, nul), 0, raw.count('\0') - 1};
        return result;
    }
    result.text = decode(raw);
    const QString& text = result.text;
    qsizetype controls = 0;
    qsizetype first = -1;
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = chars[i].unicode();
        if (c >= 0x20 && c < 0x7F)
            continue;
        if (isForbiddenControl(c) && controls++ == 0)
            first = i;
    }
    result.lines = splitLines(text);
    const QStringList& lines = result.lines;
    if (lines.isEmpty()) {
        result.status = ReadStatus::Empty;
        return result;
    }
    if (controls > 0) {
        result.status = ReadStatus::ControlCharacter;
        result.finding = {lineOf(text, first), text[first].unicode(), controls - 1};
        return result;
    }
    // Count the word positions before building anything: a file of spaces
    // alone would otherwise make millions of empty words first.
    qsizetype words = lines.size();
    for (const QString& line : lines)
        words += line.count(u' ');
    if (words > MaxWords) {
        result.status = ReadStatus::TooManyWords;
        result.finding = {0, words, 0};
        return result;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const QStringView word : QStringView(lines[i]).tokenize(u' ')) {
            if (word.size() > MaxWordLength) {
                result.status = ReadStatus::WordTooLong;
                result.finding = {int(i + 1), word.size(), 0};
                return result;
            }
        }
    }
    result.version = build(lines);
    result.status = ReadStatus::Ok;
    return result;
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
        result.finding.value = info.size();
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
    QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcText) << "cannot read" << path << file.errorString();
        result.status = ReadStatus::Unreadable;
        return result;
    }
    if (bytes.size() > MaxFileBytes) {
        result.status = ReadStatus::TooLarge;
        result.finding.value = bytes.size();
        return result;
    }
    result = check(std::move(bytes));
    if (result.status != ReadStatus::Ok)
        qCWarning(lcText) << "refusing" << path << "status" << int(result.status) << "at line" << result.finding.line;
    return result;
}

}  // namespace textfile

namespace textfile {

namespace {

ReadResult converted(ReadResult result)
{
    const QByteArray& raw = result.bytes;
    const bool little = raw.startsWith("\xFF\xFE");
    if (result.status != ReadStatus::Utf16 || !(little || raw.startsWith("\xFE\xFF")))
        return result;
    QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
    const QString text = utf16(raw.sliced(2));
    if (utf16.hasError())
        return result;
    return check(QByteArray("\xEF\xBB\xBF") + text.toUtf8());
}

QString hex(qint64 code)
{
    return QStringLiteral("0x") + QString::number(code, 16).toUpper().rightJustified(2, u'0');
}

}  // namespace

ReadResult checkInput(QByteArray bytes)
{
    return converted(check(std::move(bytes)));
}

ReadResult readInput(const QString& path)
{
    return converted(read(path));
}

QString refusalText(const ReadResult& result)
{
    const Finding& at = result.finding;
    switch (result.status) {
    case ReadStatus::Ok: return {};
    case ReadStatus::Missing:
    case ReadStatus::Unreadable:
        return QStringLiteral("no se puede leer el archivo: compruebe que existe y que se puede abrir");
    case ReadStatus::Empty: return QStringLiteral("el archivo está vacío: escriba en él el texto");
    case ReadStatus::TooLarge:
        return QStringLiteral("el archivo es demasiado grande: %1 bytes, y el programa no lee archivos de más de %2 "
                              "bytes; divida el texto en textos más cortos")
            .arg(at.value)
            .arg(MaxFileBytes);
    case ReadStatus::TooManyWords:
        return QStringLiteral("el texto tiene demasiadas palabras: %1, y el programa admite como mucho %2; divida el "
                              "texto en textos más cortos")
            .arg(at.value)
            .arg(MaxWords);
    case ReadStatus::WordTooLong:
        return QStringLiteral("una palabra es demasiado larga: %1 caracteres, y el programa admite como mucho %2; "
                              "separe las palabras con espacios")
            .arg(at.value)
            .arg(MaxWordLength);
    case ReadStatus::Utf16:
        return QStringLiteral("el archivo está guardado en UTF-16 («Unicode»), que el programa no lee: guárdelo "
                              "como «UTF-8» o «ANSI» (en el Bloc de notas, «Guardar como», «Codificación»)");
    case ReadStatus::NotText:
    case ReadStatus::ControlCharacter: {
        // Only the five bytes Windows-1252 leaves undefined decode to C1
        // control characters in a text that is not UTF-8.
        const bool undefinedByte = at.value >= 0x80 && at.value < 0xA0 && result.text == decodeWindows1252(result.bytes);
        if (undefinedByte)
            return QStringLiteral("el byte %1 no es ninguna letra en Windows-1252 y el archivo tampoco es UTF-8 "
                                  "válido: guárdelo como texto «UTF-8»")
                .arg(hex(at.value));
        return QStringLiteral("carácter de control (código %1): no es un archivo de texto; guárdelo como «Texto sin "
                              "formato (.txt)» desde el procesador de textos")
            .arg(hex(at.value));
    }
    }
    return {};
}

}  // namespace textfile
