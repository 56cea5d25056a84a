// The help view: the correct text with the words still wrong marked.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form1.h"

#include <QTextCursor>

void Form1::Command1_Click()
{
    PlayCue(QStringLiteral("ayuda"));
    if (!ui->RichTextBox1->isHidden()) {
        ui->RichTextBox1->hide();
        ui->RichTextBox2->show();
        // Each remaining error is marked at its own word position: word k of
        // the shown text starts after its k-th space (and the line feed that
        // may follow it), so one pass over the text finds every start.
        RichTextBox& help = *ui->RichTextBox2;
        const QString text = help.text();
        // Marks left by an earlier press go first: a word corrected since
        // then is no longer an error.
        QTextCursor all(help.document());
        all.select(QTextCursor::Document);
        QTextCharFormat white;
        white.setForeground(vbcolor::toQColor(vbcolor::White));
        all.mergeCharFormat(white);
        const QStringList& correct = List2.words();
        QTextCharFormat yellow;
        yellow.setForeground(vbcolor::toQColor(vbcolor::Yellow));
        QTextCursor cursor(help.document());
        qsizetype start = 0;
        for (qsizetype k = 0; k < correct.size() && start < text.size(); ++k) {
            const QString& word = correct.at(k);
            if (word != List3.entry(k) && !word.isEmpty()) {
                cursor.setPosition(int(start));
                cursor.setPosition(int(start + word.size()), QTextCursor::KeepAnchor);
                cursor.mergeCharFormat(yellow);
            }
            start += word.size() + 1;
            if (start < text.size() && text.at(start) == u'\n')
                ++start;
        }
    } else {
        ui->RichTextBox1->show();
        ui->RichTextBox2->hide();
    }
}
