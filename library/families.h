// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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
    GU,          // u for ü after g, the u of gue and gui left out
    CQK,         // k for c before a, o and u and for qu, c or qu for k
    DZ,          // z for a final d, d for a final z
    XS,          // s for x, x for s before c, p and t
    CCSC,        // c for cc, c or s for sc before e and i
};

// One family as the tools show it: `code` is the short name typed on a
// command line ("bv"), `name` what a teacher reads and may type ("b/v",
// "m antes de p y b"), `token` how a results row names it ("b/v", "mp/mb").
struct FamilyInfo {
    Family family;
    QString code;
    QString name;
    QString token;
};

// Every family, in teaching order.
const QList<FamilyInfo>& table();
// The family `text` names: a code, a name or a token, in any letter case,
// accents optional ("mayúsculas", "Mayusculas", "mayusculas"). None for
// "todas", "otra" or an unknown text.
std::optional<Family> parse(const QString& text);
QString token(Family family);
QString displayName(Family family);
// The token of a difference no family explains.
QString otherToken();

// The families of what differs between a correct word and a misspelt form of
// it, as tokens joined by '+' in table order ("h+mayúscula"); "otra" joins
// them when part of the difference belongs to no family, and stands alone
// when none of it does. Punctuation around the words is ignored; empty when
// the words do not differ.
QString pairTokens(const QString& correct, const QString& faulty);
// The families a token string names ("h+mayúscula" -> {H, Mayusculas}), in
// table order; unknown tokens ("otra") give none.
QList<Family> fromTokens(const QString& tokens);

// The codes of the families, in table order, then "todas".
QStringList names();
// The code of a family.
QString name(Family family);
// The families a text selects: one (anything parse() reads), or every family
// for "todas" (any letter case). Empty for an unknown text.
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
// the order of their place in the word, each once, at most eight (the first
// ones). None for a word of fewer than two letters or more than
// textfile::MaxWordLength, or holding anything but letters between its
// punctuation.
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
