// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a click in the exercise text into a picked word.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form1.h"

void Form1::RichTextBox1_Click()
{
    RichTextBox& box = *ui->RichTextBox1;
    const std::optional<WordSpan> word = ExerciseItem::wordAt(box.text(), box.selStart());
    // An empty box (after a refused item) holds no word to pick.
    if (!word)
        return;

    // The changes to the text below are laid out once, at endUpdate().
    box.beginUpdate();

    // The word picked before shrinks back, with the space after it, when it
    // was picked in this text: a pick from before the load marks no word of
    // it.
    if (pickValid_) {
        box.setSelStart(PickedWordStart);
        box.setSelLength(spanLength_ + 1);
        box.setSelFontSize(textSizes_.previouslyPicked);
    }

    box.setSelStart(word->start);
    box.setSelLength(word->length);
    WordCounter = word->wordCounter;

    box.setSelFontSize(textSizes_.picked);
    PickedWordStart = word->start;
    PickedWordLength = box.selLength();
    PickedWord = box.selText();
    spanLength_ = PickedWordLength;
    pickValid_ = true;
    recordPick(item_.positionOf(WordCounter));

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
