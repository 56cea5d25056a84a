// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The content tree the benchmarks and the start-up probe run on: 71 exercise
// folders, the first holding one item per measured size (generated texts in
// both versions), and the program's own background tile, animations and cues.

#include "bench/textgen.h"

#include <QString>

#include <array>

namespace content {

inline constexpr std::array<int, 4> Sizes{100, 1000, 10000, 32767};
inline constexpr int Exercises = 71;

// The item number under which the text of `words` words is stored.
int itemFor(int words);

// Writes the whole tree under `root` (made if missing). False on failure.
bool write(const QString& root);

// The generated item of `words` words (generated once, then kept).
const textgen::Item& item(int words);

// Path of one version ("correcto" or "incorrecto") of the item of `words`
// words in the tree under `root`.
QString versionPath(const QString& root, const QString& version, int words);

}  // namespace content
