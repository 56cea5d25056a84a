#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class Form4;
}
class QAction;
class QMenu;
class QPrinter;
class RichTextBox;

// The results log window, laid over the main window's exercise text. A click
// or any key in it brings the main window back.
class Form4 : public QWidget {
    Q_OBJECT

public:
    Form4(const QWidget* exerciseText, std::function<void()> showMainWindow, QWidget* parent = nullptr);
    ~Form4() override;

    void Form_Load();
    void RichTextBox1_Click();
    void RichTextBox1_KeyDown(int& keyCode, Qt::KeyboardModifiers shift);

    // Shows the window modeless and brings it to the front.
    void showModeless();

    // The results log.
    RichTextBox* RichTextBox1() const;

    // The log can be kept: its context menu (a right click or the menu key)
    // and the shortcuts Ctrl+C, Ctrl+S and Ctrl+P copy it all, save it as
    // plain UTF-8 text and print it.
    QMenu* logMenu() const { return logMenu_; }
    void copyAll();
    bool saveAs();
    bool printLog();
    // Replaced by the tests, so that no dialog opens: the file to save to
    // (empty when the user cancels), the printer set up by the user (false
    // when cancelled), and a message to the user.
    std::function<QString()> chooseSaveFile;
    std::function<bool(QPrinter&)> choosePrinter;
    std::function<void(const QString&)> messageBox;

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::Form4> ui;
    const QWidget* exerciseText_;
    std::function<void()> showMainWindow_;
    QMenu* logMenu_ = nullptr;
};
