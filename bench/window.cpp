// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/window.h"

#include "presentation/richtextbox.h"
#include "tests/support.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace window {

void layOutFully(RichTextBox* box)
{
    QTextDocument* document = box->document();
    // Asking where the last block lies makes the layout reach it.
    document->documentLayout()->blockBoundingRect(document->lastBlock());
}

namespace {

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

using Clock = std::chrono::steady_clock;

// A document still being laid out in steps: the steps go from its start to
// its end, and the blocks not reached yet have no lines. A box that has never
// been shown has no page size yet and lays nothing out until it is shown.
bool layoutPending()
{
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* box = qobject_cast<QTextEdit*>(widget)) {
            const QTextDocument* document = box->document();
            const QTextBlock last = document->lastBlock();
            if (!document->pageSize().isNull() && last.isValid() && last.layout()->lineCount() == 0)
                return true;
        }
    }
    return false;
}

// Runs the event loop one turn at a time until no text box has layout left to
// do, and adds up what each turn cost.
void runBackgroundSteps(Cost& cost)
{
    // A layout that never ends would be a fault of the measurement; give up on
    // it after a few seconds rather than hang.
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(5);
    while (layoutPending() && Clock::now() < giveUp) {
        // The layout timer wakes the loop by itself; this one makes sure a
        // turn ends even when nothing else is due.
        QTimer::singleShot(25, [] {});
        const double from = processSeconds();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double spent = processSeconds() - from;
        cost.stepMax = std::max(cost.stepMax, spent);
        cost.rest += spent;
        ++cost.steps;
    }
    // What the last step started (a size report on a zero timer, a repaint).
    const double from = processSeconds();
    QCoreApplication::processEvents();
    cost.rest += processSeconds() - from;
}

}  // namespace

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    Cost ignored;
    runBackgroundSteps(ignored);
}

Cost act(const std::function<void()>& action)
{
    Cost cost;
    const Clock::time_point wallFrom = Clock::now();
    const double from = processSeconds();
    action();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    cost.cpu = processSeconds() - from;
    cost.wall = std::chrono::duration<double>(Clock::now() - wallFrom).count();
    runBackgroundSteps(cost);
    return cost;
}

void clickText(MainWindowHarness& harness, int offset)
{
    RichTextBox* box = harness.text();
    QTextCursor cursor(box->document());
    cursor.setPosition(offset);
    // A pupil scrolls the word into view before clicking it.
    if (!box->viewport()->rect().contains(box->cursorRect(cursor).center())) {
        QScrollBar* bar = box->verticalScrollBar();
        bar->setValue(bar->value() + box->cursorRect(cursor).center().y() - box->viewport()->height() / 2);
    }
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(cursor).center());
}

namespace {

long statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

}  // namespace

long peakMemoryKiB()
{
    return statusKiB("VmHWM");
}

long currentMemoryKiB()
{
    return statusKiB("VmRSS");
}

}  // namespace window
