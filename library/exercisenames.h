// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

// The names of the exercises the program ships, past and present.
//
// The shipped exercises were once named with their school years ("06 B y V
// (3.º y 4.º)"); they now carry short names whose number tells the years:
// 01-09 for 1.º and 2.º, 10-19 for 3.º and 4.º, 20-29 for 5.º and 6.º.
// Results rows written before the change still name the old folders; these
// functions let them count as the exercise they were.
namespace content {

struct RenamedExercise {
    QString oldName;  // the folder name rows used to record
    QString newName;  // the folder name shipped today
};

// Every shipped exercise that changed its name, in the order of the old names.
const QList<RenamedExercise>& renamedExercises();

// The name an exercise has today: the new name of a shipped exercise named
// by its old name (spaces at the ends ignored), otherwise `name` unchanged,
// so a teacher's own exercise keeps its name.
QString currentExerciseName(const QString& name);

// The school years a shipped exercise number stands for ("1.º y 2.º" for
// 1-9, "3.º y 4.º" for 10-19, "5.º y 6.º" for 20-29); empty for any other
// number, as a teacher's own exercises have.
QString schoolYears(int exerciseNumber);

}  // namespace content
