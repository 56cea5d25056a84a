// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>

#include <cstdint>
#include <utility>

class QTimer;
class RichTextBox;

// Ranges of a box's text marked in a colour, the rest of the text in
// another. Asked for a new set of ranges, it changes only the marks that
// differ: a range no longer wanted gets the plain colour back, a new one the
// mark, one wanted still is left alone. Each change is a format change of
// about a microsecond, and the text is laid out anew after them; a few
// thousand changes at once would keep the box from answering for longer than
// a frame, so a long list is made in slices: the first (with the marks in
// view, at the start of the text) at once, the rest one slice a turn of the
// event loop.
class RangeMarks : public QObject {
    Q_OBJECT

public:
    using Ranges = QList<std::pair<int, int>>;  // [first, last) offsets, ascending, apart

    RangeMarks(RichTextBox& box, std::uint32_t markColour, std::uint32_t plainColour);

    // Marks exactly `ranges` (in slices when many change).
    void mark(const Ranges& ranges);
    // Stops the changes left for later where they are: marked() then holds
    // exactly the ranges marked so far.
    void stop();
    // Forgets every mark without touching the box: for a text replaced whole.
    void forget();
    // The ranges marked now; while changes are left for later, the marks as
    // they were before they started.
    const Ranges& marked() const { return marked_; }
    bool pending() const { return !pending_.isEmpty(); }

private:
    struct Change {
        std::pair<int, int> range;
        bool mark;  // marked, or plain again
    };
    // Makes the next `count` changes left for later.
    void makeChanges(qsizetype count);
    void makeSlice();

    RichTextBox& box_;
    std::uint32_t markColour_;
    std::uint32_t plainColour_;
    Ranges marked_;
    QList<Change> pending_;
    qsizetype made_ = 0;
    QTimer* slices_ = nullptr;
};
