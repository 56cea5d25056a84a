// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class Form3;
}
class ClickableLabel;
struct ProgramState;

// The picture viewer: the picture of a corrected word, in a borderless window
// of the picture's size, centred on the screen.
class Form3 : public QWidget {
    Q_OBJECT

public:
    Form3(ProgramState& state, std::function<void()> showMainWindow, QWidget* parent = nullptr);
    ~Form3() override;

    void Form_Load();
    void Form_Activate();
    void Picture1_Click();

    // Shows the window modeless and brings it to the front.
    void showModeless();

    ClickableLabel* Picture1() const;

protected:
    void changeEvent(QEvent* event) override;
    // Escape or Enter goes back as a click on the picture does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placePicture();

    std::unique_ptr<Ui::Form3> ui;
    ProgramState& state_;
    std::function<void()> showMainWindow_;
};
