#pragma once

// A folder of results files read back for the teacher, and the summaries
// made from its rows.

#include "library/resultsrow.h"

#include <QByteArray>
#include <QDate>

namespace results {

// A folder of results files read back, for the teacher.
struct Filter {
    QDate from;        // null: no lower bound
    QDate to;          // null: no upper bound
    QString exercise;  // empty: every exercise
};

struct PupilSummary {
    QString pupil;
    int days = 0;
    int started = 0;
    int finished = 0;
    int inTime = 0;
    int corrected = 0;
    int failed = 0;
    bool operator==(const PupilSummary&) const = default;
};

struct FailedWord {
    QString word;
    int count = 0;
    bool operator==(const FailedWord&) const = default;
};

struct Folder {
    QList<Row> rows;          // every row read, in file-name and line order
    int skippedLines = 0;     // lines that are not rows: cut, damaged, foreign
    QStringList damagedFiles; // the files those lines came from
};

// Reads every *.csv of `folder`. Never fails: what cannot be read is counted.
Folder readFolder(const QString& folder);
// Reads the bytes of one file into `into`.
void readFile(const QString& name, const QByteArray& bytes, Folder& into);

bool matches(const Row& row, const Filter& filter);
// One summary per pupil, by name; only the rows the filter lets through.
QList<PupilSummary> summarize(const QList<Row>& rows, const Filter& filter);
// The failed words of the rows the filter lets through, most often failed
// first (ties alphabetical, letter case aside), at most `limit`. A word is counted without the
// punctuation around it.
QList<FailedWord> mostFailed(const QList<Row>& rows, const Filter& filter, int limit);
// The exercises the rows name, sorted.
QStringList exercises(const QList<Row>& rows);
// The summary table as a CSV file (byte-order mark, ';', CR LF).
QByteArray summaryCsv(const QList<PupilSummary>& summaries);

// The spelling families a correct word belongs to, told from the letters it
// holds (the faulty form is not kept). A word may be in several families:
//   "b/v"        a b or a v
//   "h"          an h not after c (ch is a letter of its own)
//   "g/j"        a j, or a g before e or i
//   "ll/y"       ll or y
//   "c/z/s"      a z, or a c before e or i
//   "r/rr"       rr, or an r that starts the word
//   "m antes de p/b"  mp or mb
//   "tilde"      á, é, í, ó or ú
//   "mayúscula"  it starts with a capital letter
QStringList spellingFamilies(const QString& word);

}  // namespace results
