// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/layoutscheduler.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

namespace {

// The pacer lays the text out a stretch of this many characters at a time,
// for up to PacedMs milliseconds a turn of the event loop: a plain text goes
// several stretches a turn, a text cut into many coloured marks fewer.
constexpr int PacedStretch = 1000;
constexpr int PacedMs = 2;
// The pacer's first turn comes after this many milliseconds, as Qt's own
// first step does, so that it never delays the frame that shows the text.
constexpr int PacerDelayMs = 10;

}  // namespace

LayoutScheduler::LayoutScheduler(QTextEdit& box)
    : QObject(&box)
    , box_(box)
    , pacer_(new QTimer(this))
{
    pacer_->setSingleShot(true);
    connect(pacer_, &QTimer::timeout, this, &LayoutScheduler::pace);
}

bool LayoutScheduler::laidOut() const
{
    return !held_ && !box_.document()->pageSize().isNull();
}

void LayoutScheduler::restart()
{
    pacedTo_ = 0;
    // Started once the events already waiting are handled: an action that
    // lays a text out and takes longer than the delay would otherwise find
    // the pacer due before the frame that answers it.
    if (!pacerQueued_) {
        pacerQueued_ = true;
        QMetaObject::invokeMethod(this, [this] {
            pacerQueued_ = false;
            pacer_->start(PacerDelayMs);
        }, Qt::QueuedConnection);
    }
}

void LayoutScheduler::pace()
{
    QTextDocument* doc = box_.document();
    if (!laidOut())
        return;  // laid out anew, and paced from the start, when given back
    const int end = doc->characterCount() - 1;
    QElapsedTimer turn;
    turn.start();
    do {
        pacedTo_ = std::min(end, pacedTo_ + PacedStretch);
        // Asking where a block lies lays the text out up to that block.
        doc->documentLayout()->blockBoundingRect(doc->findBlock(pacedTo_));
    } while (pacedTo_ < end && turn.elapsed() < PacedMs);
    if (pacedTo_ < end)
        pacer_->start(0);
}

void LayoutScheduler::beginDeferral()
{
    if (deferrals_++ == 0) {
        deferredPage_ = box_.document()->pageSize();
        box_.document()->setPageSize(QSizeF(0, 0));
    }
}

void LayoutScheduler::endDeferral()
{
    if (deferrals_ == 0 || --deferrals_ > 0)
        return;
    // The boxes wrap at their width: the resize of the box or of its
    // viewport, whichever comes, always sets the page size. Given back now,
    // the old size would lay the text out once more, for nothing.
    const bool resizeToCome = box_.testAttribute(Qt::WA_PendingResizeEvent)
        || box_.viewport()->testAttribute(Qt::WA_PendingResizeEvent);
    if (!box_.isVisible() && resizeToCome && box_.lineWrapMode() == QTextEdit::WidgetWidth)
        return;
    box_.document()->setPageSize(deferredPage_);
    restart();
}

void LayoutScheduler::hold()
{
    if (held_)
        return;
    held_ = true;
    heldPage_ = box_.document()->pageSize();
    box_.document()->setPageSize(QSizeF(0, 0));
    box_.viewport()->setUpdatesEnabled(false);
}

void LayoutScheduler::release()
{
    if (!held_)
        return;
    held_ = false;
    box_.document()->setPageSize(heldPage_);
    // Enabling updates again repaints the whole view.
    box_.viewport()->setUpdatesEnabled(true);
    restart();
}
