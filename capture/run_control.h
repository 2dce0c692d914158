// capture/run_control.h — where a run starts showing, and what it records from there.
//
// A run that starts later than 0 s still lives through every frame before its start, at the
// same time step, so every piece of per-frame state comes out as in a whole run; those frames
// are played with the drawing gate shut and never presented. (Scene three lets through the
// little its lens flare needs to read the depth under the sun.)
#pragma once

#include <functional>
#include <string>

#include "capture/frame_recorder.h"
#include "capture/recording_progress.h"

// What the command line asks of a run's showing and recording.
struct RunOptions {
    std::string captureDir;   // non-empty: a video file to record into, or a folder for PNG frames
    double startSeconds = 0;  // demo time at which showing (and recording) begins
    int fps = 60;             // steps per second of the virtual clock
    long frames = 0;          // stop after this many frames; 0: the whole timeline
    int crf = -1;             // recording quality; -1: the encoder's default
    bool lossless = false;    // record without loss
};

// The first frame of a whole run at `fps` whose time is at or after `seconds`.
long StartFrame(double seconds, int fps);
// Frames of a whole recording of `timelineSeconds` at `fps`.
long TimelineFrames(double timelineSeconds, int fps);

class RunControl {
public:
    // `onShowing` runs once, when a run with a later start has drawn its first shown frame on
    // the virtual clock, with the demo time of that frame (the shell starts the music and the
    // live clock there, so that frame is exactly the one a whole run shows). `stopAsked` says
    // whether the user wants the run to stop, while a recording waits on its encoder; the
    // request stays for the main loop to see.
    RunControl(const RunOptions& options, std::function<void(double)> onShowing, StopAsked stopAsked = {});

    // With the scenes added and the context current, before loading: plans the recording,
    // starts its output and its read-back. False with a message when the output cannot start.
    bool Begin(double timelineSeconds, const std::string& musicPath, std::string& error);
    // Before each Tick: leaves the unseen part at the start frame; until then the drawing gate
    // stays shut.
    void BeforeTick();
    // After each Tick: records and counts a shown frame. False when the run is over (the
    // planned frames are done, or the timeline ended: then the step drew nothing and is not a
    // frame) or the recording failed.
    bool AfterTick(double demoSeconds, bool timelineGoesOn);
    // Plays the timeline unseen again from its first frame up to `startSeconds`, as a run with
    // that start would (a seek of a live run, after the demo was rewound). The showing callback
    // runs again when the start is reached, also for a start of 0.
    void Restart(double startSeconds);
    // Whether this step's frame is shown (the start has been reached).
    bool Showing() const { return showing; }
    long FramesShown() const { return shown; }
    // Before shutdown, with the context current: finishes the recording and says where it is.
    // Returns false when a recording was asked for and failed (one line on stderr says why).
    bool Finish(double demoSeconds, bool stoppedEarly);

    bool Recording() const { return recording; }
    bool RecordingFailed() const { return failed; }

private:
    void StartShowing();

    RunOptions options;
    std::function<void(double)> onShowing;
    StopAsked stopAsked;
    bool recording = false;
    bool showing = true;
    bool showingBegan = false;   // the first shown frame is being drawn
    bool failed = false;
    long step = 0;          // frames of a whole run gone by
    long startFrame = 0;
    long plannedFrames = 0; // frames to record; 0: until the timeline ends
    long shown = 0;
    double catchUpStarted = 0;
    FrameRecorder recorder;
    RecordingProgress progress;
};
