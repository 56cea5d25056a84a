// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/richtextbox.h"

#include "presentation/layoutscheduler.h"
#include "presentation/twips.h"

#include <QAbstractTextDocumentLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>

int keyCodeOf(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_Tab: return 9;
    default: return event->key() ? event->key() : 1;
    }
}

namespace {

bool drawnWithoutShaping(QStringView text)
{
    for (QChar c : text) {
        // Nothing below the combining diacritical marks needs shaping.
        if (c.unicode() < 0x300)
            continue;
        if (c.isSurrogate() || c.unicode() == 0x200C || c.unicode() == 0x200D)
            return false;
        switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing: return false;
        default: break;
        }
    }
    return true;
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
    , layout_(new LayoutScheduler(*this))
    , heldKeys_(this, [this](int code, Qt::KeyboardModifiers modifiers) { emit keyReleased(code, modifiers); })
{
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
}

QString RichTextBox::text() const
{
    // The characters as they are stored: toPlainText() would turn a
    // non-breaking space into an ordinary one, a word separator.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

bool RichTextBox::shapes() const
{
    return !(font().styleStrategy() & QFont::PreferNoShaping);
}

void RichTextBox::setShaping(bool on)
{
    QFont changed = font();
    changed.setStyleStrategy(QFont::StyleStrategy(on ? changed.styleStrategy() & ~QFont::PreferNoShaping
                                                     : changed.styleStrategy() | QFont::PreferNoShaping));
    setFont(changed);
}

void RichTextBox::chooseShaping(QStringView added, bool whole)
{
    const bool plain = drawnWithoutShaping(added);
    // Text coming in beside other text may drop shaping only if it is all
    // the box holds.
    if (plain == !shapes() || (plain && !whole))
        return;
    setShaping(!plain);
}

void RichTextBox::setText(const QString& text)
{
    const bool plain = drawnWithoutShaping(text);
    if (plain == shapes()) {
        // The old text is let go first, so that the new font lays out
        // nothing but the new text.
        document()->clear();
        setShaping(!plain);
    }
    setPlainText(text);
    hidden_ = QTextCursor(document());
    // A new text is shown from its start.
    viewAnchor_ = QTextCursor();
    if (updates_ > 0)
        updating_ = QTextCursor(document());
    layout_->restart();
}

void RichTextBox::appendText(const QString& more)
{
    // Text added to a laid-out document is laid out at once, all of it, before
    // the box can answer again: a whole long text added to the log takes more
    // than a frame. Laid out anew, the whole log is laid out again, but in
    // steps; worth it only for a long addition.
    constexpr qsizetype LongAddition = 2000;  // characters: a fraction of a millisecond of layout
    chooseShaping(more, document()->isEmpty());
    std::optional<LayoutAnew> later;
    if (more.size() > LongAddition)
        later.emplace(*this);
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(more);
    // As after setText: the caret at the start, in view. Moved before the
    // layout starts again: a caret that the insertion carried to the end
    // would make the box lay out the whole text at once to repaint it.
    setTextCursor(QTextCursor(document()));
    later.reset();
    hidden_ = QTextCursor(document());
    viewAnchor_ = QTextCursor();
    if (updates_ > 0)
        updating_ = QTextCursor(document());
}

QTextCursor RichTextBox::selection() const
{
    if (updates_ > 0)
        return updating_;
    return selectionHidden_ ? hidden_ : textCursor();
}

void RichTextBox::applySelection(const QTextCursor& cursor)
{
    if (updates_ > 0) {
        updating_ = cursor;
        return;
    }
    if (!selectionHidden_) {
        setCursorKeepingView(cursor);
        return;
    }
    hidden_ = cursor;
    showCaretOnly(cursor);
}

void RichTextBox::setCursorKeepingView(const QTextCursor& cursor)
{
    // QTextEdit scrolls to a cursor it is given; the view stays where the
    // pupil left it instead, so that the word under the pointer is still
    // there when the click that follows lands.
    // The scroll bars keep their signals to themselves meanwhile, so that
    // the view is not scrolled to the cursor and back.
    const int horizontal = horizontalScrollBar()->value();
    const int vertical = verticalScrollBar()->value();
    const QSignalBlocker quietHorizontal(horizontalScrollBar());
    const QSignalBlocker quietVertical(verticalScrollBar());
    setTextCursor(cursor);
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
}

void RichTextBox::showCaretOnly(const QTextCursor& cursor)
{
    QTextCursor caret = cursor;
    caret.clearSelection();
    setCursorKeepingView(caret);
}

void RichTextBox::anchorView()
{
    viewAnchor_ = QTextCursor();
    if (!layout_->laidOut() || verticalScrollBar()->value() == 0)
        return;
    viewAnchor_ = cursorForPosition(QPoint(0, 0));
    viewAnchorTop_ = lineTop(viewAnchor_.position()) - verticalScrollBar()->value();
}

int RichTextBox::lineTop(int position) const
{
    // The top of the line, not of the character: a picked word grows its
    // line downwards, and lifts the smaller letters beside it.
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout* layout = block.layout();
    const qreal blockTop = document()->documentLayout()->blockBoundingRect(block).top();
    const QTextLine line = layout ? layout->lineForTextPosition(position - block.position()) : QTextLine();
    return int(std::lround(blockTop + (line.isValid() ? line.y() : 0)));
}

void RichTextBox::restoreAnchoredView()
{
    if (viewAnchor_.isNull() || !layout_->laidOut())
        return;
    // The cursor has followed the edits: the character that was at the top of
    // the view goes back to where it was drawn.
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(lineTop(viewAnchor_.position()) - viewAnchorTop_);
    viewAnchor_ = QTextCursor();
}

void RichTextBox::setHideSelection(bool hide)
{
    hideSelection_ = hide;
    if (!hide && selectionHidden_)
        showSelection();
    else if (hide && !hasFocus())
        hideSelectionNow();
}

void RichTextBox::hideSelectionNow()
{
    if (selectionHidden_)
        return;
    hidden_ = textCursor();
    selectionHidden_ = true;
    showCaretOnly(hidden_);
}

void RichTextBox::showSelection()
{
    if (!selectionHidden_)
        return;
    selectionHidden_ = false;
    setCursorKeepingView(hidden_);
}

void RichTextBox::focusInEvent(QFocusEvent* event)
{
    showSelection();
    QTextEdit::focusInEvent(event);
}

void RichTextBox::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    if (hideSelection_)
        hideSelectionNow();
}

void RichTextBox::beginUpdate()
{
    if (updates_ == 0) {
        updating_ = selectionHidden_ ? hidden_ : textCursor();
        anchorView();
    }
    ++updates_;
    QTextCursor(document()).beginEditBlock();
}

void RichTextBox::endUpdate()
{
    QTextCursor(document()).endEditBlock();
    if (updates_ == 0 || --updates_ > 0)
        return;
    const QTextCursor selected = updating_;
    updating_ = QTextCursor();
    applySelection(selected);
    restoreAnchoredView();
}

int RichTextBox::textLength() const
{
    // The document counts one closing paragraph separator beyond the text.
    return std::max(0, document()->characterCount() - 1);
}

int RichTextBox::selStart() const
{
    return selection().selectionStart();
}

void RichTextBox::setSelStart(int start)
{
    QTextCursor c = selection();
    c.setPosition(std::clamp(start, 0, textLength()));
    applySelection(c);
}

int RichTextBox::selLength() const
{
    const QTextCursor c = selection();
    return c.selectionEnd() - c.selectionStart();
}

void RichTextBox::setSelLength(int length)
{
    QTextCursor c = selection();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + std::max(0, length), 0, textLength()), QTextCursor::KeepAnchor);
    applySelection(c);
}

QString RichTextBox::selText() const
{
    QString s = selection().selectedText();
    s.replace(QChar::ParagraphSeparator, u'\n');
    return s;
}

QTextCharFormat RichTextBox::formatAt(int position) const
{
    // A cursor's format describes the character before it: step one past the
    // character of interest.
    QTextCursor c(document());
    const int length = textLength();
    c.setPosition(std::clamp(position + 1, 0, length));
    if (position >= length && length > 0)
        c.setPosition(length);
    return c.charFormat();
}

void RichTextBox::setSelText(const QString& text)
{
    chooseShaping(text, false);
    QTextCursor c = selection();
    const QTextCharFormat format = formatAt(c.selectionStart());
    c.insertText(text, format);
    applySelection(c);
}

std::uint32_t RichTextBox::selColor() const
{
    const QTextCharFormat format = formatAt(selection().selectionStart());
    if (!format.hasProperty(QTextFormat::ForegroundBrush))
        return vbcolor::fromQColor(palette().color(QPalette::Text));
    return vbcolor::fromQColor(format.foreground().color());
}

void RichTextBox::setSelColor(std::uint32_t colour)
{
    QTextCharFormat format;
    format.setForeground(vbcolor::toQColor(colour, palette()));
    selection().mergeCharFormat(format);
}

void RichTextBox::setSelFontName(const QString& family)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    selection().mergeCharFormat(format);
}

void RichTextBox::setSelFontSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    selection().mergeCharFormat(format);
}

void RichTextBox::setRangesColor(const QList<std::pair<int, int>>& ranges, std::uint32_t colour)
{
    if (ranges.isEmpty())
        return;
    QTextCharFormat format = formatAt(ranges.first().first);
    format.setForeground(vbcolor::toQColor(colour, palette()));
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const auto& [first, last] : ranges) {
        cursor.setPosition(first);
        cursor.setPosition(last, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    cursor.endEditBlock();
}

RichTextBox::LayoutAnew::LayoutAnew(RichTextBox& box)
    : box_(box)
{
    box_.layout_->beginDeferral();
}

RichTextBox::LayoutAnew::~LayoutAnew()
{
    box_.layout_->endDeferral();
}

void RichTextBox::holdLayout()
{
    layout_->hold();
}

void RichTextBox::releaseLayout()
{
    layout_->release();
}

bool RichTextBox::layoutHeld() const
{
    return layout_->held();
}

void RichTextBox::resizeEvent(QResizeEvent* event)
{
    // The resize lays the text out at the new width: the held page size
    // would be out of date.
    releaseLayout();
    QTextEdit::resizeEvent(event);
    // A new width lays the whole text out again.
    if (event->size().width() != event->oldSize().width())
        layout_->restart();
}

void RichTextBox::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layout_->restart();
}

double RichTextBox::selFontSize() const
{
    const QTextCharFormat format = formatAt(selection().selectionStart());
    return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : font().pointSizeF();
}

void RichTextBox::setLocked(bool locked)
{
    setReadOnly(locked);
    if (locked)
        setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void RichTextBox::setCentred()
{
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignHCenter);
    c.mergeBlockFormat(format);
    setAlignment(Qt::AlignHCenter);
}

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
    // A click works on the real caret, whether or not focus arrives first.
    // The view stays put: a click on a line only partly in view would
    // otherwise scroll the line in, under the pointer.
    const int horizontal = horizontalScrollBar()->value();
    const int vertical = verticalScrollBar()->value();
    showSelection();
    pressed_ = true;
    QTextEdit::mousePressEvent(event);
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (pressed_ && event->button() == Qt::LeftButton) {
        pressed_ = false;
        emit clicked();
    }
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    heldKeys_.pressed(event->key(), event->isAutoRepeat(), event->timestamp());
    int keyCode = keyCodeOf(event);
    if (onKeyDown)
        onKeyDown(keyCode, event->modifiers());
    if (keyCode == 0) {
        event->accept();
        return;
    }
    chooseShaping(event->text(), false);
    if (inputFilter && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        const QString kept = inputFilter(event->text());
        if (kept != event->text()) {
            if (!kept.isEmpty())
                textCursor().insertText(kept);
            event->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event)
{
    QTextEdit::keyReleaseEvent(event);
    heldKeys_.released(event->key(), keyCodeOf(event), event->modifiers(), event->isAutoRepeat(), event->timestamp());
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return !isReadOnly() && source->hasText();
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source->hasText())
        return;
    const QString text = inputFilter ? inputFilter(source->text()) : source->text();
    chooseShaping(text, false);
    textCursor().insertText(text);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* event)
{
    chooseShaping(event->commitString(), false);
    chooseShaping(event->preeditString(), false);
    QTextEdit::inputMethodEvent(event);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The boxes have no context menu of their own: the pupil works with clicks
    // and typing only.
    event->accept();
}
