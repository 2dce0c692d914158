// capture/video_pipe.h — an ffmpeg process that turns raw frames and the music into a video file.
//
// Frames go through a pipe to the encoder from a thread of their own, a few frames ahead, so
// the demo renders the next frame while the last one is written. ffmpeg runs in its own
// process group: a Ctrl-C meant for the demo does not cut the video short; the demo ends the
// recording by closing the pipe, and ffmpeg finishes the file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/child_process.h"

// The x264 preset of a recording: at the same quality setting as "veryfast" it scores as well
// or better (SSIM and PSNR against a lossless capture) for about half the encoder's time, which
// the renderer shares two cores with; the files come out about a quarter larger.
constexpr const char* kX264Preset = "superfast";

struct VideoSettings {
    std::string path;          // the video file
    int fps = 60;
    long maxFrames = 0;        // the planned length (bounds the sound); 0: open-ended
    std::string musicPath;     // empty: no sound
    double musicStart = 0.0;   // seconds into the music of the first frame
    std::string preset = kX264Preset;
    int crf = 18;              // H.264 quality, 0 (best) to 51
    bool lossless = false;     // FFV1 in a .mkv file, otherwise libx264rgb at QP 0
};

// The ffmpeg output arguments that turn RGB frames into 4:2:0 video: converted with the BT.709
// matrix into limited range, and tagged with the same, so that players convert back alike.
std::vector<std::string> Yuv420Arguments();

// The ffmpeg arguments for `settings`, reading BGRA frames of width x height, bottom row first
// already turned upright, from standard input.
std::vector<std::string> VideoEncoderArguments(const VideoSettings& settings, int width, int height);

class VideoPipe {
public:
    VideoPipe() = default;
    ~VideoPipe();
    VideoPipe(const VideoPipe&) = delete;
    VideoPipe& operator=(const VideoPipe&) = delete;

    // Starts the encoder; false with a reason when ffmpeg is missing or cannot be started.
    bool Open(const VideoSettings& settings, int width, int height, std::string& error);
    // Queues one frame (BGRA, bottom row first); false once the encoder has stopped taking them.
    bool Write(const std::uint8_t* bgraBottomUp);
    // Sends the end of the input and waits for the encoder; false with a reason when it failed.
    bool Close(std::string& error);

    long FramesWritten() const { return framesWritten; }

private:
    void WriterLoop();

    int width = 0, height = 0;
    std::size_t frameBytes = 0;
    platform::ChildProcess child;
    long framesWritten = 0;
    std::thread writer;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<std::uint8_t>> queue;   // frames waiting for the pipe
    std::vector<std::vector<std::uint8_t>> spare;  // written frames' buffers, for reuse
    bool closing = false;
    bool broken = false;
};

// True when `name` is an executable file in one of the PATH folders.
bool ProgramOnPath(const char* name);
