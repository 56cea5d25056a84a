// SPDX-License-Identifier: GPL-3.0-or-later
// Judging the typed correction on every key release, and closing a finished
// text into the results log.

#include "library/contentrules.h"
#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "ui_form1.h"
#include "windows/form4.h"
#include "windows/programstate.h"

#include <QTimer>

#include <cmath>
#include <limits>

void Form1::richtextbox3_KeyUp(int, Qt::KeyboardModifiers)
{
    // Nothing of the text shown has been picked: typing changes nothing.
    if (!pickValid_)
        return;

    RichTextBox& correction = *ui->RichTextBox3;
    const QString inBox = correction.text();
    const QString typed = ExerciseItem::mended(inBox);
    if (typed != inBox) {
        correction.setText(typed);
        correction.setCentred();
        correction.moveCursor(QTextCursor::End);
    }

    // The span is the picked word as it stands now in the exercise text; any
    // other selection left there is not touched.
    RichTextBox& text = *ui->RichTextBox1;
    // The new text and colour of the word are laid out once, when this ends.
    const RichTextBox::Update update(text);
    text.setSelStart(PickedWordStart);
    text.setSelLength(spanLength_);
    text.setSelText(typed);
    text.setSelStart(PickedWordStart);
    text.setSelLength(int(typed.size()));
    spanLength_ = int(typed.size());

    const Judgement judgement = item_.correct(WordCounter, PickedWord, typed);
    recordJudgement(item_.positionOf(WordCounter), judgement, typed);
    if (judgement == Judgement::Unchanged) {
        text.setSelColor(vbcolor::Black);
        return;
    }
    if (judgement == Judgement::Wrong) {
        text.setSelColor(vbcolor::Red);
        return;
    }

    text.setSelColor(vbcolor::Blue);
    PlayCue(QStringLiteral("acierto"));
    // The typed form is the correct word now.
    if (!typed.isEmpty() && ui->List4->findItems(typed, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
        // The word's picture is looked for first in the root of the exercise
        // it was corrected in.
        auto* corrected = new QListWidgetItem(typed);
        corrected->setData(Qt::UserRole, ExerciseRoot);
        ui->List4->addItem(corrected);
    }

    const bool complete = item_.complete();

    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const int animation = std::min(content::RewardAnimations, int(std::floor(uniform(random_) * content::RewardAnimations)) + 1);
    ui->Zarandel2->setGifFile(content::rewardAnimationPath(AppFolder, animation));
    ui->Zarandel2->show();

    if (complete && completionArmed_)
        CompleteItem();
}

void Form1::CompleteItem()
{
    // Each loaded item is logged once; loading an item again re-arms it.
    completionArmed_ = false;
    // The block is added to the end of the log in one piece, so that only the
    // block is laid out, not the whole log again (three times).
    QString block = QStringLiteral("TEXTO ") + QString::number(state_.TextCounter) + QStringLiteral("\n\n")
        + ui->RichTextBox2->text() + u'\n';
    QString cue;
    if (!state_.TimeUp) {
        block += QStringLiteral("** Terminado en el plazo de tiempo previsto **\n\n");
        cue = QStringLiteral("muybien");
    } else {
        block += QStringLiteral("** Tiempo agotado **\n\n");
        cue = QStringLiteral("bien");
    }
    resultsWindow().appendBlock(block);
    PlayCue(cue);
    if (state_.TextCounter < std::numeric_limits<int>::max())
        ++state_.TextCounter;
    ui->Zarandel1->hide();
    Timer1->stop();
    recordRow(true);
}

void Form1::Command6_Click()
{
    PlayCue(QStringLiteral("resultados"));
    resultsWindow().showModeless();
}
