// platform/run_state.h — what the run is doing, kept where the system around the program can
// read it: the browser's page shows its buttons by it (elsewhere nothing reads it).
#pragma once

namespace platform {

// The numbers are what the page's scripts see.
enum class RunPhase {
    Loading = 0,      // the loading screen, or before it
    CatchingUp = 1,   // playing the timeline unseen up to a start or a seek
    Playing = 2,
    Paused = 3,       // a picture is held
    Ended = 4,        // the timeline has ended and the last picture stays (a run that stays open)
};

// The phase and the demo time of the picture shown.
void SetRunState(RunPhase phase, double demoSeconds);
RunPhase CurrentRunPhase();
double CurrentRunSeconds();

}  // namespace platform
