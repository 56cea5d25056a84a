// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the benchmarks and the probe do to a main window beyond the test
// helpers: let it finish its layout and painting, time an action the way the
// pupil waits for it, and click a text offset.

#include <functional>

class RichTextBox;
class MainWindowHarness;

namespace window {

// Lays out the whole document of `box` now.
void layOutFully(RichTextBox* box);

// Handles what the last action left pending, all of it: deferred deletions,
// the repaint of what changed (offscreen, into the windows' backing stores),
// and every layout step Qt left for later. Used between timed actions, so that
// one action's leftovers never land in the next one's figure.
void settle();

// The cost of one action, in seconds.
//
// A text box given a new text (or a text laid out anew) lays out what is in
// view at once and the rest later, in steps run by a timer of its own between
// other events. The pupil waits for the action and its first frame; the steps
// after it hold the event loop only one at a time, so each step is how long a
// key or a click arriving during the background layout may wait.
struct Cost {
    double wall = 0;     // the action and its first frame: handler, posted events, layout of what is in view, repaint
    double cpu = 0;      // the same in processor time of the whole process
    double stepMax = 0;  // processor time of the largest background step that followed
    double rest = 0;     // processor time of all those steps together
    int steps = 0;       // how many there were
};

// Runs one action as the pupil waits for it, then runs the background steps
// to their end, one event-loop turn at a time. Every timed action of the
// benchmarks goes through here, so that a profiler can be told to count this
// function alone (valgrind --toggle-collect='window::act*').
Cost act(const std::function<void()>& action);

// A pupil's click in the exercise text with the caret landing at `offset`,
// which must be in view.
void clickText(MainWindowHarness& harness, int offset);

// Peak and current resident memory of this process, in KiB (VmHWM, VmRSS).
long peakMemoryKiB();
long currentMemoryKiB();

}  // namespace window
