// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Report;

namespace checker {

// One version file of an item, as the program would load it.
struct VersionText {
    bool usable = false;     // the program loads it (it may still hold flaws)
    QStringList words;       // the word positions, built as the program builds them
    QList<int> wordsPerLine; // how many word positions each line holds
    QList<int> lineOfWord;   // the line (from 1) of each word position
    int trailingEmptyLines = 0;  // empty lines at the end, each an empty word
};

// Reads the version file at `path` with the program's own rules
// (library/textfile.h) and reports under `place` why the program would refuse
// it (size, emptiness, encoding, characters that are no text, word count,
// word length), and what deserves a look though it loads (extra spaces, tabs,
// mixed encodings, no text at all).
VersionText inspectVersion(const QString& path, const QString& place, Report& report);

}  // namespace checker
