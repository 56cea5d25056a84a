#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QRandomGenerator;

// The spelling families of Spanish and the mistakes a child makes in each,
// for making the faulty version of a text: for a word, the misspellings each
// family proposes; for a text, a seeded choice of words to misspell.
//
// A misspelling keeps the punctuation around the word and, apart from the
// family "mayusculas", the letter case of the letters it keeps; it never
// equals the correct word.
namespace families {

enum class Family {
    BV,          // b for v and v for b
    H,           // a silent h dropped
    GJ,          // j for g before e and i, g for j there
    LLY,         // y for ll, ll for y before a vowel
    CZS,         // s for c and z, c for s before e and i, z for s before a, o and u
    RR,          // r for rr, rr for a strong r at the start or after n, l and s
    MB,          // n for m before p and b
    Tildes,      // a written accent missing or on another vowel
    Mayusculas,  // a capital written small, or a common word started with a capital
};

// The names teachers use, in the order above, then "todas".
QStringList names();
QString name(Family family);
// The families a name selects: one, or every family for "todas". Empty for
// an unknown name.
QList<Family> named(const QString& name);

// A word cut into its leading punctuation, its letters and digits, and its
// trailing punctuation: "¡Hola!" is "¡", "Hola", "!".
struct Parts {
    QString lead;
    QString core;
    QString trail;
};
Parts split(const QString& word);

// The misspellings `family` proposes for `word` (punctuation attached), in
// the order of their place in the word, each once. None for a word of fewer
// than two letters or holding anything but letters between its punctuation.
QStringList misspellings(const QString& word, Family family);

struct Chosen {
    qsizetype word = 0;  // index into the words
    Family family = Family::BV;
    QString faulty;      // the whole faulty word, punctuation attached
};

// Chooses up to `count` of `words` (whole words, punctuation attached), none
// of those in `excluded`, and a misspelling of one of `families` for each,
// with `random`. Preferred, in this order: misspellings that `isWord` says
// are no word (the pupil is never asked to "correct" a real word, when it can
// be helped), then words that stand only once in the text (another one,
// unmarked, would give the answer away). Letter-case mistakes are never taken
// for real words; among several families they come last, and a word that
// takes a spelling mistake is given one. Returns the choices in the order of the words; fewer than
// `count` when not enough words belong to the families.
QList<Chosen> choose(const QStringList& words, const QSet<qsizetype>& excluded, const QList<Family>& families,
                     int count, QRandomGenerator& random, const std::function<bool(const QString&)>& isWord);

}  // namespace families
