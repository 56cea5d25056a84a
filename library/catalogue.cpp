// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/catalogue.h"

#include "library/contentrules.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace catalogue {

QString storedName(const QString& folder, const QString& name, bool wantFolder)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    const QDir::Filters filters = (wantFolder ? QDir::Dirs : QDir::Files) | QDir::Hidden | QDir::System
        | QDir::NoDotAndDotDot;

    // The common case: the name is stored exactly as asked.
    const QFileInfo exact(folder + QLatin1Char('/') + name);
    if (exact.exists() && (wantFolder ? exact.isDir() : exact.isFile()))
        return name;

    const QDir dir(folder);
    if (!dir.exists())
        return {};
    const QStringList entries = dir.entryList(filters, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

QString resolve(const QString& base, const QString& relative)
{
    QString path = base;
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        QString found = storedName(path, parts[i], !last);
        if (found.isEmpty() && last)
            found = storedName(path, parts[i], true);
        path += QLatin1Char('/') + (found.isEmpty() ? parts[i] : found);
    }
    return path;
}

QString exercisesFolder(const QString& appFolder)
{
    return resolve(appFolder, content::ExercisesFolder.toString());
}

QStringList listExercises(const QString& appFolder)
{
    return exercisesIn(exercisesFolder(appFolder));
}

QStringList exercisesIn(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return {};
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString exerciseFolder(const QString& appFolder, const QString& exerciseName)
{
    return exercisesFolder(appFolder) + QLatin1Char('/') + exerciseName;
}

QString versionPath(const QString& exerciseFolder, const QString& version, const QString& digits)
{
    const QString folder = resolve(exerciseFolder, version);
    const QString fileName = digits + QStringLiteral(".txt");
    const QString stored = storedName(folder, fileName, false);
    return folder + QLatin1Char('/') + (stored.isEmpty() ? fileName : stored);
}

bool isPresent(const QString& path, const QString& expectedName)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    return info.fileName().compare(expectedName, Qt::CaseInsensitive) == 0;
}

QStringList dataRoots()
{
    // writableLocation() is XDG_DATA_HOME; standardLocations() starts with it
    // and goes on with XDG_DATA_DIRS.
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QStringList roots;
    if (!user.isEmpty())
        roots.append(user + u'/' + RootsSubfolder.toString());
    const QStringList shared = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& folder : shared) {
        if (folder != user)
            roots.append(folder + u'/' + RootsSubfolder.toString());
    }
    return roots;
}

QStringList contentRoots(const QString& appFolder, const QStringList& otherRoots)
{
    QStringList roots{appFolder};
    QSet<QString> catalogues;
    const QString own = QFileInfo(exercisesFolder(appFolder)).canonicalFilePath();
    if (!own.isEmpty())
        catalogues.insert(own);
    for (const QString& root : otherRoots) {
        const QFileInfo folder(exercisesFolder(root));
        if (!folder.isDir())
            continue;
        const QString canonical = folder.canonicalFilePath();
        if (catalogues.contains(canonical))
            continue;
        catalogues.insert(canonical);
        roots.append(root);
    }
    return roots;
}

QList<ListedExercise> listCatalogue(const QStringList& roots)
{
    QList<ListedExercise> listed;
    for (const QString& root : roots) {
        const QString folder = exercisesFolder(root);
        for (const QString& name : listExercises(root))
            listed.append({name, folder + u'/' + name, root});
    }
    return listed;
}

QList<ListedExercise> withPupilRoot(const QString& pupilRoot, const QList<ListedExercise>& listed)
{
    QList<ListedExercise> all = listCatalogue({pupilRoot});
    for (const ListedExercise& exercise : listed) {
        if (exercise.root != pupilRoot)
            all.append(exercise);
    }
    return all;
}

}  // namespace catalogue
