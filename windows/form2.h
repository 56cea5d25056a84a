// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class Form2;
}
class ClickableLabel;

// The splash window: the program's artwork, centred, until it is clicked.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    // Sizes the window to its framed picture and centres it on the screen.
    void Form_Load();
    // Hands over to the main window.
    void Picture1_Click();

    ClickableLabel* Picture1() const;

    // Shows the main window, creating it (and running its start-up) first.
    std::function<void()> showMainWindow;

private:
    std::unique_ptr<Ui::Form2> ui;
};
