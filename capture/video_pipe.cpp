// capture/video_pipe.cpp — starting ffmpeg, feeding it frames, and waiting for it to finish.
#include "capture/video_pipe.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kQueuedFrames = 3;

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
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

bool ProgramOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    const std::string dirs = path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

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
    if (child > 0) Close(ignored);
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
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int ends[2];
    if (::pipe(ends) != 0) {
        error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
        return false;
    }
    ::fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    child = ::fork();
    if (child < 0) {
        error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    if (child == 0) {
        ::setpgid(0, 0);
        ::dup2(ends[0], 0);
        ::close(ends[0]);
        ::execvp("ffmpeg", argv.data());
        std::fprintf(stderr, "undertow: cannot run ffmpeg: %s\n", std::strerror(errno));
        ::_exit(127);
    }
    ::close(ends[0]);
    fd = ends[1];
    ::signal(SIGPIPE, SIG_IGN);   // a failed encoder shows as a failed write, not a dead demo
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
        const bool ok = WriteAll(fd, frame.data(), frame.size());
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
    if (child <= 0) return false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
    }
    changed.notify_all();
    if (writer.joinable()) writer.join();
    ::close(fd);
    fd = -1;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    child = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !broken) return true;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        error = "ffmpeg could not be run";
    } else if (WIFEXITED(status)) {
        error = "ffmpeg failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    } else {
        error = "ffmpeg was stopped by a signal";
    }
    return false;
}
