// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class Form4;
}
class Prompts;
class QAction;
class QMenu;
class RichTextBox;

// The results log window, laid over the main window's exercise text. A click
// or any key in it brings the main window back.
//
// While the main window is in front and covers it wholly, the pupil cannot
// see the log: a block added then is written into the log at once but laid
// out and painted only when the log may be seen again (the results button,
// the log activated some other way, or the main window minimized, hidden,
// moved or resized off it).
class Form4 : public QWidget {
    Q_OBJECT

public:
    // `exerciseText` is the main window's exercise text, which the window
    // lies over.
    Form4(QWidget* exerciseText, std::function<void()> showMainWindow, QWidget* parent = nullptr);
    ~Form4() override;

    void Form_Load();
    void RichTextBox1_Click();
    void RichTextBox1_KeyDown(int& keyCode, Qt::KeyboardModifiers shift);

    // Shows the window modeless and brings it to the front.
    void showModeless();

    // Adds a finished text's block to the end of the log.
    void appendBlock(const QString& block);

    // The results log.
    RichTextBox* RichTextBox1() const;

    // The log can be kept: its context menu (a right click or the menu key)
    // and the shortcuts Ctrl+C, Ctrl+S and Ctrl+P copy it all, save it as
    // plain UTF-8 text and print it.
    QMenu* logMenu() const { return logMenu_; }
    void copyAll();
    bool saveAs();
    bool printLog();
    // What asks for the file and the printer and says what went wrong; the
    // real dialogs unless set.
    void setPrompts(Prompts& prompts) { prompts_ = &prompts; }

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The main window is in front and covers this one wholly.
    bool outOfSight() const;

    std::unique_ptr<Ui::Form4> ui;
    QWidget* exerciseText_;
    std::function<void()> showMainWindow_;
    QMenu* logMenu_ = nullptr;
    Prompts* prompts_;
};
