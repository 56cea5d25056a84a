// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/acceptedwords.h"

class Report;

namespace checker {

struct TextWords;

// Asks the Spanish dictionaries (library/spelling.h) about the words of the
// correct versions (unknown words are worth a look) and about the faulty
// forms (a faulty form that is a real word, like a homophone, may confuse the
// pupil). Words of `accepted` are not looked up, and its pairs are meant.
// Without a Spanish dictionary, says once that spelling was not checked.
void checkSpelling(const TextWords& words, Report& report, const acceptedwords::Lists& accepted = {});

}  // namespace checker
