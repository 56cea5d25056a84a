#pragma once

#include <QTextEdit>

#include <cstdint>
#include <functional>

// The rich-text box the windows are made of: a QTextEdit addressed by
// character offsets into the string that text() returns (each line feed is one
// character), with a selection whose colour, font and size the program sets.
class RichTextBox : public QTextEdit {
    Q_OBJECT

public:
    explicit RichTextBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    // The same as setText(text() + more), laying out only what is added: a
    // log that keeps growing would otherwise be laid out anew every time.
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

    // The changes made between beginUpdate() and endUpdate() are laid out
    // once, at the end. QTextEdit lays out every block after a changed one
    // again on each change, so a long text would otherwise be laid out several
    // times by one action. Calls may nest.
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
    void keyReleased(int keyCode, Qt::KeyboardModifiers shift);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The selection the program works on: the widget's own cursor, or the one
    // kept aside while the selection is hidden.
    QTextCursor selection() const;
    void applySelection(const QTextCursor& cursor);
    void showCaretOnly(const QTextCursor& cursor);
    void hideSelectionNow();
    void showSelection();

    bool hideSelection_ = false;
    bool selectionHidden_ = false;
    QTextCursor hidden_;
    QTextCharFormat formatAt(int position) const;
    bool pressed_ = false;
};

int keyCodeOf(const QKeyEvent* event);
