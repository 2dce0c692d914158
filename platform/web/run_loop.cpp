// platform/web/run_loop.cpp — the browser drives the loop: the steps run in its animation frames,
// and it shows a picture only when a frame's steps have handed control back.
#include "platform/run_loop.h"

#include <emscripten.h>

#include <utility>

#include "platform/tick.h"

namespace platform {
namespace {

// The longest stretch of steps in one animation frame: unseen frames before a start time run
// many to a frame, but the page stays responsive.
constexpr double kTurnSeconds = 0.05;
// A step due this little after the frame begins runs in it: frames come at the display's
// rate with some jitter, and a step asked for at the next frame's time must not miss it.
constexpr double kEarlySeconds = 0.004;

LoopStep loopStep;
std::function<int()> loopFinish;
double resumeAt = 0.0;

void Turn() {
    const double turnEnds = WallSeconds() + kTurnSeconds;
    for (;;) {
        const double now = WallSeconds();
        if (resumeAt - now > kEarlySeconds || now > turnEnds) return;
        resumeAt = 0.0;
        const StepEnd end = loopStep(resumeAt);
        if (end == StepEnd::Finished) {
            emscripten_cancel_main_loop();
            // Ends the runtime: the page's Module.onExit learns the exit code.
            emscripten_force_exit(loopFinish());
            return;
        }
        if (end == StepEnd::Yield) return;
    }
}

}  // namespace

int RunLoop(LoopStep step, std::function<int()> finish) {
    loopStep = std::move(step);
    loopFinish = std::move(finish);
    // Never returns: the browser calls Turn once per animation frame from here on.
    emscripten_set_main_loop(Turn, 0, 1);
    return 0;
}

bool RunStaysOpen() { return true; }

}  // namespace platform
