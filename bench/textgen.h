// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Generated exercise texts for the benchmarks: Spanish-looking words of 1 to
// 12 letters (accents, ñ, a capital at each line's start, some commas and full stops), 8 to
// 12 words a line, and a faulty version with about one word in twenty misspelt
// the way pupils misspell (b/v, g/j, ll/y, c/z/s, a lost h, a lost or stray
// accent). Both versions have the same word positions. The same size always
// gives the same text.

#include <QString>
#include <QStringList>
#include <QVector>

namespace textgen {

struct Item {
    QStringList correctLines;
    QStringList faultyLines;
    QVector<int> errors;  // word positions at which the versions differ, ascending
    int words = 0;
};

Item generate(int words);

// Offset of every word position in a shown text (each line followed by one
// space and one line feed): word k starts after the k-th space and the line
// feed that may follow it.
QVector<int> wordStarts(const QString& shown);

}  // namespace textgen
