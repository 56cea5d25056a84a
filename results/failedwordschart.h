// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/results.h"

#include <QWidget>

// The words most often failed, as horizontal bars: the word with its spelling
// families, a bar as long as its count, and the count.
class FailedWordsChart : public QWidget {
    Q_OBJECT

public:
    explicit FailedWordsChart(QWidget* parent = nullptr);

    void setWords(const QList<results::FailedWord>& words);
    // What each bar says, top to bottom: "vaca (b/v): 3".
    QStringList labels() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<results::FailedWord> words_;
};
