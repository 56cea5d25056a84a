#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class Form4;
}
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

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::Form4> ui;
    const QWidget* exerciseText_;
    std::function<void()> showMainWindow_;
};
