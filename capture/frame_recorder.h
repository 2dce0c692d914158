// capture/frame_recorder.h — records the demo at a fixed frame rate: straight into a video file
// through ffmpeg, or as numbered PNG frames followed by a video made from them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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

// True when `path` ends in an extension of a video container (.mp4, .m4v, .mov, .mkv).
bool IsVideoFileName(const std::string& path);

class FrameRecorder {
public:
    // Creates the folder or starts the encoder; false with a message when it cannot.
    bool Begin(const RecordingPlan& plan, std::string& error);
    // With the GL context current, before the first grab.
    void StartReadback() { readback.Begin(plan.width, plan.height); }
    // Keeps the finished picture of the back buffer (call just before a swap).
    void Grab() { readback.Grab(); }
    // Ends a recorded step: writes the picture of the step before. False when writing failed.
    bool EndStep();
    // Writes the last picture and finishes the output (the video from the frames, in folder
    // mode). Returns the video's path, or empty with a reason in `error`. For a folder the
    // frames stay even when no video could be made (`framesKept`).
    std::string Finish(std::string& error);
    // Frees the read-back buffers (with the context still current).
    void EndReadback() { readback.End(); }

    bool IsVideo() const { return video != nullptr; }
    long FramesWritten() const { return framesWritten; }
    bool FramesKept() const { return !IsVideo() && framesWritten > 0; }
    const RecordingPlan& Plan() const { return plan; }

private:
    bool WritePicture(const std::uint8_t* bgraBottomUp);
    std::string MakeVideoFromFrames(std::string& error) const;

    RecordingPlan plan;
    FrameReadback readback;
    std::unique_ptr<VideoPipe> video;
    long framesWritten = 0;
    bool finished = false;
};
