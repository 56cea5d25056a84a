// The help view: the correct text with the words still wrong marked.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form1.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
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
        using Range = std::pair<int, int>;  // [first, last) offsets in the text
        QList<Range> wrong;
        qsizetype start = 0;
        for (qsizetype k = 0; k < correct.size() && start < text.size(); ++k) {
            const QString& word = correct.at(k);
            if (word != List3.entry(k) && !word.isEmpty())
                wrong.append({int(start), int(start + word.size())});
            start += word.size() + 1;
            if (start < text.size() && text.at(start) == u'\n')
                ++start;
        }
        // The marks an earlier press left: a word corrected since then is no
        // longer an error and turns white again.
        const QColor yellowColour = vbcolor::toQColor(vbcolor::Yellow);
        QList<Range> marked;
        for (QTextBlock block = help.document()->begin(); block.isValid(); block = block.next()) {
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.charFormat().foreground().color() == yellowColour)
                    marked.append({fragment.position(), fragment.position() + fragment.length()});
            }
        }
        // Only the characters whose colour changes are touched, all in one
        // edit block: every change makes the box lay its text out again from
        // there, so changing each word apart made the cost grow with the
        // square of the text's length, and recolouring the whole text made
        // every press cost a full layout.
        QTextCharFormat white;
        white.setForeground(vbcolor::toQColor(vbcolor::White));
        QTextCharFormat yellow;
        yellow.setForeground(yellowColour);
        QTextCursor cursor(help.document());
        auto colour = [&cursor](const Range& range, const QTextCharFormat& format) {
            cursor.setPosition(range.first);
            cursor.setPosition(range.second, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(format);
        };
        cursor.beginEditBlock();
        for (const Range& range : std::as_const(marked)) {
            if (!std::binary_search(wrong.cbegin(), wrong.cend(), range))
                colour(range, white);
        }
        for (const Range& range : std::as_const(wrong)) {
            if (!std::binary_search(marked.cbegin(), marked.cend(), range))
                colour(range, yellow);
        }
        cursor.endEditBlock();
    } else {
        ui->RichTextBox1->show();
        ui->RichTextBox2->hide();
    }
}
