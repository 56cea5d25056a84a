#include "bench/window.h"

#include "presentation/richtextbox.h"
#include "tests/support.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTextBlock>

#include <ctime>

namespace window {

void layOutFully(RichTextBox* box)
{
    QTextDocument* document = box->document();
    // Asking where the last block lies makes the layout reach it.
    document->documentLayout()->blockBoundingRect(document->lastBlock());
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A text box given a new text lays it out in steps from a timer; those
    // steps belong to the action that set the text.
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* box = qobject_cast<QTextEdit*>(widget)) {
            QTextDocument* document = box->document();
            document->documentLayout()->blockBoundingRect(document->lastBlock());
        }
    }
    QCoreApplication::processEvents();
}

namespace {

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

}  // namespace

double act(const std::function<void()>& action)
{
    const double from = processSeconds();
    action();
    settle();
    return processSeconds() - from;
}

void clickText(MainWindowHarness& harness, int offset)
{
    RichTextBox* box = harness.text();
    QTextCursor cursor(box->document());
    cursor.setPosition(offset);
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
