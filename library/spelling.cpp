// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/spelling.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <hunspell/hunspell.hxx>

namespace spelling {

namespace {

// Punctuation that sticks to words in the texts but is no part of their
// spelling.
bool isPunctuation(QChar c)
{
    static const QString marks = QStringLiteral("¿¡!?.,;:\"«»()[]—–-…“”‘’'");
    return marks.contains(c);
}

QStringList defaultDataFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
}

}  // namespace

QString bareWord(const QString& word)
{
    qsizetype from = 0;
    qsizetype to = word.size();
    while (from < to && isPunctuation(word[from]))
        ++from;
    while (to > from && isPunctuation(word[to - 1]))
        --to;
    const QString bare = word.sliced(from, to - from);
    for (QChar c : bare) {
        if (c.isDigit() || c.category() == QChar::Other_Control)
            return {};
    }
    return bare;
}

Dictionary::Dictionary(const QStringList& dataFolders)
{
    QSet<QString> loaded;  // canonical ".aff" and ".dic" paths
    for (const QString& data : dataFolders) {
        const QDir folder(data + QStringLiteral("/hunspell"));
        const QStringList dics = folder.entryList({QStringLiteral("es_*.dic")}, QDir::Files, QDir::Name);
        for (const QString& dic : dics) {
            const QString dicPath = folder.filePath(dic);
            const QString affPath = dicPath.chopped(4) + QStringLiteral(".aff");
            const QString key = QFileInfo(affPath).canonicalFilePath() + u'\n' + QFileInfo(dicPath).canonicalFilePath();
            if (!QFileInfo(affPath).isFile() || loaded.contains(key))
                continue;
            loaded.insert(key);
            auto dictionary = std::make_unique<Hunspell>(QFile::encodeName(affPath).constData(),
                                                         QFile::encodeName(dicPath).constData());
            // Words are asked in UTF-8, the encoding of every Spanish
            // dictionary Debian ships; another would answer nonsense.
            if (dictionary->get_dict_encoding() != "UTF-8")
                continue;
            m_dictionaries.push_back(std::move(dictionary));
            m_files.append(dicPath);
        }
    }
}

Dictionary::~Dictionary() = default;

Dictionary& Dictionary::spanish()
{
    static Dictionary dictionary(defaultDataFolders());
    return dictionary;
}

bool Dictionary::isAvailable() const
{
    return !m_dictionaries.empty();
}

QStringList Dictionary::files() const
{
    return m_files;
}

bool Dictionary::knows(const QString& word) const
{
    if (word.isEmpty())
        return false;
    const std::string utf8 = word.toStdString();
    for (const auto& dictionary : m_dictionaries) {
        if (dictionary->spell(utf8))
            return true;
    }
    return false;
}

QString missingDictionaryText()
{
    return QStringLiteral("no hay ningún diccionario español de hunspell (paquete hunspell-es)");
}

}  // namespace spelling
