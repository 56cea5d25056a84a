// SPDX-License-Identifier: GPL-3.0-or-later
// The help view: the correct text with the words still wrong marked.

#include "mainwindow/form1.h"
#include "presentation/rangemarks.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form1.h"

void Form1::Command1_Click()
{
    PlayCue(QStringLiteral("ayuda"));
    // Marks still left for later stop where they are, in either direction:
    // going back, the exercise text may change before the next press, which
    // works out the marks again from those made.
    helpMarks_->stop();
    if (!ui->RichTextBox1->isHidden()) {
        attempt_.openHelp();
        ui->RichTextBox1->hide();
        // The marks are made before the help view is shown: after a load the
        // view has a resize still to come, and shown first it would lay the
        // text out once for the resize and again for the marks. A word
        // corrected since an earlier press turns white again, a word still
        // wrong keeps its mark.
        helpMarks_->mark(item_.remainingErrors());
        ui->RichTextBox2->show();
    } else {
        ui->RichTextBox1->show();
        ui->RichTextBox2->hide();
    }
}
