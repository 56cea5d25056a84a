// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class Hunspell;

// Spelling through the hunspell library, for the teacher's tools.
//
// Neutral Spanish: a form any of the installed Spanish dictionaries accepts
// is a word. The dictionaries are the "es_*.aff"/"es_*.dic" pairs in the
// "hunspell" folder of each XDG data folder ($XDG_DATA_HOME, then each entry
// of $XDG_DATA_DIRS: /usr/share/hunspell on Debian, where hunspell-es
// installs 21 variants that are links to one file); a pair reached twice,
// through links or folders, is loaded once.
namespace spelling {

// The word as a dictionary knows it: without the punctuation around it.
// Empty for words a dictionary cannot judge: empty ones, ones with digits,
// and ones with control characters.
QString bareWord(const QString& word);

class Dictionary {
public:
    // Loads every Spanish dictionary found in the "hunspell" folders under
    // `dataFolders` (the XDG data folders when none are given).
    explicit Dictionary(const QStringList& dataFolders);
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // The dictionaries of the XDG data folders, loaded on first use and kept
    // for the rest of the run.
    static Dictionary& spanish();

    // Whether some Spanish dictionary was found.
    bool isAvailable() const;
    // The ".dic" files loaded.
    QStringList files() const;
    // Whether some dictionary accepts `word` (a bare word, see bareWord()).
    // Always false without a dictionary.
    bool knows(const QString& word) const;

private:
    std::vector<std::unique_ptr<Hunspell>> m_dictionaries;
    QStringList m_files;
};

// What the teacher's tools say once when no Spanish dictionary is installed.
QString missingDictionaryText();

}  // namespace spelling
