// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/exerciseplace.h"

#include "library/contentrules.h"

#include <QDir>
#include <QFileInfo>

namespace exerciseplace {

namespace {

// A folder's path for comparing: through links when it exists.
QString comparable(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

QString folderFor(const QString& given, const QString& teacherRoot)
{
    if (!given.contains(u'/') && given != QStringLiteral(".") && given != QStringLiteral(".."))
        return catalogue::resolve(teacherRoot, content::ExercisesFolder.toString() + u'/' + given);
    return QDir::cleanPath(QFileInfo(given).absoluteFilePath());
}

bool isListed(const QString& exerciseFolder, const QStringList& roots)
{
    const QString parent = comparable(QFileInfo(QDir::cleanPath(exerciseFolder)).path());
    for (const QString& root : roots) {
        if (comparable(catalogue::exercisesFolder(root)) == parent)
            return true;
    }
    return false;
}

int numberOf(const QString& exerciseName)
{
    qsizetype digits = 0;
    while (digits < exerciseName.size() && exerciseName[digits].isDigit() && exerciseName[digits].unicode() < 128)
        ++digits;
    if (digits == 0 || digits > 9)
        return -1;
    return exerciseName.left(digits).toInt();
}

QStringList sameNumber(const QString& exerciseFolder, const QList<catalogue::ListedExercise>& listed)
{
    const int number = numberOf(QFileInfo(exerciseFolder).fileName());
    QStringList out;
    if (number < 0)
        return out;
    const QString self = comparable(exerciseFolder);
    for (const catalogue::ListedExercise& e : listed) {
        if (numberOf(e.name) == number && comparable(e.folder) != self && !out.contains(e.name))
            out.append(e.name);
    }
    return out;
}

}  // namespace exerciseplace
