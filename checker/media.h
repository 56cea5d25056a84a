// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class Report;

namespace checker {

struct TextWords;

// The eight sound cues under "sonidos": present, and WAV files the program
// can play (a RIFF/WAVE header with a "fmt " and a "data" chunk).
void checkCues(const QString& tree, Report& report);

// The runner and the three reward animations under "gifs", and the
// background tile "fondo.gif": present and decodable.
void checkAnimations(const QString& tree, Report& report);

// The word pictures under "Graficos": decodable, named after a word the
// pupil corrects; and, as information, the corrected words with no picture.
void checkPictures(const QString& tree, const TextWords& words, Report& report);

}  // namespace checker
