// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Fuzz targets over arbitrary bytes. Each entry function checks properties
// that must hold for every input and throws PropertyFailure when one does
// not. The libFuzzer programs call them once per generated input; the corpus
// replay test calls them once per committed corpus file.

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace fuzz {

struct PropertyFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The bytes as an exercise file: decoding, cutting into lines, building the
// word positions and the shown text, and reading the same bytes from disk.
void readSplitBuild(const std::uint8_t* data, std::size_t size);

// The bytes as an item (faulty version, correct version) and a pupil's
// actions on it in the real main window: picks at caret offsets, typed
// corrections, reloads. Needs a QApplication.
void pickAndJudge(const std::uint8_t* data, std::size_t size);

// The bytes as a teacher's text in the {correcto|falta} notation (after two
// bytes choosing the families and the count), then misspellings chosen by the
// families, then the limits of what would be written: two versions with as
// many words each, differing exactly at the misspellings, or a message.
void notationAndFamilies(const std::uint8_t* data, std::size_t size);

// The bytes as a renumbering journal: read, written back and read again, and
// its steps judged against an exercise folder. Nothing is carried out.
void renumberingJournal(const std::uint8_t* data, std::size_t size);

// The bytes as a results file read back (every row read is whole, clean and
// in its normal form), and as the fields of a row written and read again (it
// reads back as its normal form).
void readAndWriteRows(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
