// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/rangemarks.h"

#include "presentation/richtextbox.h"

#include <QTimer>

#include <algorithm>
#include <iterator>

namespace {

// Up to this many changes are made at once (every shipped text has far fewer
// words); more, as a text of thousands of words with every word wrong, are
// made in slices between other events.
constexpr qsizetype ManyChanges = 2000;
// Changes made in one slice: far more words than the view holds, made in
// about a millisecond and laid out anew in about as much again.
constexpr qsizetype Slice = 1500;

}  // namespace

RangeMarks::RangeMarks(RichTextBox& box, std::uint32_t markColour, std::uint32_t plainColour)
    : QObject(&box)
    , box_(box)
    , markColour_(markColour)
    , plainColour_(plainColour)
    , slices_(new QTimer(this))
{
    slices_->setObjectName(QStringLiteral("markSlices"));
    slices_->setInterval(0);
    connect(slices_, &QTimer::timeout, this, &RangeMarks::makeSlice);
}

void RangeMarks::mark(const Ranges& ranges)
{
    stop();
    if (ranges == marked_)
        return;
    Ranges cleared;
    std::set_difference(marked_.cbegin(), marked_.cend(), ranges.cbegin(), ranges.cend(), std::back_inserter(cleared));
    Ranges added;
    std::set_difference(ranges.cbegin(), ranges.cend(), marked_.cbegin(), marked_.cend(), std::back_inserter(added));
    if (cleared.size() + added.size() <= ManyChanges) {
        // Marks spread over the whole text are laid out as a new text: in view
        // at once, the rest in steps. Laid out as they are made, the box would
        // lay out everything from the first to the last before it could show
        // anything.
        const RichTextBox::LayoutAnew later(box_);
        box_.setRangesColor(cleared, plainColour_);
        box_.setRangesColor(added, markColour_);
        marked_ = ranges;
        return;
    }
    // In the order of position: a text laid out anew is shown from its start,
    // so the first slice, made at once, holds the marks in view.
    QList<Change> changes;
    changes.reserve(cleared.size() + added.size());
    auto c = cleared.cbegin();
    auto a = added.cbegin();
    while (c != cleared.cend() || a != added.cend()) {
        if (a == added.cend() || (c != cleared.cend() && *c < *a))
            changes.append({*c++, false});
        else
            changes.append({*a++, true});
    }
    pending_ = std::move(changes);
    made_ = 0;
    makeChanges(Slice);
    slices_->start();
}

void RangeMarks::makeChanges(qsizetype count)
{
    const qsizetype end = std::min(pending_.size(), made_ + count);
    Ranges cleared;
    Ranges added;
    for (qsizetype i = made_; i < end; ++i)
        (pending_.at(i).mark ? added : cleared).append(pending_.at(i).range);
    {
        // Each slice is laid out as a new text too: made into a laid-out text,
        // a slice lays the text out up to its last mark, a step three times as
        // long.
        const RichTextBox::LayoutAnew later(box_);
        box_.setRangesColor(cleared, plainColour_);
        box_.setRangesColor(added, markColour_);
    }
    made_ = end;
}

void RangeMarks::makeSlice()
{
    makeChanges(Slice);
    if (made_ >= pending_.size())
        stop();
}

void RangeMarks::stop()
{
    slices_->stop();
    if (pending_.isEmpty())
        return;
    Ranges cleared;
    Ranges added;
    for (qsizetype i = 0; i < made_; ++i)
        (pending_.at(i).mark ? added : cleared).append(pending_.at(i).range);
    Ranges kept;
    std::set_difference(marked_.cbegin(), marked_.cend(), cleared.cbegin(), cleared.cend(), std::back_inserter(kept));
    Ranges marks;
    std::set_union(kept.cbegin(), kept.cend(), added.cbegin(), added.cend(), std::back_inserter(marks));
    marked_ = std::move(marks);
    pending_.clear();
    made_ = 0;
}

void RangeMarks::forget()
{
    slices_->stop();
    pending_.clear();
    made_ = 0;
    marked_.clear();
}
