// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/heldkeys.h"

#include <QTimer>
#include <QWidget>

#include <utility>

HeldKeys::HeldKeys(QWidget* owner, std::function<void(int, Qt::KeyboardModifiers)> keyUp)
    : keyUp_(std::move(keyUp))
    , settle_(new QTimer(owner))
{
    settle_->setSingleShot(true);
    settle_->setInterval(SettleMs);
    QObject::connect(settle_, &QTimer::timeout, owner, [this] { flush(); });
}

bool HeldKeys::pending() const
{
    return settle_->isActive();
}

void HeldKeys::pressed(int key, bool autoRepeat, quint64 time)
{
    if (pending()) {
        if (key == downKey_) {
            // The release was one of a held key's repeats.
            settle_->stop();
            return;
        }
        // Another key: the one held came up before it.
        flush();
    }
    if (autoRepeat || (down_ && key == downKey_))
        return;
    downKey_ = key;
    down_ = true;
    downSince_ = time;
}

void HeldKeys::released(int key, int code, Qt::KeyboardModifiers modifiers, bool autoRepeat, quint64 time)
{
    if (autoRepeat)
        return;
    if (down_ && key == downKey_ && time >= downSince_ + HeldMs) {
        if (pending())
            flush();
        code_ = code;
        modifiers_ = modifiers;
        settle_->start();
        return;
    }
    if (key == downKey_)
        down_ = false;
    keyUp_(code, modifiers);
}

void HeldKeys::flush()
{
    settle_->stop();
    down_ = false;
    keyUp_(code_, modifiers_);
}
