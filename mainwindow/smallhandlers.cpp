// SPDX-License-Identifier: GPL-3.0-or-later
// The font chooser, the exit button, the list of corrected words and the key
// filters of the two text boxes.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "ui_form1.h"

void Form1::Combo1_Click()
{
    RichTextBox& text = *ui->RichTextBox1;
    text.setSelStart(0);
    text.setSelLength(text.textLength());
    text.setSelFontName(ui->Combo1->currentText());
}

void Form1::Command4_Click()
{
    leaveText();
    if (services_.quit)
        services_.quit();
}

void Form1::List4_Click()
{
    ShowWordPicture();
}

void Form1::RichTextBox1_KeyDown(int& keyCode, Qt::KeyboardModifiers shift)
{
    // Only the keys that move the caret, alone or with Control (a word, or
    // the whole text, at a time), do anything; Shift would select.
    switch (keyCode) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!(shift & ~Qt::KeyboardModifiers(Qt::ControlModifier | Qt::KeypadModifier)))
            return;
        break;
    default: break;
    }
    keyCode = keycode::None;
}

void Form1::RichTextBox3_KeyDown(int& keyCode, Qt::KeyboardModifiers)
{
    if (keyCode == keycode::Enter)
        keyCode = keycode::None;
    if (keyCode == keycode::Escape) {
        // Back to the exercise text, with the caret at the start of the
        // picked word, to go on from there.
        keyCode = keycode::None;
        if (ui->RichTextBox1->isHidden())
            return;
        if (pickValid_)
            ui->RichTextBox1->setSelStart(PickedWordStart);
        ui->RichTextBox1->setFocus();
    }
}
