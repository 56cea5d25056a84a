// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QSizeF>

class QTextEdit;
class QTimer;

// When the text of a box is laid out. QTextEdit lays a changed text out at
// once, all of it, before the box can answer again; for a long text that is
// more than a frame. The scheduler decides instead:
//
//            setText, a new width or font,             hold()
//            the end of a deferral or a hold    ┌──────────────────┐
//   ┌─────────────────────────────────────┐     │                  ▼
//   │                                     ▼     │               ┌──────┐
// ┌─┴──────────┐  beginDeferral()   ┌──────────┴┐  release(),   │ Held │
// │  Deferred  │◄───────────────────┤   Live    │◄──────────────┤      │
// │ (page size │────────────────────►│ (paced    │  a resize     └──────┘
// │   zero)    │   endDeferral()    │  to the   │
// └────────────┘  (laid out anew)   │   end)    │
//                                   └───────────┘
//
// - Live: changes are laid out as Qt does. After the text is laid out anew
//   (restart()), Qt lays out what is in view at once and the rest in steps
//   that double in size, up to tens of milliseconds on a long text; the pacer
//   lays the rest out first instead, a bounded stretch each turn of the event
//   loop, starting after the frame that shows the text.
// - Deferred: the document has no page size, so nothing is laid out while a
//   change spread over the whole text is made; at the end the page size comes
//   back, which lays the whole text out anew: what is in view at once, the
//   rest paced. A hidden box that still has a resize to come is left to that
//   resize, which lays the text out at its new width.
// - Held: like Deferred, and the box is not painted either: for a box whose
//   window is out of sight, so that text added to it costs nothing until it
//   can be seen. A resize of the box releases it.
class LayoutScheduler : public QObject {
    Q_OBJECT

public:
    explicit LayoutScheduler(QTextEdit& box);

    // Lays the whole text out again from its start, paced.
    void restart();

    void beginDeferral();
    void endDeferral();

    void hold();
    void release();
    bool held() const { return held_; }

    // The text is laid out (neither deferred nor held): positions can be
    // asked for.
    bool laidOut() const;

private:
    void pace();

    QTextEdit& box_;
    QTimer* pacer_ = nullptr;
    int pacedTo_ = 0;
    bool pacerQueued_ = false;
    // Nested deferrals end together; the page size is given back by the last.
    int deferrals_ = 0;
    QSizeF deferredPage_;
    bool held_ = false;
    QSizeF heldPage_;
};
