// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Finding things in the content tree that lies beside the program.
//
// Folder and file names are matched without regard to letter case, so that
// "Ejercicios", "ejercicios" and "EJERCICIOS" all name the same folder even on
// a case-sensitive file system. Paths use '/' and never end with one.
namespace catalogue {

// The name, as stored on disk, of the entry of `folder` whose name equals
// `name` ignoring letter case; an exact match wins. Empty when there is none.
// `wantFolder` chooses between sub-folders and ordinary files.
QString storedName(const QString& folder, const QString& name, bool wantFolder);

// `base` followed by each component of `relative` (separated by '/'), each
// component resolved with storedName(). A component that cannot be found is
// kept as written, so the result names where the thing would be.
QString resolve(const QString& base, const QString& relative);

// The exercise catalogue: the sub-folders of "Ejercicios" under `appFolder`,
// sorted by name (letter case ignored), each as stored on disk. Files lying
// directly in "Ejercicios" are not exercises, nor are hidden folders. A
// missing folder gives an empty list.
QStringList listExercises(const QString& appFolder);
// The same for the catalogue folder itself, whatever its name.
QStringList exercisesIn(const QString& catalogueFolder);

// Full path of the catalogue folder, as found on disk.
QString exercisesFolder(const QString& appFolder);

// Full path of an exercise folder.
QString exerciseFolder(const QString& appFolder, const QString& exerciseName);

// Path of item `digits` of one version ("incorrecto" or "correcto") of an
// exercise: the folder + version + digits + ".txt", letter case resolved.
QString versionPath(const QString& exerciseFolder, const QString& version, const QString& digits);

// The presence test of an item file: the ordinary file at `path` exists and its
// stored name equals `expectedName` ignoring letter case. The typed item
// number decides `expectedName`, so "012" never finds 12.txt.
bool isPresent(const QString& path, const QString& expectedName);

// --- Several content roots ---------------------------------------------------
//
// A content root is a folder that holds an "Ejercicios" catalogue and perhaps a
// "Graficos" folder of word pictures. The program's own folder is the first
// root; a teacher's exercises lie in her data folder and a school's in a
// machine-wide one, each under "miravellon".

// The folder under each data folder that is a content root.
inline constexpr QStringView RootsSubfolder = u"miravellon";

// The teacher's and the school's content roots, as the desktop names them:
// "<XDG_DATA_HOME>/miravellon" first, then "<dir>/miravellon" for each
// entry of XDG_DATA_DIRS. Whether they exist is not looked at.
QStringList dataRoots();

// The roots whose exercises are listed, in order: `appFolder` first (always,
// even when it holds no catalogue), then each of `otherRoots` that holds a
// catalogue folder. A root whose catalogue folder is one already listed (the
// same folder named twice, through a link, or the teacher's folder being the
// program's own) is left out.
QStringList contentRoots(const QString& appFolder, const QStringList& otherRoots);

// One exercise of a catalogue of several roots.
struct ListedExercise {
    QString name;    // the folder's name as stored, shown in the list
    QString folder;  // full path of the exercise folder
    QString root;    // the content root it lies in
    bool operator==(const ListedExercise&) const = default;
};

// The exercises of every root, root after root in the order given, each
// root's exercises sorted as listExercises() sorts them. Two roots may hold
// exercises of the same name: each is listed, with its own folder.
QList<ListedExercise> listCatalogue(const QStringList& roots);

// A pupil's own exercises (her review, in `pupilRoot`) before `listed`: they
// come first in the list, and an entry of `listed` from that root is not
// listed twice.
QList<ListedExercise> withPupilRoot(const QString& pupilRoot, const QList<ListedExercise>& listed);

}  // namespace catalogue
