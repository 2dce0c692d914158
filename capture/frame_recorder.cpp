// capture/frame_recorder.cpp — where the recorded frames go: the encoder pipe or PNG files.
#include "capture/frame_recorder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/png_writer.h"
#include "platform/child_process.h"
#include "platform/folders.h"

namespace {

// The folder and every missing one above it.
bool MakeFolders(const std::string& path) {
    for (std::size_t i = 1; i < path.size(); ++i) {
        // "C:" is a drive, not a folder to make.
        if (platform::IsPathSeparator(path[i]) && path[i - 1] != ':' && !platform::IsPathSeparator(path[i - 1]))
            platform::MakeFolder(path.substr(0, i));
    }
    return platform::MakeFolder(path);
}

bool EndsWith(const std::string& text, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    if (text.size() < length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[text.size() - length + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != suffix[i]) return false;
    }
    return true;
}

}  // namespace

bool IsVideoFileName(const std::string& path) {
    for (const char* extension : {".mp4", ".m4v", ".mov", ".mkv"})
        if (EndsWith(path, extension) && path.size() > std::strlen(extension) && path[path.size() - std::strlen(extension) - 1] != '/')
            return true;
    return false;
}

bool FrameRecorder::Begin(const RecordingPlan& recordingPlan, std::string& error) {
    plan = recordingPlan;
    if (IsVideoFileName(plan.target)) {
        const std::size_t slash = plan.target.rfind('/');
        if (slash != std::string::npos && slash > 0 && !MakeFolders(plan.target.substr(0, slash))) {
            error = "cannot create the folder of " + plan.target + " (" + std::strerror(errno) + ")";
            return false;
        }
        VideoSettings settings;
        settings.path = plan.target;
        settings.fps = plan.fps;
        settings.maxFrames = plan.frames;
        settings.musicPath = plan.musicPath;
        settings.musicStart = static_cast<double>(plan.firstFrame) / plan.fps;
        settings.crf = plan.crf;
        settings.lossless = plan.lossless;
        if (const char* preset = std::getenv("UNDERTOW_X264_PRESET")) settings.preset = preset;
        video = std::make_unique<VideoPipe>();
        if (!video->Open(settings, plan.width, plan.height, error)) {
            video.reset();
            return false;
        }
        return true;
    }
    if (!MakeFolders(plan.target)) {
        error = "cannot create the capture folder " + plan.target + " (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

bool FrameRecorder::WritePicture(const std::uint8_t* bgraBottomUp) {
    if (video) {
        if (!video->Write(bgraBottomUp)) return false;
    } else {
        char name[40];
        std::snprintf(name, sizeof name, "/frame_%06ld.png", plan.firstFrame + framesWritten);
        if (!WritePNGFromBGRA(plan.target + name, plan.width, plan.height, bgraBottomUp)) {
            std::fprintf(stderr, "undertow: cannot write %s%s\n", plan.target.c_str(), name);
            return false;
        }
    }
    ++framesWritten;
    return true;
}

bool FrameRecorder::EndStep() {
    const std::uint8_t* picture = readback.EndStep();
    return !picture || WritePicture(picture);
}

std::string FrameRecorder::Finish(std::string& error) {
    if (finished) {
        error = "the recording was already finished";
        return {};
    }
    finished = true;
    const std::uint8_t* last = readback.Finish();
    bool ok = !last || WritePicture(last);
    if (video) {
        std::string closeError;
        const bool closed = video->Close(closeError);
        if (!ok || !closed) {
            error = closed ? "ffmpeg stopped taking frames" : closeError;
            std::remove(plan.target.c_str());   // whatever ffmpeg left is not the recording
            return {};
        }
        if (framesWritten == 0) {
            error = "no frames were recorded";
            std::remove(plan.target.c_str());
            return {};
        }
        return plan.target;
    }
    if (!ok) {
        error = "a frame could not be written";
        return {};
    }
    return MakeVideoFromFrames(error);
}

std::string FrameRecorder::MakeVideoFromFrames(std::string& error) const {
    if (framesWritten == 0) {
        error = "no frames were recorded";
        return {};
    }
    if (!ProgramOnPath("ffmpeg")) {
        error = "ffmpeg is not installed; the frames are in " + plan.target;
        return {};
    }
    const std::string videoPath = plan.target + "/undertow.mp4";
    const std::string fps = std::to_string(plan.fps);
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-framerate", fps,
                                     "-start_number", std::to_string(plan.firstFrame),
                                     "-i", plan.target + "/frame_%06d.png"};
    if (!plan.musicPath.empty()) {
        char start[32];
        std::snprintf(start, sizeof start, "%.6f", static_cast<double>(plan.firstFrame) / plan.fps);
        args.insert(args.end(), {"-ss", start, "-i", plan.musicPath, "-map", "0:v", "-map", "1:a", "-c:a", "aac",
                                 "-b:a", "192k", "-shortest"});
    }
    if (plan.lossless) {
        args.insert(args.end(), {"-c:v", "libx264rgb", "-preset", kX264Preset, "-qp", "0", "-pix_fmt", "bgr0"});
    } else {
        args.insert(args.end(), {"-c:v", "libx264", "-preset", kX264Preset, "-crf", std::to_string(plan.crf)});
        const std::vector<std::string> colour = Yuv420Arguments();
        args.insert(args.end(), colour.begin(), colour.end());
    }
    args.insert(args.end(), {"-movflags", "+faststart", videoPath});
    platform::ChildProcess child;
    platform::ChildExit how;
    std::string startError;
    bool ended = platform::StartChild(args, false, child, startError);
    if (ended) {
        while (!platform::WaitForChild(child, 1000, how)) {
        }
    }
    if (!ended || !how.exited || how.code != 0) {
        error = "ffmpeg could not make the video; the frames are in " + plan.target;
        return {};
    }
    return videoPath;
}
