// capture/video_pipe.cpp — feeding the encoder frames from a thread, and waiting for it to finish.
#include "capture/video_pipe.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kQueuedFrames = 3;
constexpr int kSliceMs = 100;   // how often a wait looks at the time, the stop and the writer's end

std::string Seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

}  // namespace

std::vector<std::string> Yuv420Arguments() {
    return {"-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-pix_fmt", "yuv420p",
            "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv"};
}

std::vector<std::string> VideoEncoderArguments(const VideoSettings& settings, int width, int height) {
    const std::string fps = std::to_string(settings.fps);
    std::vector<std::string> args = {settings.program, "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
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
    if (open) Abandon("the recording was not finished");
}

bool VideoPipe::Open(const VideoSettings& settings, int frameWidth, int frameHeight, std::string& error) {
    if (!platform::ProgramOnPath(settings.program.c_str())) {
        error = settings.program + " is not installed (it is needed to record " + settings.path + ")";
        return false;
    }
    width = frameWidth;
    height = frameHeight;
    frameBytes = static_cast<std::size_t>(width) * height * 4;
    patience = settings.patience;
    if (!encoder.Start(VideoEncoderArguments(settings, width, height), true, settings.path, error)) return false;
    open = true;
    writer = std::thread(&VideoPipe::WriterLoop, this);
    return true;
}

bool VideoPipe::Write(const std::uint8_t* bgraBottomUp, const StopAsked& stopAsked) {
    std::vector<std::uint8_t> frame;
    {
        std::unique_lock<std::mutex> lock(mutex);
        bool stopping = false;
        while (!broken && !stopping && queue.size() >= kQueuedFrames) {
            if (changed.wait_for(lock, std::chrono::milliseconds(kSliceMs)) == std::cv_status::no_timeout) continue;
            lock.unlock();
            stopping = stopAsked && stopAsked();
            const bool hung = encoder.Stalled(patience.runningSeconds);
            lock.lock();
            if (hung && !stopping && !broken) {
                lock.unlock();
                Abandon(encoder.HungMessage(false, patience.runningSeconds));
                return false;
            }
        }
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

bool VideoPipe::WriteFrame(const std::vector<std::uint8_t>& frame) {
    std::size_t done = 0;
    while (done < frame.size()) {
        const long taken = encoder.Write(frame.data() + done, frame.size() - done, kSliceMs);
        if (taken < 0) return false;
        done += static_cast<std::size_t>(taken);
        if (taken == 0) {
            std::lock_guard<std::mutex> lock(mutex);
            if (abandoned) return false;
        }
    }
    return true;
}

void VideoPipe::WriterLoop() {
    for (;;) {
        std::vector<std::uint8_t> frame;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return closing || abandoned || !queue.empty(); });
            if (abandoned || queue.empty()) break;
            frame = std::move(queue.front());
            queue.pop_front();
        }
        const bool ok = WriteFrame(frame);
        {
            std::lock_guard<std::mutex> lock(mutex);
            spare.push_back(std::move(frame));
            if (!ok) {
                broken = true;
                queue.clear();
            }
        }
        changed.notify_all();
        if (!ok) break;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        writerDone = true;
    }
    changed.notify_all();
}

void VideoPipe::Abandon(const std::string& reason) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        abandoned = true;
        broken = true;
        if (failure.empty()) failure = reason;
    }
    changed.notify_all();
    // The writer looks at `abandoned` at least every slice, so this join is short.
    if (writer.joinable()) writer.join();
    encoder.Kill();
    open = false;
}

bool VideoPipe::Close(std::string& error, bool stopping, const StopAsked& stopAsked) {
    if (!open) {
        error = failure.empty() ? "the recording was already finished" : failure;
        return false;
    }
    std::unique_lock<std::mutex> lock(mutex);
    closing = true;
    changed.notify_all();
    while (!writerDone) {
        if (changed.wait_for(lock, std::chrono::milliseconds(kSliceMs)) == std::cv_status::no_timeout) continue;
        lock.unlock();
        if (!stopping && stopAsked && stopAsked()) stopping = true;
        const double seconds = patience.Seconds(stopping);
        const bool hung = encoder.Stalled(seconds);
        lock.lock();
        if (hung && !writerDone) {
            lock.unlock();
            Abandon(encoder.HungMessage(stopping, seconds));
            error = failure;
            return false;
        }
    }
    const bool tookAll = !broken;
    lock.unlock();
    writer.join();
    open = false;
    if (!encoder.Finish(stopping, stopAsked, patience, error)) return false;
    if (!tookAll) {
        error = encoder.Name() + " stopped taking frames";
        return false;
    }
    return true;
}
