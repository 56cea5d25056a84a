// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/exercisefolders.h"

#include "library/catalogue.h"
#include "library/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace editor::exercises {

namespace {

bool taken(const QString& catalogue, const QString& name)
{
    return !catalogue::storedName(catalogue, name, true).isEmpty()
        || !catalogue::storedName(catalogue, name, false).isEmpty();
}

bool copyTree(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isSymLink())
            continue;
        if (entry.isDir()) {
            if (!copyTree(entry.absoluteFilePath(), target))
                return false;
        } else if (entry.isFile()) {
            if (!QFile::copy(entry.absoluteFilePath(), target))
                return false;
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        }
    }
    return true;
}

}  // namespace

QString proposedName(const QStringList& catalogues)
{
    int largest = 0;
    for (const QString& catalogue : catalogues) {
        for (const QString& name : QDir(catalogue).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (name.size() >= 2 && name[0].isDigit() && name[1].isDigit() && (name.size() == 2 || !name[2].isDigit()))
                largest = std::max(largest, name.left(2).toInt());
        }
    }
    return QStringLiteral("%1 Ejercicio nuevo").arg(std::min(largest + 1, 99), 2, 10, QLatin1Char('0'));
}

QString nameProblem(const QString& catalogue, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("el nombre está vacío");
    if (trimmed.startsWith(u'.'))
        return QStringLiteral("un nombre que empieza por un punto queda oculto: el programa no lo muestra");
    if (trimmed.contains(u'/') || trimmed.contains(u'\\'))
        return QStringLiteral("el nombre no puede llevar «/» ni «\\»");
    if (std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return textfile::isForbiddenControl(c.unicode()) || c == u'\t' || c == u'\n' || c == u'\r'; }))
        return QStringLiteral("el nombre no puede llevar caracteres de control");
    if (taken(catalogue, trimmed))
        return QStringLiteral("ya hay un ejercicio que se llama «%1»").arg(trimmed);
    return {};
}

Result create(const QString& catalogue, const QString& name)
{
    const QString problem = nameProblem(catalogue, name);
    if (!problem.isEmpty())
        return {{}, problem};
    const QString path = catalogue + u'/' + name.trimmed();
    if (!QDir().mkpath(path))
        return {{}, QStringLiteral("no se puede crear la carpeta «%1»").arg(QDir::toNativeSeparators(path))};
    return {path, {}};
}

Result rename(const QString& exerciseFolder, const QString& newName)
{
    const QFileInfo info(exerciseFolder);
    const QString catalogue = info.absolutePath();
    const QString trimmed = newName.trimmed();
    // Changing only the letter case of the same folder is allowed.
    const bool sameFolder = trimmed.compare(info.fileName(), Qt::CaseInsensitive) == 0;
    const QString problem = sameFolder && !trimmed.isEmpty() ? QString() : nameProblem(catalogue, trimmed);
    if (!problem.isEmpty())
        return {{}, problem};
    const QString path = catalogue + u'/' + trimmed;
    if (!QDir().rename(exerciseFolder, path))
        return {{}, QStringLiteral("no se puede cambiar el nombre de «%1»").arg(info.fileName())};
    return {path, {}};
}

Result copy(const QString& exerciseFolder, const QString& catalogue)
{
    const QString base = QFileInfo(exerciseFolder).fileName();
    QString name = base;
    for (int n = 1; taken(catalogue, name); ++n)
        name = n == 1 ? QStringLiteral("%1 (copia)").arg(base) : QStringLiteral("%1 (copia %2)").arg(base).arg(n);
    const QString path = catalogue + u'/' + name;
    if (!copyTree(exerciseFolder, path)) {
        QDir(path).removeRecursively();
        return {{}, QStringLiteral("no se puede copiar el ejercicio a «%1»").arg(QDir::toNativeSeparators(catalogue))};
    }
    return {path, {}};
}

bool trash(const QString& path)
{
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString inTrash;
    if (!QFile::moveToTrash(path, &inTrash))
        return false;
    if (QFileInfo(inTrash).isAbsolute())
        return true;
    QFile::rename(inTrash, path);
    return false;
}

QString remove(const QString& exerciseFolder, bool* trashed)
{
    if (trashed)
        *trashed = false;
    if (trash(exerciseFolder)) {
        if (trashed)
            *trashed = true;
        return {};
    }
    if (!QDir(exerciseFolder).removeRecursively())
        return QStringLiteral("no se puede borrar «%1»").arg(QFileInfo(exerciseFolder).fileName());
    return {};
}

}  // namespace editor::exercises
