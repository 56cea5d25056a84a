// The help view: the correct text with the words still wrong marked.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form1.h"

#include <QTimer>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// Each mark is a separate format change of about a microsecond, and the text
// is laid out again after them. Up to this many changes are made at once
// (every shipped text has far fewer words); more, as a text of thousands of
// words with every word wrong, are made in slices between other events.
constexpr qsizetype ManyMarks = 2000;
// Changes made in one slice, the first of them at once: far more words than
// the view holds, made in about a millisecond and laid out anew in about as
// much again.
constexpr qsizetype MarkSlice = 1500;

}  // namespace

// The changes are made in the order of position. Marks laid out anew put the
// view back at the start of the text, so the first slice, made at once, holds
// the marks in view; the rest follow from helpSlices_, one slice a turn of the
// event loop, each laid out anew in turn.
void Form1::markInSlices(RichTextBox& help, const QList<std::pair<int, int>>& cleared,
                         const QList<std::pair<int, int>>& added)
{
    QList<HelpMarkChange> changes;
    changes.reserve(cleared.size() + added.size());
    auto c = cleared.cbegin();
    auto a = added.cbegin();
    while (c != cleared.cend() || a != added.cend()) {
        if (a == added.cend() || (c != cleared.cend() && *c < *a))
            changes.append({*c++, false});
        else
            changes.append({*a++, true});
    }
    helpPending_ = std::move(changes);
    helpMarksMade_ = 0;
    markHelpChanges(help, MarkSlice);
    helpSlices_->start();
}

void Form1::markHelpChanges(RichTextBox& help, qsizetype count)
{
    const qsizetype end = std::min(helpPending_.size(), helpMarksMade_ + count);
    QList<std::pair<int, int>> cleared;
    QList<std::pair<int, int>> added;
    for (qsizetype i = helpMarksMade_; i < end; ++i)
        (helpPending_.at(i).yellow ? added : cleared).append(helpPending_.at(i).range);
    {
        // Laid out as a new text: the marks of a slice spread over a long
        // stretch of text, which would otherwise be laid out at once. (Made
        // into a laid-out text instead, a slice lays out the text up to its
        // last mark, a step three times as long, and Qt then left the text's
        // empty last line without a layout.)
        const RichTextBox::LayoutAnew later(help);
        help.setRangesColor(cleared, vbcolor::White);
        help.setRangesColor(added, vbcolor::Yellow);
    }
    helpMarksMade_ = end;
}

void Form1::markHelpSlice()
{
    markHelpChanges(*ui->RichTextBox2, MarkSlice);
    if (helpMarksMade_ >= helpPending_.size())
        stopHelpMarking();
}

void Form1::stopHelpMarking()
{
    helpSlices_->stop();
    if (helpPending_.isEmpty())
        return;
    QList<std::pair<int, int>> cleared;
    QList<std::pair<int, int>> added;
    for (qsizetype i = 0; i < helpMarksMade_; ++i)
        (helpPending_.at(i).yellow ? added : cleared).append(helpPending_.at(i).range);
    QList<std::pair<int, int>> kept;
    std::set_difference(helpMarks_.cbegin(), helpMarks_.cend(), cleared.cbegin(), cleared.cend(),
                        std::back_inserter(kept));
    QList<std::pair<int, int>> marks;
    std::set_union(kept.cbegin(), kept.cend(), added.cbegin(), added.cend(), std::back_inserter(marks));
    helpMarks_ = std::move(marks);
    helpPending_.clear();
    helpMarksMade_ = 0;
}

void Form1::Command1_Click()
{
    PlayCue(QStringLiteral("ayuda"));
    // Marks still left for later stop where they are, in either direction:
    // going back, the exercise text may change before the next press, which
    // works out the marks again from those made.
    stopHelpMarking();
    if (!ui->RichTextBox1->isHidden()) {
        attempt_.openHelp();
        ui->RichTextBox1->hide();
        // The marks are made before the help view is shown: after a load the
        // view has a resize still to come, and showing it first laid the
        // text out once for the resize and again for the marks.
        RichTextBox& help = *ui->RichTextBox2;
        QList<std::pair<int, int>> wrong = item_.remainingErrors();
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
            if (cleared.size() + added.size() <= ManyMarks) {
                const RichTextBox::LayoutAnew later(help);
                help.setRangesColor(cleared, vbcolor::White);
                help.setRangesColor(added, vbcolor::Yellow);
                helpMarks_ = std::move(wrong);
            } else {
                markInSlices(help, cleared, added);
            }
        }
        help.show();
    } else {
        ui->RichTextBox1->show();
        ui->RichTextBox2->hide();
    }
}
