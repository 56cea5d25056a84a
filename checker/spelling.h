#pragma once

class Report;

namespace checker {

struct TextWords;

// Runs Hunspell with the Spanish dictionary over the words of the correct
// versions (unknown words are worth a look) and over the faulty forms (a
// faulty form that is a real word, like a homophone, may confuse the pupil).
// Without Hunspell or the dictionary, says once that spelling was not
// checked.
void checkSpelling(const TextWords& words, Report& report);

}  // namespace checker
