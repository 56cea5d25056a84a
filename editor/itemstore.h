#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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
