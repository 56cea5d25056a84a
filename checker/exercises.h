// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

class Report;

namespace checker {

// A word of a correct version and where it stands.
struct WordUse {
    QString word;
    QString place;
    int line = 0;
};

// A word position at which the two versions of an item differ: the error the
// pupil corrects. Each form with the file and line it stands on.
struct Correction {
    WordUse faulty;
    WordUse correct;
};

// What the later checks (pictures, spelling) need from the texts.
struct TextWords {
    QList<WordUse> correctWords;    // every word of every correct version that loads
    QList<Correction> corrections;  // every error of every item that loads
    // Words of correct versions whose item does not load, so that which of
    // them the pupil would correct is unknown.
    QList<WordUse> uncertainWords;
};

// Checks the exercise catalogue under `tree`: the folders, the item files and
// their numbering, each version file, and the pairing of the two versions of
// every item.
TextWords checkExercises(const QString& tree, Report& report);

// The same for a catalogue folder or a single exercise folder; places are
// given relative to `tree`.
TextWords checkCatalogue(const QString& folder, const QString& tree, Report& report);
TextWords checkExercise(const QString& folder, const QString& tree, Report& report);

// A folder holding "correcto" or "incorrecto" (any letter case) is an
// exercise.
bool isExerciseFolder(const QString& folder);
// A folder named "Ejercicios" (any letter case), or one holding an exercise,
// is a catalogue.
bool isCatalogueFolder(const QString& folder);

}  // namespace checker
