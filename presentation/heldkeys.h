// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <Qt>

#include <functional>

class QTimer;
class QWidget;

// Tells a key struck from a key held. A held key repeats pairs of release and
// press, which the window system does not always mark as repeated (on X11 the
// mark depends on both events having been read together). So a release that
// comes after the key has been down for a while is passed on only once no
// press of the same key follows it at once; a key struck and let go at
// typing speed is passed on at its release.
class HeldKeys {
public:
    // `keyUp` is called once per key struck, with the code and modifiers
    // given at its release.
    HeldKeys(QWidget* owner, std::function<void(int code, Qt::KeyboardModifiers modifiers)> keyUp);

    // A key is down longer than this before a repeat can come; measured by
    // the events' own times, so that a busy program does not make a key
    // struck look held.
    static constexpr int HeldMs = 100;
    // A repeated press comes this soon after the release it pairs with.
    static constexpr int SettleMs = 60;

    // `time` is the event's time stamp, in milliseconds.
    void pressed(int key, bool autoRepeat, quint64 time);
    void released(int key, int code, Qt::KeyboardModifiers modifiers, bool autoRepeat, quint64 time);
    // A release waits to be passed on.
    bool pending() const;

private:
    void flush();

    std::function<void(int, Qt::KeyboardModifiers)> keyUp_;
    QTimer* settle_;
    // The key last pressed, while it is down, and since when.
    int downKey_ = 0;
    bool down_ = false;
    quint64 downSince_ = 0;
    // The release waiting to be passed on.
    int code_ = 0;
    Qt::KeyboardModifiers modifiers_;
};
