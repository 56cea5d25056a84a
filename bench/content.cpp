// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/content.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

#ifndef MIRAVELLON_ASSETS
#error "MIRAVELLON_ASSETS must name the program's asset folder"
#endif

namespace content {

namespace {

const QString FirstExercise = QStringLiteral("01 Textos largos");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
}

// Version files are Windows-1252 with CR LF line ends, as teachers save them;
// the generated letters are all Latin-1.
QByteArray versionBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

bool copyAssets(const QString& root)
{
    const QDir assets(QStringLiteral(MIRAVELLON_ASSETS));
    QStringList files{QStringLiteral("fondo.gif")};
    for (const QString& folder : {QStringLiteral("gifs"), QStringLiteral("sonidos")}) {
        for (const QString& name : QDir(assets.filePath(folder)).entryList(QDir::Files))
            files.append(folder + u'/' + name);
    }
    for (const QString& relative : files) {
        QFile in(assets.filePath(relative));
        if (!in.open(QIODevice::ReadOnly) || !writeFile(root + u'/' + relative, in.readAll()))
            return false;
    }
    return true;
}

}  // namespace

int itemFor(int words)
{
    for (std::size_t i = 0; i < Sizes.size(); ++i) {
        if (Sizes[i] == words)
            return int(i) + 1;
    }
    return 0;
}

const textgen::Item& item(int words)
{
    static std::map<int, textgen::Item> made;
    auto it = made.find(words);
    if (it == made.end())
        it = made.emplace(words, textgen::generate(words)).first;
    return it->second;
}

QString versionPath(const QString& root, const QString& version, int words)
{
    return QStringLiteral("%1/Ejercicios/%2/%3/%4.txt").arg(root, FirstExercise, version).arg(itemFor(words));
}

bool write(const QString& root)
{
    if (!copyAssets(root))
        return false;
    for (int words : Sizes) {
        const textgen::Item& generated = item(words);
        if (!writeFile(versionPath(root, QStringLiteral("correcto"), words), versionBytes(generated.correctLines))
            || !writeFile(versionPath(root, QStringLiteral("incorrecto"), words),
                          versionBytes(generated.faultyLines)))
            return false;
    }
    for (int i = 2; i <= Exercises; ++i)
        QDir().mkpath(QStringLiteral("%1/Ejercicios/%2 Ejercicio").arg(root).arg(i, 2, 10, QLatin1Char('0')));
    return true;
}

}  // namespace content
