// platform/run_loop.h — who drives the main loop: the program itself, or the browser, which
// shows a picture only once the program has handed control back to it.
#pragma once

#include <functional>

namespace platform {

// How a step of the main loop ended.
enum class StepEnd {
    GoOn,      // the next step may follow at once
    Yield,     // a picture went to the screen, or the run is holding: the browser's turn
    Finished,  // the run is over
};

// A step of the main loop. It may set `resumeAt` (wall-clock seconds, as WallSeconds) to the
// time before which the next step may not begin; it is 0 on entry.
using LoopStep = std::function<StepEnd(double& resumeAt)>;

// Runs `step` until it says Finished, then returns what `finish` returns (the exit code). A
// native loop sleeps until each `resumeAt`. In the browser the steps run in the page's
// animation frames, as many in a row as end GoOn within a few hundredths of a second; there
// the program ends with the exit code when `finish` has run, and this never returns.
int RunLoop(LoopStep step, std::function<int()> finish);

// Whether a live run outlives the end of its timeline and Escape. Where the program runs inside
// a page (the browser), the reader closes the page, not the program: the last picture stays
// until a seek plays the timeline again, and Escape is the browser's (it leaves full screen).
bool RunStaysOpen();

}  // namespace platform
