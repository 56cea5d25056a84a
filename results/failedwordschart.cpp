// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/failedwordschart.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int BarHeight = 22;
constexpr int Gap = 6;
constexpr int TitleHeight = 28;

QString labelOf(const results::FailedWord& word)
{
    return word.families.isEmpty()
        ? word.word
        : word.word + QStringLiteral(" (") + word.families.join(QStringLiteral(", ")) + u')';
}

}  // namespace

FailedWordsChart::FailedWordsChart(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Palabras con más fallos"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void FailedWordsChart::setWords(const QList<results::FailedWord>& words)
{
    words_ = words;
    setAccessibleDescription(labels().join(QStringLiteral("; ")));
    updateGeometry();
    update();
}

QStringList FailedWordsChart::labels() const
{
    QStringList list;
    for (const results::FailedWord& word : words_)
        list.append(labelOf(word) + QStringLiteral(": ") + QString::number(word.count));
    return list;
}

QSize FailedWordsChart::sizeHint() const
{
    return {480, TitleHeight + int(std::max<qsizetype>(words_.size(), 1)) * (BarHeight + Gap) + Gap};
}

QSize FailedWordsChart::minimumSizeHint() const
{
    return {240, TitleHeight + BarHeight + 2 * Gap};
}

void FailedWordsChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(QRect(Gap, 0, width() - 2 * Gap, TitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Palabras con más fallos de la clase"));
    painter.setFont(font());
    if (words_.isEmpty()) {
        painter.drawText(QRect(Gap, TitleHeight, width() - 2 * Gap, BarHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Ninguna palabra con fallos en esta selección"));
        return;
    }
    const QFontMetrics metrics(font());
    int labelWidth = 0;
    for (const results::FailedWord& word : words_)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(labelOf(word)));
    labelWidth = std::min(labelWidth + Gap, width() / 2);
    const int countWidth = metrics.horizontalAdvance(QStringLiteral("0000")) + Gap;
    const qint64 most = std::max<qint64>(1, words_.first().count);
    const int barSpace = std::max(1, width() - labelWidth - countWidth - 3 * Gap);
    int y = TitleHeight;
    for (const results::FailedWord& word : words_) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(Gap, y, labelWidth, BarHeight), Qt::AlignRight | Qt::AlignVCenter,
                         metrics.elidedText(labelOf(word), Qt::ElideRight, labelWidth));
        const int length = int(std::max<qint64>(2, qint64(double(barSpace) * double(word.count) / double(most))));
        const QRect bar(labelWidth + 2 * Gap, y + 3, length, BarHeight - 6);
        painter.fillRect(bar, QColor(200, 40, 40));
        painter.drawText(QRect(bar.right() + Gap, y, countWidth, BarHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(word.count));
        y += BarHeight + Gap;
    }
}
