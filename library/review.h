// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// «Mi repaso»: texts made for one pupil from the words she left wrong. The
// words come from her results rows, the sentences from the correct versions
// of the exercises the program lists, and the items are written as an
// exercise of their own in her data folder, which the catalogue lists first.

#include "library/catalogue.h"
#include "library/families.h"
#include "library/itemwriter.h"
#include "library/resultsrow.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace review {

// The exercise's name, as the exercise list shows it and the rows record it.
inline constexpr QStringView ExerciseName = u"00 Mi repaso";
// Review words misspelt in one text, at most.
inline constexpr int MaxWordsPerText = 8;
// Lines of a text: at least, when her words allow it, and at most.
inline constexpr int MinLines = 3;
inline constexpr int MaxLines = 5;
// Texts of one review, at most; the words left over wait for the next one.
inline constexpr int MaxTexts = 12;

// A word under review.
struct Word {
    QString word;         // as the correct text wrote it when she last failed it, punctuation aside
    QString written;      // what she left written then, punctuation aside; empty when not known
    QString families;     // the family tokens of that failure ("b/v", "h+mayúscula"); empty when not known
    QDateTime firstFailed;
    QDateTime lastFailed;
    int failures = 0;
    bool operator==(const Word&) const = default;
};

// The key words are matched by: the letters and digits of a word (the
// punctuation around it aside), in small letters.
QString key(const QString& word);

// Whether a row is one of `pupil`'s: the names as the rows keep them, letter
// case aside.
bool samePupil(const QString& rowPupil, const QString& pupil);

// The words `pupil` has under review, from the rows (any order). A word
// enters when she leaves it wrong; it leaves once it is among the words
// corrected right the first time of two texts worked on two different days
// after her last failure of it. Words are matched by key(), so "Vaca," and
// "vaca" are one word.
//
// In the order the texts take them: the words failed on the last day she
// failed any, the latest failure first; then the others, the oldest failure
// first.
QList<Word> wordsUnderReview(const QList<results::Row>& rows, const QString& pupil);

// How many words each pupil of the rows has under review, and which, for
// the teacher; by name, as summarize() names the pupils.
QMap<QString, QList<Word>> underReviewByPupil(const QList<results::Row>& rows);

// The families a failure's tokens name ("h+mayúscula" gives h and capitals).
QList<families::Family> familiesOf(const QString& tokens);

// Whether what she wrote is a misspelling within the word (every difference
// of a spelling family, or a letter or two changed, added or left out), and
// so can be shown to her again; not an emptied word, another word altogether
// or a matter of punctuation.
bool isMisspellingWithin(const QString& correct, const QString& written);

// The sentences: the lines of the correct versions of the exercises listed.
struct Corpus {
    struct Line {
        QStringList words;  // as the text has them, punctuation attached
        QStringList keys;   // key() of each word
    };
    QList<Line> lines;
    QHash<QString, QList<int>> linesByKey;  // the lines holding a word, in reading order
    QHash<QString, int> textWords;          // words of each text, by textId()
    int averageWords = 0;                   // over every text read
};
QString textId(const QString& exercise, qint64 item);

// Adds one text's correct version (its lines) to `corpus`. Lines holding
// '{', '|' or '}' are left out: no item could be written from them.
void addText(Corpus& corpus, const QString& exercise, qint64 item, const QStringList& lines);
// Reads the correct versions of every item of `exercises`.
Corpus readCorpus(const QList<catalogue::ListedExercise>& exercises);

// The length (in words) of the texts `pupil` works: the mean of the texts her
// rows name that the corpus holds, else the corpus' own mean.
int usualLength(const QList<results::Row>& rows, const QString& pupil, const Corpus& corpus);

// The review texts for `words` (in wordsUnderReview() order). `failed` are
// every word she ever failed, by key() (a word no line holds is reviewed
// through a line holding another of them of the same family). `length` is
// the number of words a text aims at; `seed` varies the lines chosen from one
// review to the next.
QList<itemwriter::Draft> compose(const QList<Word>& words, const QHash<QString, Word>& failed, const Corpus& corpus,
                                 int length, quint32 seed);

// The faulty form of `sentenceWord` (punctuation attached) that reviews `word`:
// her own form when it is a misspelling within the word, in the letter case
// of the sentence's word; otherwise one its family proposes. Empty when
// nothing can misspell it.
QString misspell(const QString& sentenceWord, const Word& word, quint32 seed);

// The family most of `words` were failed in; nothing when no failure names one.
std::optional<families::Family> weakestFamily(const QList<Word>& words);

// --- The pupil's review on disk ---------------------------------------------

// Whether the review is on: the setting repaso/activo, true unless set false
// (per account, or machine-wide in /etc/xdg/miravellon/miravellon.conf).
bool enabled();

// The content root of `pupil`'s review:
// $XDG_DATA_HOME/miravellon/repaso/<alumno>, its exercise under
// "Ejercicios/00 Mi repaso".
QString rootFor(const QString& pupil);

// Writes `texts` as items 1, 2... of the review exercise under `root`,
// replacing the one there whole: the items go to a new hidden folder, which
// then takes the exercise's name in one renaming, so that no one ever reads
// half of a review. False, leaving the one there, when it cannot be written.
bool writeExercise(const QString& root, const QList<itemwriter::Draft>& texts);

// What a build needs, gathered on the window's thread.
struct Request {
    QString pupil;
    QString resultsFolder;
    // Rows not yet read back from the folder, perhaps written there already:
    // a row read twice changes no word's standing.
    QList<results::Row> rows;
    QList<catalogue::ListedExercise> exercises;  // the ones the program lists
    QString root;                                // rootFor(pupil)
    quint32 seed = 0;
};

// Reads the results folder, composes her review and writes it. The review's
// exercise, listed, when she has texts to review; nothing otherwise (no
// words, no line holds them, a folder that cannot be read or written).
std::optional<catalogue::ListedExercise> build(const Request& request);

}  // namespace review
