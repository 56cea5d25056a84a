// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: an exercise file's bytes through decoding, line splitting,
// word positions and the shown text, and the same bytes read from disk.

#include "tests/fuzz/fuzztargets.h"

#include "library/textfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <string>

namespace fuzz {

namespace {

void require(bool holds, const char* property)
{
    if (!holds)
        throw PropertyFailure(std::string("textfile: ") + property);
}

// CR, LF, and the characters a text box takes as paragraph breaks of its own.
bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == u'\uFDD0' || c == u'\uFDD1';
}

void checkDecoded(const QByteArray& bytes, const QString& text)
{
    require(text.isValidUtf16(), "decoding gives valid UTF-16");
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        require(text == QLatin1String(bytes), "plain ASCII decodes to itself");
        return;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        // The mark is no part of the text, nor is a second one right after it.
        // Bytes that are not UTF-8 become U+FFFD; everything else comes back.
        QByteArray rest = bytes.sliced(3);
        if (rest.startsWith("\xEF\xBB\xBF"))
            rest = rest.sliced(3);
        if (!text.contains(QChar::ReplacementCharacter))
            require(text.toUtf8() == rest, "UTF-8 after a byte-order mark round-trips");
        return;
    }
    const QString windows = textfile::decodeWindows1252(bytes);
    require(text == windows || text.toUtf8() == bytes, "either Windows-1252 or exact UTF-8");
    require(windows.size() == bytes.size(), "Windows-1252 gives one character per byte");
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        if (b < 0x80 || b >= 0xA0)
            require(windows.at(i).unicode() == b, "Windows-1252 agrees with Latin-1 outside 0x80-0x9F");
        else
            require(windows.at(i).unicode() >= 0x80, "Windows-1252 maps 0x80-0x9F above ASCII");
    }
}

void checkLines(const QString& text, const QStringList& lines)
{
    QString joined;
    qsizetype ends = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // CR LF is one line end.
        if (isLineEnd(text.at(i)) && !(text.at(i) == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n'))
            ++ends;
        if (!isLineEnd(text.at(i)))
            joined += text.at(i);
    }
    const bool openLast = !text.isEmpty() && !isLineEnd(text.back());
    require(lines.size() == ends + (openLast ? 1 : 0), "one line per line end, plus an unended last line");
    QString concatenated;
    for (const QString& line : lines) {
        for (QChar c : line)
            require(!isLineEnd(c), "no line holds a line end");
        concatenated += line;
    }
    require(concatenated == joined, "the lines hold every character but the line ends, in order");
}

void checkBuilt(const QStringList& lines, const textfile::Version& version)
{
    qsizetype spaces = 0;
    QString shown;
    for (const QString& line : lines) {
        spaces += line.count(u' ');
        shown += line + QStringLiteral(" \n");
    }
    require(version.words.size() == lines.size() + spaces, "every line gives one word more than its spaces");
    require(version.shown == shown, "the shown text is every line followed by a space and a line feed");
    require(version.shown.count(u' ') == version.words.size(), "one space per word position");

    // The (k+1)-th space of the shown text closes word position k.
    const QStringList pieces = version.shown.split(u' ');
    require(pieces.size() == version.words.size() + 1, "the spaces cut the shown text into the words");
    for (qsizetype k = 0; k < version.words.size(); ++k) {
        const QString& word = version.words.at(k);
        require(!word.contains(u' '), "a word holds no space");
        QStringView piece = pieces.at(k);
        if (piece.startsWith(u'\n'))
            piece = piece.sliced(1);
        require(piece == word, "the words joined back give the shown text");
    }
    require(pieces.back() == QLatin1String(lines.isEmpty() ? "" : "\n"), "the shown text ends with the last line feed");
}

QString scratchFile()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("1.txt"));
}

void checkRead(const QByteArray& bytes, const QString& text, const QStringList& lines, const textfile::Version& built)
{
    const QString path = scratchFile();
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the scratch file can be written");
        require(file.write(bytes) == bytes.size(), "the scratch file takes every byte");
    }
    const textfile::ReadResult result = textfile::read(path);
    if (bytes.size() > textfile::MaxFileBytes) {
        require(result.status == textfile::ReadStatus::TooLarge, "a file over the size limit is refused");
    } else if (textfile::looksLikeUtf16(bytes)) {
        require(result.status == textfile::ReadStatus::Utf16, "a file saved as UTF-16 is refused as such");
    } else if (bytes.contains('\0')) {
        require(result.status == textfile::ReadStatus::NotText, "a file holding a NUL byte is refused as no text");
    } else if (lines.isEmpty()) {
        require(result.status == textfile::ReadStatus::Empty, "a file without a line is refused as empty");
    } else if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return textfile::isForbiddenControl(c.unicode()); })) {
        require(result.status == textfile::ReadStatus::ControlCharacter,
                "a file holding a control character other than tab, CR and LF is refused");
    } else if (built.words.size() > textfile::MaxWords) {
        require(result.status == textfile::ReadStatus::TooManyWords, "a file over the word limit is refused");
    } else if (std::any_of(built.words.cbegin(), built.words.cend(),
                           [](const QString& word) { return word.size() > textfile::MaxWordLength; })) {
        require(result.status == textfile::ReadStatus::WordTooLong, "a file with too long a word is refused");
    } else {
        require(result.status == textfile::ReadStatus::Ok, "any other file is read");
        require(result.version.words == built.words && result.version.shown == built.shown,
                "reading gives what building the decoded lines gives");
    }
}

}  // namespace

void readSplitBuild(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = textfile::decode(bytes);
    checkDecoded(bytes, text);
    const QStringList lines = textfile::splitLines(text);
    checkLines(text, lines);
    const textfile::Version version = textfile::build(lines);
    checkBuilt(lines, version);
    checkRead(bytes, text, lines, version);
}

}  // namespace fuzz
