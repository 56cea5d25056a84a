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
};

// Reads the version file at `path` the way the program does and reports under
// `place` what would make the program refuse it (size, emptiness, word count)
// and what would make it show the text wrongly (bytes that are no text, line
// feeds without carriage return, extra spaces, tabs).
VersionText inspectVersion(const QString& path, const QString& place, Report& report);

}  // namespace checker
