// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Exercise texts: reading a version file, cutting it into word positions and
// building the text that the exercise boxes show.
namespace textfile {

// Word positions are counted in a signed 16-bit number: a version holds at
// most this many words.
inline constexpr qsizetype MaxWords = 32767;
// Larger files are refused before they are read; a text of MaxWords long
// Spanish words stays far below it.
inline constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
// The longest word, in characters. A text box lays a word too long for one
// line out at a cost that grows with the square of its length: a file of the
// largest size made of 10000-character words takes tens of seconds to show
// and seconds for every key, while with words of this length it costs about
// twice what a file of that size made of ordinary words does.
inline constexpr qsizetype MaxWordLength = 1000;

// Bytes to text. UTF-8 when the bytes start with its byte-order mark or are
// valid UTF-8 holding at least one multi-byte sequence; Windows-1252 otherwise.
QString decode(const QByteArray& bytes);

// Windows-1252 only (every byte is one character).
QString decodeWindows1252(const QByteArray& bytes);

// The lines of a text. CR LF, a lone CR and a lone LF each end a line; so do
// the three characters the text boxes take as paragraph breaks of their own
// (U+2029, U+FDD0 and U+FDD1, which only UTF-8 can hold), so that a box never
// shows more lines than the words were cut from. The last line needs no line
// end. An empty text has no line.
QStringList splitLines(const QString& text);

// The line (from 1) that holds character `offset` of `text`, with the line
// ends of splitLines().
int lineOf(const QString& text, qsizetype offset);

// A version of an item: its word positions and its shown text.
struct Version {
    QStringList words;  // entry k is the word at position k
    QString shown;      // every line followed by one space and one line feed
};

// Words are separated by single spaces only; two neighbouring spaces enclose
// an empty word, and every line yields at least one word.
Version build(const QStringList& lines);

// Whether a character is a control character that no text shows: every
// control character but tab, carriage return and line feed.
bool isForbiddenControl(char16_t c);

enum class ReadStatus {
    Ok,
    Missing,          // no ordinary file at that path
    Unreadable,       // present but cannot be opened or read
    Empty,            // no line at all
    TooLarge,         // more than MaxFileBytes
    TooManyWords,     // more than MaxWords word positions
    WordTooLong,      // a word of more than MaxWordLength characters
    NotText,          // holds a NUL byte: a binary file, not a text
    Utf16,            // saved as UTF-16 (a byte-order mark, or every other byte NUL)
    ControlCharacter  // holds a control character other than tab, CR and LF
};

// Where a text breaks a rule, for a report that names the place: the first
// offending line (from 1; 0 when the rule has no line), the size, count or
// character code concerned, and how many more places break the same rule.
struct Finding {
    int line = 0;
    qint64 value = 0;
    qsizetype more = 0;
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    Version version;
    Finding finding;      // set when status is neither Ok nor Missing
    QByteArray bytes;     // the file's bytes, when they could be read
    QString text;         // the decoded text, when the bytes are a text
    QStringList lines;    // its lines, when the text is not refused for its characters
};

// Whether the bytes look like a text saved as UTF-16: they start with a
// byte-order mark (FF FE or FE FF), or, over their first kilobytes, at least
// half of the two-byte units hold one NUL byte, always on the same side.
bool looksLikeUtf16(const QByteArray& bytes);

// Applies every rule a version file's bytes must meet, in the order the
// program applies them: UTF-16, NUL bytes, emptiness, control characters,
// word count, word length. A refusal leaves `version` empty.
ReadResult check(QByteArray bytes);

// Reads the ordinary file at `path` (at most MaxFileBytes) and checks it.
ReadResult read(const QString& path);

// A teacher's own text, given to make an exercise from: as check(), but a
// text saved as UTF-16 with a byte-order mark (Notepad's «Unicode») is
// converted first, as the texts the program reads cannot be.
ReadResult checkInput(QByteArray bytes);
ReadResult readInput(const QString& path);

// Why a text is refused, and what to do about it, in the teacher's words:
// one sentence without the file's name or line, the same in every tool.
// Empty for Ok.
QString refusalText(const ReadResult& result);

}  // namespace textfile
