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
// the help view opened, the text left. Red states it passes through while the
// pupil retypes it, and leaves black or blue, are no failure.
class Attempt {
public:
    // A new text is loaded: `correctWords` is its correct version, word by
    // word; everything counted before is forgotten.
    void start(const QString& exercise, qint64 item, const QStringList& correctWords, const QDateTime& now);
    bool active() const { return active_; }
    // A word has been picked in this text, so leaving it yields a row.
    bool picked() const { return picked_; }

    // The word at `position` (0-based, in text order) is picked.
    void pick(int position);
    // The typed form of the word at `position` is judged.
    void judge(int position, Judgement judgement);
    void openHelp();

    // Ends the attempt and gives its row (date, time and seconds from `now`;
    // `pupil` names it). Nothing when no attempt is active.
    std::optional<Row> finish(bool finished, bool inTime, const QString& pupil, const QDateTime& now);
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
    QDateTime loaded_;
    int current_ = -1;
    QMap<int, Judgement> state_;  // the last judgement of each word judged
    QSet<int> blue_;
    QSet<int> failed_;
};

}  // namespace results
