// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/acceptedwords.h"

#include "library/textfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace acceptedwords {

namespace {

// The words of each line with its comment left out; lines without a word
// give none.
QList<QStringList> entries(const QString& text)
{
    QList<QStringList> out;
    for (QString line : textfile::splitLines(text)) {
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line.truncate(hash);
        const QStringList words = line.simplified().split(u' ', Qt::SkipEmptyParts);
        if (!words.isEmpty())
            out.append(words);
    }
    return out;
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return textfile::decode(file.read(textfile::MaxFileBytes));
}

// Appends `line` to the file at `path` as UTF-8, with the file's earlier
// content kept, through a whole new file so that a failure loses nothing.
QString append(const QString& path, const QString& line)
{
    QByteArray bytes;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return QStringLiteral("no se puede leer %1").arg(QDir::toNativeSeparators(path));
        bytes = old.readAll();
        old.close();
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += '\n';
    }
    bytes += line.toUtf8() + '\n';
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("no se puede escribir en %1").arg(QDir::toNativeSeparators(path));
    return {};
}

}  // namespace

void Lists::unite(const Lists& other)
{
    words.unite(other.words);
    homophones.unite(other.homophones);
}

Lists parse(const QString& wordsText, const QString& homophonesText)
{
    Lists lists;
    for (const QStringList& words : entries(wordsText)) {
        for (const QString& word : words)
            lists.words.insert(word.toLower());
    }
    for (const QStringList& pair : entries(homophonesText)) {
        if (pair.size() == 2)
            lists.homophones.insert({pair[0].toLower(), pair[1].toLower()});
    }
    return lists;
}

Lists read(const QString& root)
{
    return parse(readText(root + u'/' + QString::fromUtf16(WordsFile)),
                 readText(root + u'/' + QString::fromUtf16(HomophonesFile)));
}

QString addWord(const QString& root, const QString& word)
{
    const QString bare = word.simplified();
    if (bare.isEmpty() || bare.contains(u' ') || bare.contains(u'#'))
        return QStringLiteral("«%1» no es una palabra").arg(word);
    if (read(root).accepts(bare))
        return {};
    return append(root + u'/' + QString::fromUtf16(WordsFile), bare);
}

void makeFiles(const QString& root)
{
    const QString words = root + u'/' + QString::fromUtf16(WordsFile);
    const QString pairs = root + u'/' + QString::fromUtf16(HomophonesFile);
    if (!QFileInfo::exists(words))
        append(words, QStringLiteral("# Palabras correctas que el diccionario no conoce (nombres...): una por línea."));
    if (!QFileInfo::exists(pairs))
        append(pairs, QStringLiteral("# Faltas que también son palabras y se quieren así: «correcto falta», una "
                                     "pareja por línea."));
}

QString addHomophone(const QString& root, const QString& correct, const QString& faulty)
{
    const QString c = correct.simplified();
    const QString f = faulty.simplified();
    if (c.isEmpty() || f.isEmpty() || c.contains(u' ') || f.contains(u' ') || c.contains(u'#') || f.contains(u'#'))
        return QStringLiteral("«%1» y «%2» no son dos palabras").arg(correct, faulty);
    if (read(root).intends(c, f))
        return {};
    return append(root + u'/' + QString::fromUtf16(HomophonesFile), c + u' ' + f);
}

}  // namespace acceptedwords
