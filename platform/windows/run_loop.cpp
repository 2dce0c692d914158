// platform/windows/run_loop.cpp — the program drives its own loop, sleeping where a step asks.
#include "platform/run_loop.h"

#include <chrono>
#include <thread>

#include "platform/tick.h"

namespace platform {

int RunLoop(LoopStep step, std::function<int()> finish) {
    for (;;) {
        double resumeAt = 0.0;
        if (step(resumeAt) == StepEnd::Finished) return finish();
        const double wait = resumeAt - WallSeconds();
        if (wait > 0.0) std::this_thread::sleep_for(std::chrono::duration<double>(wait));
    }
}

bool RunStaysOpen() { return false; }

}  // namespace platform
