// Turning a click in the exercise text into a picked word.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form1.h"

void Form1::RichTextBox1_Click()
{
    RichTextBox& box = *ui->RichTextBox1;
    const QString text = box.text();
    const int length = int(text.size());
    // An empty box (after a refused item) holds no word to pick.
    if (length < 2)
        return;

    int caret = box.selStart();
    // A caret before the final line feed or at the very end picks the last word.
    if (caret + 1 >= length)
        caret = length - 2;

    // The changes to the text below are laid out once, at endUpdate().
    box.beginUpdate();

    // The word picked before shrinks back, with the space after it, when it
    // was picked in this text: a pick from before the load marks no word of
    // it.
    if (pickValid_) {
        box.setSelStart(PickedWordStart);
        box.setSelLength(spanLength_ + 1);
        box.setSelFontSize(TextFontSize - 4);
    }

    box.setSelStart(caret);
    int start = 0;
    if (caret > 0 && text.at(caret - 1) != u' ') {
        for (int i = caret - 1; i >= 0; --i) {
            if (text.at(i) == u'\n' || text.at(i) == u' ') {
                start = i + 1;
                break;
            }
        }
    } else if (caret > 0) {
        start = caret;
        // Between a line's closing space and its line feed: the word meant is
        // the first one of the next line.
        if (text.at(start) == u'\n')
            ++start;
    }
    const qsizetype space = text.indexOf(u' ', start);
    const int wordLength = int(space < 0 ? length - start : space - start);
    box.setSelStart(start);
    box.setSelLength(wordLength);

    WordCounter = int(QStringView(text).sliced(start).count(u' '));

    box.setSelFontSize(TextFontSize + 4);
    PickedWordStart = start;
    PickedWordLength = box.selLength();
    PickedWord = box.selText();
    spanLength_ = PickedWordLength;
    pickValid_ = true;

    ui->RichTextBox3->setText(PickedWord);
    ui->RichTextBox3->setCentred();
    ui->RichTextBox3->moveCursor(QTextCursor::End);

    const std::uint32_t colour = box.selColor();
    if (colour != vbcolor::Blue && colour != vbcolor::Red)
        box.setSelColor(vbcolor::Green);
    box.endUpdate();
    if (colour == vbcolor::Blue)
        return;
    ui->RichTextBox3->setFocus();
}
