// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The attempt at one text: what the pupil does in it, counted into the row
// that is written when she leaves it.

#include "library/exerciseitem.h"
#include "library/resultsrow.h"

#include <QDateTime>
#include <QMap>
#include <QSet>

namespace results {

// The attempt at one text, fed with what happens in it. A word counts as
// failed when it is red at a moment the pupil leaves it: another word picked,
// the help view opened, the text left; its written form is the last red form
// it was left with ("-" when the box was emptied). Red states it passes
// through while the pupil retypes it, and leaves black or blue, are no
// failure. A word turned blue and never left red was right first time.
class Attempt {
public:
    // A new text is loaded: `correctWords` is its correct version, word by
    // word, `shownWords` the version the text shows (with its misspellings);
    // everything counted before is forgotten.
    void start(const QString& exercise, qint64 item, const QStringList& correctWords,
               const QStringList& shownWords, const QDateTime& now);
    bool active() const { return active_; }
    // A word has been picked in this text, so leaving it yields a row.
    bool picked() const { return picked_; }

    // The word at `position` (0-based, in text order) is picked.
    void pick(int position);
    // The typed form `typed` of the word at `position` is judged.
    void judge(int position, Judgement judgement, const QString& typed);
    void openHelp();

    // Ends the attempt and gives its row (date, time and seconds from `now`;
    // `pupil` names it). Nothing when no attempt is active.
    std::optional<Row> finish(bool finished, bool inTime, const QString& pupil, const QDateTime& now);
    // The row the text would give if it were left now, not finished, while
    // the attempt goes on. Nothing when no attempt is active or no word has
    // been picked.
    std::optional<Row> provisional(const QString& pupil, const QDateTime& now) const;
    // Words turned blue and words failed so far, for the tests and the row.
    int corrected() const { return int(blue_.size()); }
    int failed() const { return int(failed_.size()); }

private:
    // Every word red now counts as failed.
    void leaveRed();

    bool active_ = false;
    bool picked_ = false;
    bool help_ = false;
    QString exercise_;
    qint64 item_ = 0;
    QStringList correct_;
    QStringList shown_;
    QDateTime loaded_;
    int current_ = -1;
    QMap<int, Judgement> state_;  // the last judgement of each word judged
    QMap<int, QString> typed_;    // the form each word judged has now
    QMap<int, QString> leftRed_;  // the last red form each failed word was left with
    QSet<int> blue_;
    QSet<int> failed_;
};

}  // namespace results
