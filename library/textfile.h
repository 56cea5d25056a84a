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

// Bytes to text. UTF-8 when the bytes start with its byte-order mark or are
// valid UTF-8 holding at least one multi-byte sequence; Windows-1252 otherwise.
QString decode(const QByteArray& bytes);

// Windows-1252 only (every byte is one character).
QString decodeWindows1252(const QByteArray& bytes);

// The lines of a text. CR LF, a lone CR and a lone LF each end a line; the last
// line needs no line end. An empty text has no line.
QStringList splitLines(const QString& text);

// A version of an item: its word positions and its shown text.
struct Version {
    QStringList words;  // entry k is the word at position k
    QString shown;      // every line followed by one space and one line feed
};

// Words are separated by single spaces only; two neighbouring spaces enclose
// an empty word, and every line yields at least one word.
Version build(const QStringList& lines);

enum class ReadStatus {
    Ok,
    Missing,      // no ordinary file at that path
    Unreadable,   // present but cannot be opened or read
    Empty,        // no line at all
    TooLarge,     // more than MaxFileBytes
    TooManyWords  // more than MaxWords word positions
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    Version version;
};

ReadResult read(const QString& path);

}  // namespace textfile
