// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPair>
#include <QSet>
#include <QString>

// The words a content folder says are right although the dictionary does
// not know them, and the misspellings it says are meant although they are
// words too. Both files lie beside the folder's "Ejercicios":
//   palabras-aceptadas.txt  one word per line; '#' starts a comment
//   homofonos.txt           one pair "correcto falta" per line; '#' too
// UTF-8 (Windows-1252 read too). Words are compared without regard to letter
// case.
namespace acceptedwords {

inline constexpr char16_t WordsFile[] = u"palabras-aceptadas.txt";
inline constexpr char16_t HomophonesFile[] = u"homofonos.txt";

struct Lists {
    QSet<QString> words;                       // in lower case
    QSet<QPair<QString, QString>> homophones;  // (correct, faulty), in lower case

    bool accepts(const QString& word) const { return words.contains(word.toLower()); }
    bool intends(const QString& correct, const QString& faulty) const
    {
        return homophones.contains({correct.toLower(), faulty.toLower()});
    }
    void unite(const Lists& other);
};

// The lists written in the files' texts.
Lists parse(const QString& wordsText, const QString& homophonesText);
// The lists beside the catalogue of content root `root`; empty lists for
// missing files.
Lists read(const QString& root);

// Adds a word, or a pair, to the file beside `root`'s catalogue, making the
// file when there is none; nothing when it is listed already. An empty
// string on success, else why it failed, in Spanish.
QString addWord(const QString& root, const QString& word);
// Makes both files beside `root`'s catalogue, each with a comment saying what
// it is for, where they are missing.
void makeFiles(const QString& root);
QString addHomophone(const QString& root, const QString& correct, const QString& faulty);

}  // namespace acceptedwords
