#pragma once

// What the benchmarks and the probe do to a main window beyond the test
// helpers: let it finish its layout and painting, and click a text offset.

#include <functional>

class RichTextBox;
class MainWindowHarness;

namespace window {

// Lays out the whole document of `box` now. QTextEdit lays a new document out
// in steps from a timer; the pupil waits for those steps all the same, so a
// load is measured until the last one is done.
void layOutFully(RichTextBox* box);

// Handles what the last action left pending: deferred deletions, the rest of
// any text layout left for later, and the repaint of what changed (offscreen,
// into the window's backing store).
void settle();

// Runs one measured action and then settle(), and returns the processor time
// the whole process spent on it (the painting uses a pool of threads). Every
// timed action of the benchmarks goes through here, so that a profiler can be
// told to count this function alone (valgrind --toggle-collect='window::act*').
double act(const std::function<void()>& action);

// A pupil's click in the exercise text with the caret landing at `offset`,
// which must be in view.
void clickText(MainWindowHarness& harness, int offset);

// Peak and current resident memory of this process, in KiB (VmHWM, VmRSS).
long peakMemoryKiB();
long currentMemoryKiB();

}  // namespace window
