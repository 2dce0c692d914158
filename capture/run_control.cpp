// capture/run_control.cpp — the unseen frames before the start, the recorder and its progress.
#include "capture/run_control.h"

#include <cmath>
#include <cstdio>

#include "platform/gl.h"
#include "platform/picture_target.h"
#include "platform/tick.h"
#include "platform/window.h"

namespace {

FrameRecorder* grabbingRecorder = nullptr;

void GrabFrame() {
    if (grabbingRecorder) grabbingRecorder->Grab();
}

}  // namespace

long StartFrame(double seconds, int fps) {
    if (seconds <= 0 || fps <= 0) return 0;
    return static_cast<long>(std::ceil(seconds * fps - 1e-6));
}

long TimelineFrames(double timelineSeconds, int fps) {
    return timelineSeconds <= 0 ? 0 : static_cast<long>(std::lround(timelineSeconds * fps));
}

RunControl::RunControl(const RunOptions& runOptions, std::function<void(double)> showingStarts, StopAsked stopCheck)
    : options(runOptions), onShowing(std::move(showingStarts)), stopAsked(std::move(stopCheck)) {}

bool RunControl::Begin(double timelineSeconds, const std::string& musicPath, std::string& error) {
    startFrame = StartFrame(options.startSeconds, options.fps);
    showing = startFrame == 0;
    recording = !options.captureDir.empty();
    if (recording) {
        RecordingPlan plan;
        plan.target = options.captureDir;
        plan.fps = options.fps;
        plan.firstFrame = startFrame;
        const long rest = TimelineFrames(timelineSeconds, options.fps) - startFrame;
        plannedFrames = options.frames > 0 ? options.frames : std::max(1L, rest);
        plan.frames = plannedFrames;
        plan.musicPath = musicPath;
        plan.width = platform::PictureWidth();
        plan.height = platform::PictureHeight();
        if (options.crf >= 0) plan.crf = options.crf;
        plan.lossless = options.lossless;
        if (!recorder.Begin(plan, stopAsked, error)) return false;
        recorder.StartReadback();
        grabbingRecorder = &recorder;
        platform::SetBeforeSwapHook(GrabFrame);   // the loading screen's last picture is what the first steps show
    }
    if (!showing) {
        catchUpStarted = platform::WallSeconds();
        platform::SetPresenting(false);
        std::fprintf(stderr, "undertow: playing the timeline unseen up to %.2f s\n", options.startSeconds);
    }
    return true;
}

void RunControl::StartShowing() {
    platform::SetDrawing(true);
    glDisable(GL_SCISSOR_TEST);   // whatever the unseen frames narrowed it to
    platform::SetPresenting(true);
    showing = true;
    const double startTime = static_cast<double>(startFrame) / options.fps;
    std::fprintf(stderr, "undertow: reached %.2f s of the demo in %.1f s\n", startTime,
                 platform::WallSeconds() - catchUpStarted);
    showingBegan = true;
}

void RunControl::Restart(double startSeconds) {
    options.startSeconds = startSeconds;
    startFrame = StartFrame(startSeconds, options.fps);
    step = 0;
    showing = false;
    catchUpStarted = platform::WallSeconds();
    platform::SetPresenting(false);
}

void RunControl::BeforeTick() {
    if (!showing && step >= startFrame) StartShowing();
    if (showing) {
        if (step == startFrame && recording) progress.Begin(stderr, plannedFrames, options.fps, platform::WallSeconds());
        return;
    }
    platform::SetDrawing(false);
}

bool RunControl::AfterTick(double demoSeconds, bool timelineGoesOn) {
    ++step;
    if (!timelineGoesOn) return false;
    if (!showing) return true;
    if (showingBegan) {
        showingBegan = false;
        if (onShowing) onShowing(static_cast<double>(startFrame) / options.fps);
    }
    ++shown;
    if (!recording) return options.frames <= 0 || shown < options.frames;
    if (!recorder.EndStep()) {
        failed = true;
        return false;
    }
    progress.Update(shown, demoSeconds, platform::WallSeconds());
    return shown < plannedFrames;
}

bool RunControl::Finish(double demoSeconds, bool stoppedEarly) {
    if (!showing) {
        platform::SetPresenting(true);
        platform::SetDrawing(true);
        glDisable(GL_SCISSOR_TEST);
    }
    if (!recording) return true;
    platform::SetBeforeSwapHook(nullptr);
    grabbingRecorder = nullptr;
    const RecordingOutcome outcome = recorder.Finish(stoppedEarly);
    recorder.EndReadback();
    progress.End(recorder.FramesWritten(), demoSeconds, platform::WallSeconds());
    recording = false;
    const long frames = recorder.FramesWritten();
    if (outcome.framesKept)
        std::fprintf(stdout, "captured %ld frames at %d fps into %s\n", frames, options.fps, options.captureDir.c_str());
    if (!outcome.ok) {
        failed = true;
        const char* what = outcome.framesKept                         ? "no video made"
                           : !recorder.IsVideo() && frames > 0 ? "the recording failed"
                                                               : "no recording was made";
        std::fprintf(stderr, "undertow: %s: %s\n", what, outcome.problem.c_str());
        return false;
    }
    if (outcome.video.empty()) {
        std::fprintf(stderr, "undertow: no video made: %s\n", outcome.problem.c_str());
        return true;
    }
    std::fprintf(stdout, "%s %ld frames (%.2f s) at %d fps: %s\n", stoppedEarly ? "stopped early; recorded" : "recorded",
                 frames, static_cast<double>(frames) / options.fps, options.fps, outcome.video.c_str());
    return true;
}
