// capture/frame_recorder.h — records the demo at a fixed frame rate: straight into a video file
// through ffmpeg, or as numbered PNG frames followed by a video made from them. A video is
// written under a temporary name and takes its place only when it is complete.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capture/encoder_process.h"
#include "capture/file_replacement.h"
#include "capture/frame_readback.h"
#include "capture/video_pipe.h"

struct RecordingPlan {
    std::string target;       // a video file (see IsVideoFileName) or a folder for PNG frames
    int fps = 60;
    long firstFrame = 0;      // index of the first recorded frame in a whole run
    long frames = 0;          // frames planned; 0: as many as come
    std::string musicPath;    // empty: no sound
    int width = 640;          // the recorded picture: the internal picture, without bars
    int height = 480;
    int crf = 18;             // H.264 quality
    bool lossless = false;
};

// How a recording ended.
struct RecordingOutcome {
    bool ok = false;          // everything asked for was written
    std::string video;        // the finished video; empty when none was made
    std::string problem;      // why the recording failed, or why no video was made
    bool framesKept = false;  // a folder holds every frame of the run
};

// True when `path` ends in an extension of a video container (.mp4, .m4v, .mov, .mkv).
bool IsVideoFileName(const std::string& path);

class FrameRecorder {
public:
    // Creates the folder or starts the encoder; false with a message when it cannot.
    // `stopAsked` is asked while the recording waits on the encoder.
    bool Begin(const RecordingPlan& plan, const StopAsked& stopAsked, std::string& error);
    // With the GL context current, before the first grab.
    void StartReadback() { readback.Begin(plan.width, plan.height); }
    // Keeps the finished picture of the back buffer (call just before a swap).
    void Grab() { readback.Grab(); }
    // Ends a recorded step: writes the picture of the step before. False when writing failed.
    bool EndStep();
    // Writes the last picture and finishes the output (the video from the frames, in folder
    // mode). For a folder the frames stay even when no video could be made. `stopping`: the
    // user asked the run to stop, so a hung encoder is waited for only briefly.
    RecordingOutcome Finish(bool stopping);
    // Frees the read-back buffers (with the context still current).
    void EndReadback() { readback.End(); }

    bool IsVideo() const { return video != nullptr; }
    long FramesWritten() const { return framesWritten; }
    const RecordingPlan& Plan() const { return plan; }

private:
    bool WritePicture(const std::uint8_t* bgraBottomUp);
    RecordingOutcome FinishVideo(bool picturesWritten, bool stopping);
    RecordingOutcome MakeVideoFromFrames(bool stopping);

    RecordingPlan plan;
    StopAsked stopAsked;
    FrameReadback readback;
    FileReplacement output;              // declared before `video`: the encoder ends first
    std::unique_ptr<VideoPipe> video;
    long framesWritten = 0;
    std::string writeFailure;   // the first picture that could not be written
    bool finished = false;
};

// The ffmpeg arguments that make `videoPath` from the `frames` PNG frames of `plan` in its folder.
std::vector<std::string> FramesToVideoArguments(const RecordingPlan& plan, long frames, const std::string& videoPath);
