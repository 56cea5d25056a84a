// SPDX-License-Identifier: GPL-3.0-or-later
// The size of the exercise text: the pupil's steps, the sizes that follow the
// normal one, and the user's settings that keep the choice.

#include "library/settings.h"
#include "library/textsize.h"
#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "ui_form1.h"

#include <QFontMetricsF>
#include <QLoggingCategory>
#include <QTextBlock>

#include <cmath>

Q_LOGGING_CATEGORY(lcTextSize, "miravellon.textsize")

double Form1::rememberedTextSize()
{
    bool number = false;
    const double stored = settings::value(settings::TextSize).toDouble(&number);
    return number ? textsize::usable(stored) : textsize::DesignNormal;
}

void Form1::changeTextSize(int steps)
{
    const double normal = steps == 0 ? textsize::DesignNormal : textsize::stepped(textSizes_.normal, steps);
    if (normal != textSizes_.normal) {
        qCInfo(lcTextSize) << "normal size" << textSizes_.normal << "->" << normal;
        applyTextSize(normal);
    }
    settings::setValue(settings::TextSize, normal);
}

void Form1::applyTextSize(double normal)
{
    const textsize::Sizes from = textSizes_;
    textSizes_ = textsize::sizesFor(normal);
    TextFontSize = int(std::lround((textSizes_.previouslyPicked + textSizes_.picked) / 2));
    resizeExerciseText(from);

    QFont help = ui->RichTextBox2->font();
    help.setPointSizeF(textsize::scaled(textsize::DesignNormal, normal));
    ui->RichTextBox2->setFont(help);
    QFont correction = ui->RichTextBox3->font();
    correction.setPointSizeF(textsize::correctionSize(normal, correctionBoxRoom()));
    ui->RichTextBox3->setFont(correction);
}

void Form1::resizeExerciseText(const textsize::Sizes& from)
{
    RichTextBox& box = *ui->RichTextBox1;
    // An empty box and the line ends take the box's own font.
    QFont font = box.font();
    font.setPointSizeF(textSizes_.normal);
    box.setFont(font);

    // Stretches of one new size, each taken over the line ends between its
    // blocks, so that a text with few picked words is a few stretches.
    struct Stretch {
        int start;
        int end;
        double points;
    };
    QList<Stretch> stretches;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.hasProperty(QTextFormat::FontPointSize))
                continue;
            const double points = textsize::counterpart(format.fontPointSize(), from, textSizes_);
            const int start = fragment.position();
            const int end = start + fragment.length();
            if (!stretches.isEmpty() && stretches.last().points == points
                && (stretches.last().end == start || (stretches.last().end == start - 1 && start == block.position())))
                stretches.last().end = end;
            else
                stretches.append({start, end, points});
        }
    }
    if (stretches.isEmpty())
        return;

    const int selStart = box.selStart();
    const int selLength = box.selLength();
    const RichTextBox::Update update(box);
    for (const Stretch& stretch : stretches) {
        box.setSelStart(stretch.start);
        box.setSelLength(stretch.end - stretch.start);
        box.setSelFontSize(stretch.points);
    }
    box.setSelStart(selStart);
    box.setSelLength(selLength);
}

double Form1::correctionBoxRoom() const
{
    const RichTextBox& box = *ui->RichTextBox3;
    const double room = box.height() - 2 * box.frameWidth() - 2 * box.document()->documentMargin();
    QFont font = box.font();
    const auto lineHeight = [&font, &box](double points) {
        font.setPointSizeF(points);
        return QFontMetricsF(font, &box).height();
    };
    const double designLine = lineHeight(textsize::DesignCorrection);
    if (designLine <= 0 || room <= 0)
        return textsize::DesignCorrection;
    // In proportion first, then down in half points: the line height grows a
    // little unevenly with the size.
    double points = std::floor(2 * textsize::DesignCorrection * room / designLine) / 2;
    while (points > textsize::DesignCorrection && lineHeight(points) > room)
        points -= 0.5;
    return points;
}
