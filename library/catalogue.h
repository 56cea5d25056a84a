#pragma once

#include <QString>
#include <QStringList>

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

// The teacher's own exercises: "miravellon/Ejercicios" in the user's data
// folder ($XDG_DATA_HOME, by default ~/.local/share). It may not exist yet.
QString teacherExercisesFolder();

}  // namespace catalogue
