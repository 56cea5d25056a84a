// The help view: the correct text with the words still wrong marked.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form1.h"

#include <algorithm>
#include <iterator>
#include <utility>

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
        const QStringList& correct = List2.words();
        QList<std::pair<int, int>> wrong;  // [first, last) offsets in the text
        qsizetype start = 0;
        for (qsizetype k = 0; k < correct.size() && start < text.size(); ++k) {
            const QString& word = correct.at(k);
            if (word != List3.entry(k) && !word.isEmpty())
                wrong.append({int(start), int(start + word.size())});
            start += word.size() + 1;
            if (start < text.size() && text.at(start) == u'\n')
                ++start;
        }
        // Only the marks that change are touched: a word corrected since an
        // earlier press turns white again, a word still wrong keeps its mark.
        // Marks spread over the whole text are laid out as a new text (in
        // view at once, the rest in steps); laid out as they were made, the
        // box had to lay out everything from the first to the last before it
        // could show anything.
        if (wrong != helpMarks_) {
            QList<std::pair<int, int>> cleared;
            std::set_difference(helpMarks_.cbegin(), helpMarks_.cend(), wrong.cbegin(), wrong.cend(),
                                std::back_inserter(cleared));
            QList<std::pair<int, int>> added;
            std::set_difference(wrong.cbegin(), wrong.cend(), helpMarks_.cbegin(), helpMarks_.cend(),
                                std::back_inserter(added));
            const RichTextBox::LayoutAnew later(help);
            help.setRangesColor(cleared, vbcolor::White);
            help.setRangesColor(added, vbcolor::Yellow);
            helpMarks_ = std::move(wrong);
        }
    } else {
        ui->RichTextBox1->show();
        ui->RichTextBox2->hide();
    }
}
