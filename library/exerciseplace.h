// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/catalogue.h"

#include <QString>
#include <QStringList>

// Where a teacher's tool writes an exercise she names, and whether the
// program will list it there.
namespace exerciseplace {

// The exercise folder `given` names: a bare name (no '/') is one of the
// teacher's exercises, in the catalogue of `teacherRoot`; anything else is a
// path, made absolute and clean.
QString folderFor(const QString& given, const QString& teacherRoot);

// Whether the program lists the exercise at `exerciseFolder`: it lies
// directly in the catalogue folder of one of `roots`.
bool isListed(const QString& exerciseFolder, const QStringList& roots);

// The number an exercise's name starts with ("12 Tildes" -> 12); -1 for none.
int numberOf(const QString& exerciseName);

// The other listed exercises whose name starts with the same number as the
// exercise at `exerciseFolder`, by name.
QStringList sameNumber(const QString& exerciseFolder, const QList<catalogue::ListedExercise>& listed);

}  // namespace exerciseplace
