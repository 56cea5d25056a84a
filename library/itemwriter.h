#pragma once

#include "library/families.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QRandomGenerator;

// Making an exercise item from a correct text: the misspellings written in it
// as {correcto|falta}, more chosen from a spelling family, the two versions
// checked against the limits the program applies, and both files written into
// an exercise folder without ever leaving one half-written. Messages are in
// Spanish, for the teacher.
namespace itemwriter {

struct Misspelling {
    int line = 0;        // from 1
    qsizetype word = 0;  // word position in the whole text, from 0
    QString correct;     // whole words, punctuation attached
    QString faulty;
};

// The two versions of an item, line by line. Both have the same words but
// for the misspelt ones, and so the same number of words on every line.
struct Draft {
    QStringList correctLines;
    QStringList faultyLines;
    QList<Misspelling> misspellings;  // in the order of the text
};

// A draft, or why there is none.
struct DraftResult {
    Draft draft;
    QString error;  // empty on success
};

// Reads a text in which misspellings may be written {correcto|falta}. A mark
// stays inside one word (no space in it), changes the word, and a word holds
// at most one; a '{', '|' or '}' outside a well-formed mark is refused.
DraftResult parse(const QStringList& lines);

// Adds `count` misspellings of `families` to words not misspelt yet, chosen
// with `random` as families::choose() does. Fails, leaving the draft as it
// was, when fewer words can take them.
QString addMisspellings(Draft& draft, const QList<families::Family>& families, int count, QRandomGenerator& random,
                        const std::function<bool(const QString&)>& isWord);

// The bytes of a version: Windows-1252 when every character has a place in
// it and reads back the same, otherwise UTF-8 with a byte-order mark; every
// line ended by CR LF.
QByteArray encode(const QStringList& lines);

// Why the program would refuse either version (library/textfile.h), or
// nothing. Also refuses a text without a single misspelling.
QString checkLimits(const Draft& draft);

// The number the next item of an exercise folder takes: one more than the
// largest item number among its versions ("3.txt", letter case ignored; a
// number with zeros in front names no item), 1 for a new exercise.
int nextNumber(const QString& exerciseFolder);

enum class WriteStatus {
    Written,
    Exists,          // an item of that number is there and replacing was not asked for
    NotAFile,        // something other than an ordinary file stands in an item's place
    CannotWrite,     // a folder cannot be made or a file cannot be written
};

struct WriteResult {
    WriteStatus status = WriteStatus::CannotWrite;
    QString correctPath;
    QString faultyPath;
    QString error;  // for Exists, NotAFile and CannotWrite
};

// Writes item `number` of the exercise folder (made when missing, with its
// "correcto" and "incorrecto" folders): both versions go to temporary files
// first, then take their names. On failure nothing is left: no temporary file,
// no folder made for it; an item is changed only if the second renaming fails
// after the first, which within one folder takes a failing disk.
WriteResult write(const QString& exerciseFolder, int number, const Draft& draft, bool replace);

}  // namespace itemwriter
