// SPDX-License-Identifier: GPL-3.0-or-later

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
// Byte-order marks (U+FEFF) anywhere in the text are no part of it and are
// left out: a reader drops them, so a mark that only differs by one would
// vanish once written.
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
// nothing: the limits are checked on the very bytes encode() gives, line ends
// included, and both versions are read back from those bytes as the program
// reads them, which must give the words meant and differ exactly at the
// misspellings. Also refuses a text without a single misspelling, and one
// holding a byte-order mark (U+FEFF), which a reader may drop.
QString checkLimits(const Draft& draft);

// The number the next item of an exercise folder takes: one more than the
// largest item number among its versions ("3.txt", letter case ignored; a
// number with zeros in front names no item), 1 for a new exercise.
int nextNumber(const QString& exerciseFolder);

// Whether `path` resolves, links followed, inside `folder` (also resolved);
// a path not there yet resolves through the folder that would hold it. A
// link that leads nowhere resolves nowhere.
bool resolvesInside(const QString& folder, const QString& path);

enum class WriteStatus {
    Written,
    Exists,          // an item of that number is there and replacing was not asked for
    NotAFile,        // something other than an ordinary file stands in an item's place
    Outside,         // a version folder or an item leads out of the exercise folder
    CannotWrite,     // a folder cannot be made or a file cannot be written
};

struct WriteResult {
    WriteStatus status = WriteStatus::CannotWrite;
    int number = 0;  // the item's number
    QString correctPath;
    QString faultyPath;
    QString error;  // for every status but Written
};

// Writes item `number` of the exercise folder (made when missing, with its
// "correcto" and "incorrecto" folders). Both versions are written whole to
// temporary files, flushed to the disk and read back before either takes its
// name. Without `replace`, each takes its name only if no file has it, in one
// step (so two writers never share a number and a reader never sees a file
// half written): the correct version first, which claims the number, then
// the faulty one; an item is never made of two writers' versions. With
// `replace`, each version replaces the old one in one step, one after the
// other: a reader in between sees the new correct version with the old
// faulty one. The folders are flushed after. On failure nothing is left: no
// temporary file, no folder made for it, no version of a new item.
WriteResult write(const QString& exerciseFolder, int number, const Draft& draft, bool replace);

// Writes a new item under the first number from `from` on (at least the one
// nextNumber() gives) that no other writer takes first.
WriteResult writeNew(const QString& exerciseFolder, const Draft& draft, int from = 1);

// How a complete file takes a name that must be free: renameat2() with
// RENAME_NOREPLACE, else a hard link (link(2)) then the temporary name
// removed, else (filesystems without links, like FAT) a rename() made while
// holding a lock file in the same folder. Each falls back to the next where
// the filesystem refuses it.
enum class ClaimMethod { Rename, Link, Lock };
enum class Claim { Claimed, Taken, Failed };
Claim claim(const QString& temporary, const QString& target, ClaimMethod first = ClaimMethod::Rename);
// The first method write() tries; tests choose each in turn.
void setClaimMethod(ClaimMethod first);

}  // namespace itemwriter
