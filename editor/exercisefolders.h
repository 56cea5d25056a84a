// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// The teacher's exercise folders: naming a new one, making, renaming,
// deleting and copying them. Messages are in Spanish, for the teacher.
namespace editor::exercises {

// The name proposed for a new exercise: the two-digit number after the
// largest one that starts an exercise name in any of `catalogues` (folders
// holding exercises, like "Ejercicios"), then "Ejercicio nuevo".
QString proposedName(const QStringList& catalogues);

// Why `name` cannot name a new exercise in `catalogue`, or nothing: empty,
// hidden, with a slash or a control character, or taken (letter case ignored).
QString nameProblem(const QString& catalogue, const QString& name);

struct Result {
    QString path;   // the exercise folder made, renamed or copied
    QString error;  // empty on success
};

Result create(const QString& catalogue, const QString& name);
Result rename(const QString& exerciseFolder, const QString& newName);
// Copies a shipped exercise's items into `catalogue` under the same name, or
// the name followed by " (copia)", " (copia 2)"... when it is taken.
Result copy(const QString& exerciseFolder, const QString& catalogue);

// Moves a file or folder to the desktop's trash, in the user's data folder.
// False, with `path` left where it was, where there is none. Qt 6.4 "moves"
// a file into "files/" under the current folder, and says it did, when the
// user's data folder does not exist yet: the folder is made first, and a
// trash path that is not absolute is undone.
bool trash(const QString& path);

// Moves the folder to the desktop's trash, or, where there is none, removes
// it. `trashed` says which.
QString remove(const QString& exerciseFolder, bool* trashed = nullptr);

}  // namespace editor::exercises
