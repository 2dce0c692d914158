// app/playback.h — what a live run adds around the frames: the player's keys, the paused
// picture, the time line, --loop and the pace of --max-fps.
#pragma once

#include <cstdint>
#include <vector>

#include "app/options.h"
#include "capture/run_control.h"
#include "platform/window.h"
#include "player/player.h"

class Playback {
public:
    Playback(const Options& options, RunControl& run);
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Acts on `message` (with what came with it) when it is one of the player's keys or taps in
    // a live run; false otherwise.
    bool Take(platform::WindowMessage message, const platform::MessageDetail& detail = {});
    // True while paused with no frame step asked for: the loop draws no frame this time round.
    // Keeps the paused picture on screen and sets `resumeAt` (wall-clock seconds) a little
    // later, for the loop to wait until then.
    bool Holding(double& resumeAt);
    // After each frame: holds a pause over a seek's first frame. Returns the wall-clock time
    // before which the next frame may not begin, to keep to --max-fps (0: at once).
    double AfterFrame();
    // At the end of the timeline: with --loop, starts the demo again from 0 and returns true.
    bool LoopBack();
    // At the end of the timeline of a live run that stays open (in a page): holds the last
    // picture until a seek plays on, and returns true; false where the run is to end.
    bool HoldEnd();
    // What the run is doing after this step, for the system around the program.
    void ReportState() const;

    // Before each swap (the overlay hook's work): keeps the picture a pause is to hold, and
    // draws the time line when it is shown.
    void DrawOverlay();

private:
    void Pause();
    void Resume();
    void Seek(double seconds);
    void Step();
    void KeepPausedPicture();
    void ShowPausedPicture();

    const Options& options;
    RunControl& run;
    Player player;
    bool live;
    bool pausing = false;         // Space was pressed: the next frame is the one held
    bool stepping = false;        // one frame is to be drawn while paused
    bool seeking = false;         // a seek's target frame has not been shown yet
    double nextFrameAt = 0.0;     // wall-clock seconds before which no frame is drawn
    double pictureShownAt = 0.0;  // when the paused picture was last put on screen
    std::vector<std::uint8_t> pausedPicture;   // RGB, bottom row first
    int pausedWidth = 0;
    int pausedHeight = 0;
    int passes = 0;               // times the timeline began again (--loop)
};

// The player's view of this run's timeline: the scenes' start times and the end.
PlayerTimeline DemoTimeline(int fps);
