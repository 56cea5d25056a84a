// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The variables every window of the program shares, alive for the whole run.
struct ProgramState {
    // Number written after "TEXTO " in the results log for the next finished
    // text.
    int TextCounter = 1;
    // The countdown for the current text has run out.
    bool TimeUp = false;
    // Full path of the picture the picture window shows next.
    QString WordPicturePath;
    // The picture window has finished its first load.
    bool Form3Loaded = false;
};
