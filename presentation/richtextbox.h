// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "presentation/heldkeys.h"

#include <QTextEdit>

#include <cstdint>
#include <functional>
#include <utility>

class LayoutScheduler;

// The rich-text box the windows are made of: a QTextEdit addressed by
// character offsets into the string that text() returns (each line feed is one
// character), with a selection whose colour, font and size the program sets.
class RichTextBox : public QTextEdit {
    Q_OBJECT

public:
    explicit RichTextBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    // The same as setText(text() + more), without building the document
    // again. A long addition is laid out as after a LayoutAnew; a short one
    // at once, so that a long log is not laid out again for it.
    void appendText(const QString& more);
    int textLength() const;

    int selStart() const;
    void setSelStart(int start);  // leaves an empty selection at start
    int selLength() const;
    void setSelLength(int length);
    QString selText() const;
    void setSelText(const QString& text);  // replaces the selection

    // Colour of the selection (of its first character), 0x00BBGGRR.
    std::uint32_t selColor() const;
    void setSelColor(std::uint32_t colour);
    void setSelFontName(const QString& family);
    void setSelFontSize(double points);
    double selFontSize() const;

    // Colours each [first, last) offset range of `ranges` (ascending, apart)
    // in `colour`. Every character of the ranges must have the format of the
    // first one, colour aside, as in a text coloured as a whole and marked
    // since: that format is worked out once, not merged range by range.
    void setRangesColor(const QList<std::pair<int, int>>& ranges, std::uint32_t colour);

    // The changes made between beginUpdate() and endUpdate() are laid out
    // once, at the end. QTextEdit lays out every block after a changed one
    // again on each change, so a long text would otherwise be laid out several
    // times by one action. The selection moves only at the end too: the
    // widget's cursor is set once, to where the update left it. Calls may
    // nest.
    //
    // The view never follows the selection the program sets: the text in
    // view stays where it was through an update (what was at the top of the
    // view is drawn there again, whatever changed above it), a change of
    // focus or a click. A new text (setText) is shown from its start.
    void beginUpdate();
    void endUpdate();
    // Keeps an update open for as long as it lives.
    class Update {
    public:
        explicit Update(RichTextBox& box)
            : box_(box)
        {
            box_.beginUpdate();
        }
        ~Update() { box_.endUpdate(); }
        Update(const Update&) = delete;
        Update& operator=(const Update&) = delete;

    private:
        RichTextBox& box_;
    };

    // Changes made to the box while one of these lives are not laid out as
    // they are made: when it ends, the box lays its whole text out again like
    // a new text, what is in view at once and the rest in steps between other
    // events. For a change spread over a long text (marks from its start to its
    // end, a long text added to a log), which the box would otherwise lay out
    // whole before it could answer again. See LayoutScheduler.
    class LayoutAnew {
    public:
        explicit LayoutAnew(RichTextBox& box);
        ~LayoutAnew();
        LayoutAnew(const LayoutAnew&) = delete;
        LayoutAnew& operator=(const LayoutAnew&) = delete;

    private:
        RichTextBox& box_;
    };

    // While the layout is held, changes to the text are neither laid out nor
    // painted: for a box whose window is out of sight. Releasing lays the
    // text out anew and repaints the box; a resize of the box releases it
    // too. Holding or releasing twice does nothing.
    void holdLayout();
    void releaseLayout();
    bool layoutHeld() const;

    // While the box has no focus its selection is not drawn, so that the
    // colours of the selected words show; it is kept all the same.
    void setHideSelection(bool hide);

    // Never edited from the keyboard; the caret still follows clicks.
    void setLocked(bool locked);
    // Centres the paragraphs of the box.
    void setCentred();

    // Key filter: called before the box acts on a key press. Setting the key
    // code to 0 cancels the key. Enter and Return arrive as 13.
    std::function<void(int& keyCode, Qt::KeyboardModifiers shift)> onKeyDown;

    // Typed text, pasted or dropped text, all pass through this filter when set.
    std::function<QString(const QString&)> inputFilter;

signals:
    void clicked();
    // A key comes up: once per key struck, however long it was held (a held
    // key's release is told a moment after it comes, see HeldKeys).
    void keyReleased(int keyCode, Qt::KeyboardModifiers shift);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The selection the program works on: the widget's own cursor, or the one
    // kept aside while the selection is hidden.
    QTextCursor selection() const;
    void applySelection(const QTextCursor& cursor);
    void setCursorKeepingView(const QTextCursor& cursor);
    void showCaretOnly(const QTextCursor& cursor);
    void hideSelectionNow();
    void showSelection();
    QTextCharFormat formatAt(int position) const;

    // The character at the top of the view and the height its line starts
    // at, taken when an update begins; the update puts it back there.
    void anchorView();
    void restoreAnchoredView();
    // Where the line holding `position` starts, down from the document's top.
    int lineTop(int position) const;

    // Text that needs no OpenType shaping (no combining marks, joiners or
    // characters beyond the Basic Multilingual Plane) is drawn straight from
    // the font's character map, which lays a text out in about half the time;
    // text that needs shaping gets it. `added` is the text coming in; `whole`
    // when it is all the box will hold.
    void chooseShaping(QStringView added, bool whole);
    bool shapes() const;
    void setShaping(bool on);

    bool hideSelection_ = false;
    bool selectionHidden_ = false;
    QTextCursor hidden_;
    // Open updates, and the selection they work on until the last one ends.
    int updates_ = 0;
    QTextCursor updating_;
    QTextCursor viewAnchor_;
    int viewAnchorTop_ = 0;
    bool pressed_ = false;
    LayoutScheduler* layout_ = nullptr;
    HeldKeys heldKeys_;
};

int keyCodeOf(const QKeyEvent* event);
