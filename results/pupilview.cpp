// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/pupilview.h"

#include "results/classtables.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int Margin = 8;
constexpr int TitleHeight = 24;
constexpr int LegendHeight = 20;

struct Series {
    const char* name;
    QColor colour;
    qint64 results::Week::*value;
};

const Series AllSeries[] = {
    {"textos terminados", QColor(40, 90, 200), &results::Week::finished},
    {"palabras corregidas", QColor(40, 150, 60), &results::Week::corrected},
    {"palabras con fallo", QColor(200, 40, 40), &results::Week::failed},
};

QTableWidget* readOnlyTable(QWidget* parent, const QString& name)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

}  // namespace

WeeklyChart::WeeklyChart(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Progreso semana a semana"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMinimumHeight(160);
}

void WeeklyChart::setWeeks(const QList<results::Week>& weeks)
{
    weeks_ = weeks;
    setAccessibleDescription(labels().join(QStringLiteral("; ")));
    update();
}

QStringList WeeklyChart::labels() const
{
    QStringList list;
    for (const results::Week& week : weeks_) {
        list.append(QStringLiteral("Semana del %1: %2 terminados, %3 corregidas, %4 con fallo")
                        .arg(week.monday.toString(QStringLiteral("dd/MM/yyyy")))
                        .arg(week.finished)
                        .arg(week.corrected)
                        .arg(week.failed));
    }
    return list;
}

QSize WeeklyChart::sizeHint() const
{
    return {480, 200};
}

void WeeklyChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRect(Margin, 0, width() - 2 * Margin, TitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Progreso semana a semana"));
    painter.setFont(font());
    // The legend.
    int x = Margin;
    const QFontMetrics metrics(font());
    for (const Series& series : AllSeries) {
        painter.fillRect(QRect(x, TitleHeight + 5, 10, 10), series.colour);
        x += 14;
        const QString name = QString::fromUtf8(series.name);
        painter.drawText(QPoint(x, TitleHeight + 15), name);
        x += metrics.horizontalAdvance(name) + 2 * Margin;
    }
    const QRect area(Margin, TitleHeight + LegendHeight + Margin, width() - 2 * Margin,
                     height() - TitleHeight - LegendHeight - 2 * Margin - metrics.height());
    if (weeks_.isEmpty() || area.height() < 10) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Ningún texto en esta selección"));
        return;
    }
    qint64 most = 1;
    for (const results::Week& week : weeks_) {
        for (const Series& series : AllSeries)
            most = std::max(most, week.*series.value);
    }
    const int slot = std::max(1, area.width() / int(weeks_.size()));
    const int bar = std::max(1, (slot - Margin) / 3);
    for (int w = 0; w < int(weeks_.size()); ++w) {
        const int left = area.left() + w * slot;
        for (int s = 0; s < 3; ++s) {
            const qint64 value = weeks_.at(w).*AllSeries[s].value;
            const int h = int(double(area.height()) * double(value) / double(most));
            painter.fillRect(QRect(left + s * bar, area.bottom() - h, bar - 1, h), AllSeries[s].colour);
        }
        if (slot > metrics.horizontalAdvance(QStringLiteral("00/00 ")))
            painter.drawText(QRect(left, area.bottom() + 2, slot, metrics.height()), Qt::AlignLeft,
                             weeks_.at(w).monday.toString(QStringLiteral("dd/MM")));
    }
}

PupilView::PupilView(const QString& pupil, const QList<results::Row>& rows, QWidget* parent)
    : QDialog(parent)
    , pupil_(pupil)
{
    setObjectName(QStringLiteral("Alumno"));
    setWindowTitle(pupil + QStringLiteral(" · Resultados"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* name = new QLabel(this);
    name->setObjectName(QStringLiteral("Nombre"));
    name->setTextFormat(Qt::PlainText);
    name->setText(pupil);
    QFont big = name->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    name->setFont(big);

    auto* texts = readOnlyTable(this, QStringLiteral("Textos"));
    texts->setAccessibleName(QStringLiteral("Sus textos, día a día"));
    resultstables::fillTexts(texts, rows);

    auto* families = readOnlyTable(this, QStringLiteral("SusFamilias"));
    families->setAccessibleName(QStringLiteral("Sus fallos por familia"));
    resultstables::fillFamilyCounts(families, results::familyCounts(rows, {}));

    auto* chart = new WeeklyChart(this);
    chart->setObjectName(QStringLiteral("Progreso"));
    chart->setWeeks(results::weeklyProgress(rows));

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(families);
    lower->addWidget(chart);
    lower->setStretchFactor(1, 2);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(texts);
    split->addWidget(lower);
    split->setStretchFactor(0, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    resize(900, 600);
}
