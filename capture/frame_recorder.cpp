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

std::vector<std::string> FramesToVideoArguments(const RecordingPlan& plan, long frames, const std::string& videoPath) {
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                     "-framerate", std::to_string(plan.fps), "-start_number", std::to_string(plan.firstFrame),
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
    // Exactly this run's frames: numbered files from an earlier run may follow them in the folder.
    args.insert(args.end(), {"-frames:v", std::to_string(frames), "-movflags", "+faststart", videoPath});
    return args;
}

bool FrameRecorder::Begin(const RecordingPlan& recordingPlan, const StopAsked& stopCheck, std::string& error) {
    plan = recordingPlan;
    stopAsked = stopCheck;
    if (IsVideoFileName(plan.target)) {
        const std::size_t slash = plan.target.find_last_of("/\\");
        if (slash != std::string::npos && slash > 0 && !MakeFolders(plan.target.substr(0, slash))) {
            error = "cannot create the folder of " + plan.target + " (" + std::strerror(errno) + ")";
            return false;
        }
        VideoSettings settings;
        settings.path = output.Begin(plan.target);
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
            output.Discard();
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
    if (!writeFailure.empty()) return false;
    if (video) {
        if (!video->Write(bgraBottomUp, stopAsked)) {
            writeFailure = "ffmpeg stopped taking frames";
            return false;
        }
    } else {
        char name[40];
        std::snprintf(name, sizeof name, "/frame_%06ld.png", plan.firstFrame + framesWritten);
        errno = 0;
        if (!WritePNGFromBGRA(plan.target + name, plan.width, plan.height, bgraBottomUp)) {
            const int why = errno;
            writeFailure = "cannot write " + plan.target + name;
            if (why != 0) writeFailure += std::string(" (") + std::strerror(why) + ")";
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

RecordingOutcome FrameRecorder::Finish(bool stopping) {
    RecordingOutcome outcome;
    if (finished) {
        outcome.problem = "the recording was already finished";
        return outcome;
    }
    finished = true;
    if (stopping) {
        // The user has asked to stop: the last picture does not wait on the encoder either.
        stopAsked = [] { return true; };
    }
    const std::uint8_t* last = readback.Finish();
    const bool picturesWritten = (!last || WritePicture(last)) && writeFailure.empty();
    if (video) return FinishVideo(picturesWritten, stopping);
    if (!picturesWritten) {
        outcome.problem = writeFailure;
        return outcome;
    }
    return MakeVideoFromFrames(stopping);
}

RecordingOutcome FrameRecorder::FinishVideo(bool picturesWritten, bool stopping) {
    RecordingOutcome outcome;
    std::string closeError;
    const bool closed = video->Close(closeError, stopping, stopAsked);
    if (!picturesWritten || !closed) {
        outcome.problem = closed ? writeFailure : closeError;
    } else if (framesWritten == 0) {
        outcome.problem = "no frames were recorded";
    } else if (output.Commit(outcome.problem)) {
        outcome.ok = true;
        outcome.video = plan.target;
        return outcome;
    }
    output.Discard();   // whatever ffmpeg left is not the recording
    outcome.problem += "; " + plan.target + " is as it was";
    return outcome;
}

RecordingOutcome FrameRecorder::MakeVideoFromFrames(bool stopping) {
    RecordingOutcome outcome;
    if (framesWritten == 0) {
        outcome.problem = "no frames were recorded";
        return outcome;
    }
    outcome.framesKept = true;
    if (!platform::ProgramOnPath("ffmpeg")) {
        // Frames alone are what was asked for where there is no encoder.
        outcome.ok = true;
        outcome.problem = "ffmpeg is not installed; the frames are in " + plan.target;
        return outcome;
    }
    const std::string videoPath = plan.target + "/undertow.mp4";
    const std::vector<std::string> args = FramesToVideoArguments(plan, framesWritten, output.Begin(videoPath));
    EncoderProcess encoder;
    std::string error;
    if (!encoder.Start(args, false, args.back(), error) ||
        !encoder.Finish(stopping, stopAsked, EncoderPatience(), error) || !output.Commit(error)) {
        output.Discard();
        outcome.problem = "could not make " + videoPath + ": " + error + "; the frames are in " + plan.target;
        return outcome;
    }
    outcome.ok = true;
    outcome.video = videoPath;
    return outcome;
}
