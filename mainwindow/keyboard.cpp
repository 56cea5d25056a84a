// SPDX-License-Identifier: GPL-3.0-or-later
// Working without a mouse: picking a word from the keyboard, going back from
// the correction box, showing a picture from the list of corrected words, and
// the text size from the keys and the wheel.

#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "ui_form1.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace {

// Enter, Return or Space, with no modifier but the keypad's.
bool isPickKey(const QKeyEvent* key)
{
    if (key->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier))
        return false;
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
}

// One turn of a mouse wheel's notch, in eighths of a degree.
constexpr int WheelNotch = 120;

}  // namespace

bool Form1::keyboardEvent(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Wheel
        && (watched == ui->RichTextBox1->viewport() || watched == ui->RichTextBox2->viewport())) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        // A notch is a step; a finer wheel or a touchpad adds up to one.
        wheelTurn_ += wheel->angleDelta().y();
        const int steps = wheelTurn_ / WheelNotch;
        wheelTurn_ -= steps * WheelNotch;
        if (steps != 0)
            changeTextSize(steps);
        return true;
    }

    // A key held while the focus left picks nothing when it comes up
    // somewhere else.
    if (watched == ui->RichTextBox1 && type == QEvent::FocusOut)
        pickKey_ = 0;

    if (watched == ui->RichTextBox1 && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!isPickKey(key))
            return false;
        // The word is picked when the key comes up, as a click picks it when
        // the button does: the release then never reaches the correction box,
        // which would judge it.
        if (type == QEvent::KeyPress) {
            if (!key->isAutoRepeat())
                pickKey_ = key->key();
        } else if (!key->isAutoRepeat() && pickKey_ == key->key()) {
            pickKey_ = 0;
            RichTextBox1_Click();
        }
        return true;
    }

    if (watched == ui->List4 && type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!isPickKey(key) || key->isAutoRepeat())
            return false;
        if (ui->List4->currentItem())
            List4_Click();
        return true;
    }
    return false;
}
