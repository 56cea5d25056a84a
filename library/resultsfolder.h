// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A folder of results files read back for the teacher. Every *.csv file in
// it is read, whatever its name (a pupil's day, AAAA-MM-DD_<alumno>_<equipo>.csv,
// or a pupil's month, AAAA-MM_<alumno>_<equipo>[_N].csv); what cannot be read
// is counted, with its reason, never fatal.

#include "library/resultsrow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>

namespace results {

// Larger files are not read: a pupil's file of a whole school year stays far
// below it.
inline constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
// Longer lines are no row: a row of a text of the largest size with every
// word failed stays below it.
inline constexpr qsizetype MaxLineBytes = 1024 * 1024;
// The failed words kept of one row (with their written forms and families);
// the count of failed words stays whole.
inline constexpr qsizetype MaxFailuresKept = 200;

struct Folder {
    QList<Row> rows;             // every row read, in file-name and line order
    int skippedLines = 0;        // lines that are not rows: cut, damaged, foreign, too long
    QStringList damagedFiles;    // the files those lines came from
    QStringList unreadableFiles; // files this account may not read
    QStringList notFiles;        // names that are no ordinary file: links, folders, devices, pipes
    QStringList tooLargeFiles;   // files over MaxFileBytes
    int longLines = 0;           // of skippedLines, those over MaxLineBytes
    int cutRows = 0;             // rows whose failed words were cut to MaxFailuresKept
    int notFinishedInTime = 0;   // rows saying "in time" but "not finished": read as not in time
};

// Reads every *.csv of `folder`. Never fails: what cannot be read is counted.
Folder readFolder(const QString& folder);
// Reads the bytes of one file into `into`.
void readFile(const QString& name, QByteArrayView bytes, Folder& into);
// What the reading left out and why, in plain text for the teacher ("" when
// nothing was left out). File names are named as they are, never as markup.
QString skippedNote(const Folder& folder);

// A row as the view holds it: no control character in any field (one
// becomes a space in the names, and is removed inside a word of the word
// lists, so a word stays one word), at most MaxFailuresKept failed words, and
// never in time when not finished. True when the row was changed in a way
// the teacher is told about (failed words cut, "in time" without finishing).
struct Normalised {
    bool cut = false;
    bool notInTime = false;
};
Normalised normalise(Row& row);

}  // namespace results
