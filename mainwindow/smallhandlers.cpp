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

void Form1::RichTextBox1_KeyDown(int& keyCode, Qt::KeyboardModifiers)
{
    keyCode = 0;
}

void Form1::RichTextBox3_KeyDown(int& keyCode, Qt::KeyboardModifiers)
{
    if (keyCode == 13)
        keyCode = 0;
}
