// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The summaries a teacher reads from the rows of a results folder: per pupil,
// the words most often failed, the failures by spelling family, a pupil's
// texts and her progress week by week, and their CSV forms for a spreadsheet.
// Pupils are grouped by name regardless of letter case and accents.

#include "library/resultsrow.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>

namespace results {

struct Filter {
    QDate from;        // null: no lower bound
    QDate to;          // null: no upper bound
    QString exercise;  // empty: every exercise
};

bool matches(const Row& row, const Filter& filter);

// What groups the names of one pupil: letter case, accents and runs of spaces
// aside ("Lucía  PÉREZ" and "lucia perez" are one pupil).
QString pupilKey(const QString& name);


// Counts are 64-bit: no sum of rows overflows.
struct PupilSummary {
    QString pupil;
    qint64 days = 0;
    qint64 started = 0;
    qint64 finished = 0;
    qint64 inTime = 0;
    qint64 corrected = 0;
    qint64 failed = 0;
    bool operator==(const PupilSummary&) const = default;
};

// One summary per pupil, sorted by name (letter case and accents aside);
// only the rows the filter lets through. A pupil is named as the class list
// names her, otherwise by the spelling of her name found most often. Pupils
// of `classList` without any row get a summary of zeros.
QList<PupilSummary> summarize(const QList<Row>& rows, const Filter& filter, const QStringList& classList = {});

// The name a family is shown with for a failure of a row: the teacher's name
// of each family its tokens name ("b/v", "h", "mayúsculas"...), "otra" for a
// failure no family explains, and "sin familia" for a failure of a row that
// records no families (written before rows held them). Never guessed from
// the letters of the word.
inline const QString NoFamily = QStringLiteral("sin familia");
inline const QString OtherFamily = QStringLiteral("otra");
QStringList familiesOfFailure(const Row& row, qsizetype failure);
// Where a family's name goes in a list of families: the families' own order,
// then "otra", then "sin familia".
int familyOrder(const QString& family);

struct FailedWord {
    QString word;
    qint64 count = 0;
    QStringList families;  // the families its failures had, in family order
    bool operator==(const FailedWord&) const = default;
};

// The failed words of the rows the filter lets through, most often failed
// first (ties alphabetical, letter case aside), at most `limit`. A word is
// counted without the punctuation around it.
QList<FailedWord> mostFailed(const QList<Row>& rows, const Filter& filter, int limit);

struct FamilyCount {
    QString family;
    qint64 count = 0;
    bool operator==(const FamilyCount&) const = default;
};
// The failures of the rows the filter lets through, by family, in family order.
QList<FamilyCount> familyCounts(const QList<Row>& rows, const Filter& filter);

// The class by family: one line per pupil (as summarize() names them), one
// column per family that has a failure in the selection.
struct FamilyTable {
    QStringList families;         // the columns, in family order
    QStringList pupils;           // the lines
    QList<QList<qint64>> counts;  // counts[pupil][family]
};
FamilyTable classFamilies(const QList<Row>& rows, const Filter& filter, const QStringList& classList = {});

// The rows of one pupil (by pupilKey()) the filter lets through, by date and time.
QList<Row> pupilRows(const QList<Row>& rows, const Filter& filter, const QString& key);

// A pupil's progress, one entry per week (Monday to Sunday) that has a row.
struct Week {
    QDate monday;
    qint64 finished = 0;
    qint64 corrected = 0;
    qint64 failed = 0;
    bool operator==(const Week&) const = default;
};
QList<Week> weeklyProgress(const QList<Row>& rows);

// A pupil's texts of one day, taken together, as a printed report lists
// them: a school year is then some 180 lines a pupil instead of some 900.
struct Day {
    QDate date;
    qint64 texts = 0;
    qint64 finished = 0;
    qint64 corrected = 0;
    qint64 failed = 0;
    QStringList failures;  // failureText() of each failed word, in the day's order
    bool operator==(const Day&) const = default;
};
// One entry per day that has a row, in date order; the rows in the order
// they came (pupilRows() sorts them by date and time).
QList<Day> dailyProgress(const QList<Row>& rows);

// A failure as a teacher reads it: "vaca (escribió «baca»)", or the word
// alone when the row does not say what was written.
QString failureText(const Row& row, qsizetype failure);

// The exercises the rows name, sorted; linear in the rows.
QStringList exercises(const QList<Row>& rows);

// A text field for a spreadsheet: as in a results file, and a field starting
// with a character a spreadsheet takes for a formula (=, +, -, @, tab, CR)
// starts with an apostrophe instead, so it is only text.
QString exportField(const QString& text);
// The summary table as a CSV file (byte-order mark, ';', CR LF).
QByteArray summaryCsv(const QList<PupilSummary>& summaries);
// The rows the filter lets through as a CSV file: the columns of a results
// file, every text field made safe for a spreadsheet.
QByteArray rowsCsv(const QList<Row>& rows, const Filter& filter);

}  // namespace results
