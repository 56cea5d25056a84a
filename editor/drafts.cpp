// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/drafts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/textfile.h"

namespace editor::drafts {

namespace {

QString fileOf(const QString& exerciseFolder, int number)
{
    const QByteArray key = (exerciseFolder + u'\n' + QString::number(number)).toUtf8();
    return folder() + u'/' + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex())
        + QStringLiteral(".json");
}

}  // namespace

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/miravellon/borradores");
}

bool keep(const Draft& draft)
{
    if (!QDir().mkpath(folder()))
        return false;
    QJsonArray marks;
    for (auto it = draft.misspellings.cbegin(); it != draft.misspellings.cend(); ++it)
        marks.append(QJsonObject{{QStringLiteral("palabra"), double(it.key())}, {QStringLiteral("falta"), it.value()}});
    const QJsonObject object{{QStringLiteral("ejercicio"), draft.exerciseFolder},
                             {QStringLiteral("numero"), draft.number},
                             {QStringLiteral("texto"), draft.text},
                             {QStringLiteral("faltas"), marks},
                             {QStringLiteral("nuevo"), draft.fresh},
                             {QStringLiteral("base"), draft.base}};
    QSaveFile file(fileOf(draft.exerciseFolder, draft.number));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(object).toJson());
    return file.commit();
}

QString stamp(const QString& exerciseFolder, int number)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QStringView version : {content::CorrectVersion, content::FaultyVersion}) {
        QFile file(catalogue::versionPath(exerciseFolder, version.toString(), QString::number(number)));
        if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly)) {
            if (version == content::CorrectVersion)
                return {};
            continue;
        }
        const QByteArray bytes = file.read(textfile::MaxFileBytes + 1);
        hash.addData(QByteArray::number(bytes.size()) + '\n');
        hash.addData(bytes);
    }
    return QString::fromLatin1(hash.result().toHex());
}

bool changesItsItem(const Draft& draft)
{
    return !draft.fresh && !draft.base.isEmpty() && stamp(draft.exerciseFolder, draft.number) == draft.base;
}

void drop(const QString& exerciseFolder, int number)
{
    QFile::remove(fileOf(exerciseFolder, number));
}

QList<Draft> all()
{
    QList<Draft> out;
    const QFileInfoList files
        = QDir(folder()).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& info : files) {
        QFile file(info.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly) || file.size() > 16 * 1024 * 1024)
            continue;
        const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
        Draft d;
        d.exerciseFolder = o.value(QStringLiteral("ejercicio")).toString();
        d.number = o.value(QStringLiteral("numero")).toInt();
        d.text = o.value(QStringLiteral("texto")).toString();
        d.fresh = o.value(QStringLiteral("nuevo")).toBool();
        d.base = o.value(QStringLiteral("base")).toString();
        for (const QJsonValue& v : o.value(QStringLiteral("faltas")).toArray()) {
            const QJsonObject m = v.toObject();
            d.misspellings.insert(qsizetype(m.value(QStringLiteral("palabra")).toInteger()),
                                  m.value(QStringLiteral("falta")).toString());
        }
        if (!d.exerciseFolder.isEmpty() && d.number > 0 && d.number <= 999999999)
            out.append(d);
    }
    return out;
}

}  // namespace editor::drafts
