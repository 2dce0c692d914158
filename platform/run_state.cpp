// platform/run_state.cpp — the run's phase and time, as last reported.
#include "platform/run_state.h"

namespace platform {
namespace {

RunPhase phase = RunPhase::Loading;
double seconds = 0.0;

}  // namespace

void SetRunState(RunPhase newPhase, double demoSeconds) {
    phase = newPhase;
    seconds = demoSeconds;
}

RunPhase CurrentRunPhase() { return phase; }

double CurrentRunSeconds() { return seconds; }

}  // namespace platform
