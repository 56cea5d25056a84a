// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/textfile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <utility>

// An ordered list of words indexed by word position. Reading at or past the
// end gives the empty string.
class WordList {
public:
    int count() const { return int(words_.size()); }
    QString entry(qsizetype i) const { return i >= 0 && i < words_.size() ? words_.at(i) : QString(); }
    void setEntry(qsizetype i, const QString& word)
    {
        if (i >= 0 && i < words_.size())
            words_[i] = word;
    }
    void assign(QStringList words) { words_ = std::move(words); }
    void clear() { words_.clear(); }
    const QStringList& words() const { return words_; }

private:
    QStringList words_;
};

// The word a caret designates in a shown text: where it starts, how long it
// is, and how many word positions there are from it to the end of the text,
// the word included (one per space from its start on).
struct WordSpan {
    int start = 0;
    int length = 0;
    int wordCounter = 0;
    bool operator==(const WordSpan&) const = default;
};

// How a form typed over a picked word stands.
enum class Judgement {
    Unchanged,  // it is still the picked word
    Wrong,      // neither the picked word nor the correct one
    Right       // the correct word
};

// One item being worked: the two versions of its text, and the faulty word
// list that the pupil's corrections overwrite. The rules of picking a word,
// judging a correction, completion and the remaining errors live here, apart
// from any window.
class ExerciseItem {
public:
    ExerciseItem() = default;
    ExerciseItem(textfile::Version faulty, textfile::Version correct);

    // Two versions make an item only with a word at every position of both:
    // each misspelling is a change inside one word.
    static bool pairs(const QStringList& faultyWords, const QStringList& correctWords)
    {
        return faultyWords.size() == correctWords.size();
    }

    // What the exercise box shows at the load, and the correct text.
    const QString& shownText() const { return shown_; }
    const QString& correctText() const { return correctShown_; }
    // The correct words, and the faulty words as the pupil has corrected them.
    WordList& correctWords() { return correct_; }
    const WordList& correctWords() const { return correct_; }
    WordList& faultyWords() { return faulty_; }
    const WordList& faultyWords() const { return faulty_; }

    // The word a click with the caret at `caret` picks in `shown` (a shown
    // text, as it stands with the corrections typed into it). Only a space,
    // and looking backwards a line feed, ends a word; punctuation belongs to
    // it. A caret at the end of the text, or before its final line feed,
    // picks the last word; one between a line's closing space and its line
    // feed picks the first word of the next line. None in a text of fewer than
    // two characters.
    static std::optional<WordSpan> wordAt(QStringView shown, int caret);

    // The word position of a word `wordCounter` positions from the end.
    int positionOf(int wordCounter) const { return faulty_.count() - wordCounter; }

    // `typed` replaces the word at the position `wordCounter` names in the
    // faulty list and is judged against the word `picked` there and the
    // correct word.
    Judgement correct(int wordCounter, const QString& picked, const QString& typed);

    // Every word is as in the correct version.
    bool complete() const { return faulty_.words() == correct_.words(); }

    // The [first, last) offsets, in the correct text, of the words still
    // wrong, ascending. An empty correct word has nothing to mark.
    QList<std::pair<int, int>> remainingErrors() const;

    // A word never holds a space or a line break: `text` without them.
    static QString withoutBreaks(const QString& text);
    // A typed form with a space, a tab or a line break in it, without them;
    // any other form as it is.
    static QString mended(const QString& typed);

private:
    QString shown_;
    QString correctShown_;
    WordList correct_;
    WordList faulty_;
};
