// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/results.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QTableWidget;

// A pupil's progress week by week as small grouped bars: texts finished,
// words corrected and words failed in each week.
class WeeklyChart : public QWidget {
    Q_OBJECT

public:
    explicit WeeklyChart(QWidget* parent = nullptr);
    void setWeeks(const QList<results::Week>& weeks);
    // What each week says, oldest first: "Semana del 09/03/2026: 2 terminados, 5 corregidas, 1 con fallo".
    QStringList labels() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<results::Week> weeks_;
};

// One pupil over time: her texts day by day with what she wrote for each
// failed word, her failures by family, and her weekly progress.
class PupilView : public QDialog {
    Q_OBJECT

public:
    // `rows` are hers, through the view's filter, by date and time.
    PupilView(const QString& pupil, const QList<results::Row>& rows, QWidget* parent = nullptr);
    QString pupil() const { return pupil_; }

private:
    QString pupil_;
};
