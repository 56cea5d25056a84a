// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The start-up probe: one process started the way the program starts (splash,
// a click at once, the main window on a content tree of 71 exercises), timed
// until the main window is laid out and painted; then the 32767-word item is
// loaded and worked on, and the process's peak memory is read.

#include <QElapsedTimer>
#include <QString>

namespace probe {

// Prints its figures on standard output, one "name value" a line. When the
// environment holds MIRAVELLON_LAUNCH_US (microseconds since the epoch, taken
// by the shell just before it started this process), the start-up is also
// counted from there.
int run(int& argc, char** argv, const QString& appFolder, const QElapsedTimer& sinceMain);

}  // namespace probe
