// capture/video_pipe.cpp — starting ffmpeg, feeding it frames, and waiting for it to finish.
#include "capture/video_pipe.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kQueuedFrames = 3;
constexpr int kWaitStepMs = 1000;   // the encoder may take its time; each wait is bounded

bool WriteAll(platform::ChildProcess& child, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const long written = platform::WriteToChild(child, data, size, kWaitStepMs);
        if (written < 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string Seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

}  // namespace

bool ProgramOnPath(const char* name) { return platform::ProgramOnPath(name); }

std::vector<std::string> Yuv420Arguments() {
    return {"-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-pix_fmt", "yuv420p",
            "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv"};
}

std::vector<std::string> VideoEncoderArguments(const VideoSettings& settings, int width, int height) {
    const std::string fps = std::to_string(settings.fps);
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                     "-f", "rawvideo", "-pix_fmt", "bgra",
                                     "-s", std::to_string(width) + "x" + std::to_string(height),
                                     "-framerate", fps, "-i", "pipe:0"};
    const bool sound = !settings.musicPath.empty();
    if (sound) {
        if (settings.musicStart > 0) args.insert(args.end(), {"-ss", Seconds(settings.musicStart)});
        args.insert(args.end(), {"-i", settings.musicPath});
    }
    args.insert(args.end(), {"-map", "0:v"});
    if (sound) args.insert(args.end(), {"-map", "1:a", "-c:a", "aac", "-b:a", "192k"});
    const std::size_t dot = settings.path.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : settings.path.substr(dot);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (settings.lossless && extension == ".mkv")
        args.insert(args.end(), {"-c:v", "ffv1", "-level", "3", "-pix_fmt", "bgr0"});
    else if (settings.lossless)
        args.insert(args.end(), {"-c:v", "libx264rgb", "-preset", settings.preset, "-qp", "0", "-pix_fmt", "bgr0"});
    else {
        args.insert(args.end(), {"-c:v", "libx264", "-preset", settings.preset, "-crf", std::to_string(settings.crf)});
        const std::vector<std::string> colour = Yuv420Arguments();
        args.insert(args.end(), colour.begin(), colour.end());
    }
    if (extension != ".mkv") args.insert(args.end(), {"-movflags", "+faststart"});
    args.insert(args.end(), {"-r", fps});
    if (settings.maxFrames > 0) args.insert(args.end(), {"-t", Seconds(static_cast<double>(settings.maxFrames) / settings.fps)});
    if (sound) args.emplace_back("-shortest");   // a recording stopped early keeps sound and picture together
    args.push_back(settings.path);
    return args;
}

VideoPipe::~VideoPipe() {
    std::string ignored;
    if (child.id != -1) Close(ignored);
}

bool VideoPipe::Open(const VideoSettings& settings, int frameWidth, int frameHeight, std::string& error) {
    if (!ProgramOnPath("ffmpeg")) {
        error = "ffmpeg is not installed (it is needed to record " + settings.path + ")";
        return false;
    }
    width = frameWidth;
    height = frameHeight;
    frameBytes = static_cast<std::size_t>(width) * height * 4;
    const std::vector<std::string> args = VideoEncoderArguments(settings, width, height);
    if (!platform::StartChild(args, true, child, error)) return false;
    writer = std::thread(&VideoPipe::WriterLoop, this);
    return true;
}

bool VideoPipe::Write(const std::uint8_t* bgraBottomUp) {
    std::vector<std::uint8_t> frame;
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return broken || queue.size() < kQueuedFrames; });
        if (broken) return false;
        if (!spare.empty()) {
            frame = std::move(spare.back());
            spare.pop_back();
        }
    }
    frame.resize(frameBytes);
    // GL rows come bottom first; a video's top first.
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(frame.data() + static_cast<std::size_t>(y) * row,
                    bgraBottomUp + static_cast<std::size_t>(height - 1 - y) * row, row);
    {
        std::lock_guard<std::mutex> lock(mutex);
        queue.push_back(std::move(frame));
    }
    changed.notify_all();
    ++framesWritten;
    return true;
}

void VideoPipe::WriterLoop() {
    for (;;) {
        std::vector<std::uint8_t> frame;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return closing || !queue.empty(); });
            if (queue.empty()) return;
            frame = std::move(queue.front());
            queue.pop_front();
        }
        const bool ok = WriteAll(child, frame.data(), frame.size());
        {
            std::lock_guard<std::mutex> lock(mutex);
            spare.push_back(std::move(frame));
            if (!ok) {
                broken = true;
                queue.clear();
            }
        }
        changed.notify_all();
        if (!ok) return;
    }
}

bool VideoPipe::Close(std::string& error) {
    if (child.id == -1) return false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
    }
    changed.notify_all();
    if (writer.joinable()) writer.join();
    platform::CloseChildInput(child);
    platform::ChildExit how;
    while (!platform::WaitForChild(child, kWaitStepMs, how)) {
    }
    if (how.exited && how.code == 0 && !broken) return true;
    if (how.exited && how.code == 127) {
        error = "ffmpeg could not be run";
    } else if (how.exited) {
        error = "ffmpeg failed (exit status " + std::to_string(how.code) + ")";
    } else {
        error = "ffmpeg was stopped by a signal";
    }
    return false;
}
