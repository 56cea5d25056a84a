// SPDX-License-Identifier: GPL-3.0-or-later
// The pace buttons, the runner that crosses the screen as a countdown, and the
// end of a reward animation.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "ui_form1.h"
#include "windows/programstate.h"

#include <QTimer>

void Form1::Command5_Click(int index)
{
    PlayCue(QStringLiteral("rapido"));
    const std::array pace{ui->Command5_0, ui->Command5_1, ui->Command5_2, ui->Command5_3};
    for (int i = 0; i < int(pace.size()); ++i)
        vbcolor::setBackground(pace[i], i == index ? vbcolor::Green : vbcolor::Yellow);
    Timer1->setInterval(design::SlowestPaceMs - design::PaceStepMs * index);
}

void Form1::Timer1_Timer()
{
    CountdownLeft += design::RunnerStepTwips;
    twips::setLeft(ui->Zarandel1, CountdownLeft);
    const float rightEdge = float(twips::left(ui->RichTextBox1)) + float(twips::width(ui->RichTextBox1));
    if (rightEdge < float(CountdownLeft)) {
        ui->Command1->setEnabled(true);
        ui->Zarandel1->hide();
        state_.TimeUp = true;
        Timer1->stop();
    }
}

void Form1::Zarandel2_GifEnd()
{
    ui->Zarandel2->hide();
    ui->List4->viewport()->update();
}
