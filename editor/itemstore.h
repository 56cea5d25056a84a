// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The items of one exercise folder, renumbered without ever losing one.
//
// Deleting an item shifts the items after it down by one; moving one swaps it
// with its neighbour. Each is a plan of renamings (and, at the end, removals)
// written first to a journal in the exercise folder, ".miravellon-renumerando",
// whose count of steps done is brought up to date after every step. No step
// ever renames onto an existing file, so the state just before a step (its
// source there, its target not) differs from the state just after (the
// other way round): an interrupted plan is finished by recover() from the
// journal, wherever it stopped. The deleted item's files are kept under
// hidden names until the very end, then moved to the desktop's trash (or
// removed when there is none).
namespace editor::items {

// One step of a plan, paths relative to the exercise folder. An empty `to`
// removes `from` (to the trash when there is one).
struct Step {
    QString from;
    QString to;
    bool operator==(const Step&) const = default;
};

struct Plan {
    QList<Step> steps;
    int done = 0;  // steps carried out
    bool operator==(const Plan&) const = default;
};

// A journal holds a few steps per item; anything larger is not the editor's.
inline constexpr qint64 MaxJournalBytes = 8 * 1024 * 1024;
inline constexpr qsizetype MaxSteps = 200000;

// The plan a journal's bytes hold: a header line, the count of steps done
// (from 0 to the number of steps), then one "from<TAB>to" line per step.
// Nothing for anything else, or for more than MaxJournalBytes or MaxSteps.
std::optional<Plan> parseJournal(const QByteArray& bytes);
// The journal of a plan, as parseJournal() reads it.
QByteArray journalBytes(const Plan& plan);

// Why the steps of a plan may not be carried out in an exercise folder, in
// Spanish, or nothing. Each step stays in one version folder, as stored on
// the disk, and names only what the editor writes there: items ("3.txt", in
// the letter case found) and its own hidden names; every folder and file it
// would touch resolves, links followed, inside the exercise folder. A journal
// that breaks this, or is no file of its own (a link), is refused by
// recover(), with this reason, and left as it is.
QString stepsProblem(const QString& exerciseFolder, const QList<Step>& steps);

// Renames `from` to `to`, never replacing an existing file. Tests replace it
// to interrupt a plan.
using Renamer = std::function<bool(const QString& from, const QString& to)>;
Renamer fileRenamer();

// The item numbers of an exercise folder: those with a file in either version
// folder ("3.txt", letter case ignored), ascending.
QList<int> numbers(const QString& exerciseFolder);

// Whether a renumbering was interrupted there and recover() has work to do.
bool interrupted(const QString& exerciseFolder);

// Deletes item `number` and shifts the items after it down by one. A Spanish
// reason when it stopped; the journal then lets recover() finish it.
QString remove(const QString& exerciseFolder, int number, const Renamer& rename = fileRenamer());

// Swaps items `number` and `number + 1`.
QString swapWithNext(const QString& exerciseFolder, int number, const Renamer& rename = fileRenamer());

// Finishes an interrupted renumbering; nothing to do without a journal.
QString recover(const QString& exerciseFolder, const Renamer& rename = fileRenamer());

}  // namespace editor::items
