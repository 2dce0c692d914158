// app/main_loop.cpp — one run of the demo: prepare, play the frames, report.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "app/extensions.h"
#include "app/demo_rewind.h"
#include "app/globals.h"
#include "app/playback.h"
#include "app/shell.h"
#include "capture/run_control.h"
#include "capture/screenshot.h"
#include "gl_layers/gles_layer.h"
#include "measure/benchmark.h"
#include "measure/gl_check.h"
#include "measure/pass_times.h"
#include "platform/asset_path.h"
#include "platform/display_presence.h"
#include "platform/gl.h"
#include "platform/run_loop.h"
#include "platform/tick.h"
#include "platform/window.h"

namespace {

bool EnvironmentIs(const char* name, const char* value) {
    const char* current = std::getenv(name);
    return current && std::strcmp(current, value) == 0;
}

bool HasDisplayVariable() { return platform::DisplayEnvironmentPresent(); }

RunOptions RunOptionsFrom(const Options& options) {
    RunOptions run;
    run.captureDir = options.captureDir;
    run.startSeconds = options.startSeconds;
    run.fps = options.fps;
    run.frames = options.frames;
    run.crf = options.crf;
    run.lossless = options.lossless;
    return run;
}

}  // namespace

const char* SceneName(const Scene* scene) {
    if (scene == &sceneOne) return "scene one";
    if (scene == &sceneTwo) return "scene two";
    if (scene == &sceneThree) return "scene three";
    if (scene == &sceneFour) return "scene four";
    return "no scene";
}

namespace {

// Once the window exists, every way out of the run goes through here: the GL watch stops
// before the context goes, then the shutdown.
class RunEnd {
public:
    RunEnd(const Options& options, GlErrorCheck& glCheck) : options(options), glCheck(glCheck) {}
    ~RunEnd() { Stop(); }
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

    // The display is open: from here on the run ends through Stop.
    void Arm() { stopped = false; }

    void Stop() {
        if (stopped) return;
        stopped = true;
        if (options.checkGl) glCheck.End();
        Shutdown();
    }

private:
    const Options& options;
    GlErrorCheck& glCheck;
    bool stopped = true;
};

// The asset root and the options' settings; false, with a message, when the run cannot start.
// `headless` says whether the picture is drawn off screen.
bool PrepareRun(const Options& options, const char* programPath, bool& headless) {
    std::string error;
    const std::string root = FindAssetRoot(options.dataDir, programPath, error);
    if (root.empty()) {
        std::fprintf(stderr, "undertow: %s\n", error.c_str());
        return false;
    }
    platform::SetAssetRoot(root);

    if (options.detail >= 0) settings.detailLevel = options.detail;
    if (options.windowed) settings.fullScreen = false;
    if (options.stats) showFrameStats = true;

    const bool virtualClock = options.UsesVirtualClock();
    headless = EnvironmentIs("SDL_VIDEODRIVER", "offscreen") || (virtualClock && !HasDisplayVariable());
    if (!headless && !HasDisplayVariable()) {
        std::fprintf(stderr,
                     "undertow: no display to open a window on; record the demo with --capture DIR, measure it "
                     "with --benchmark, or set SDL_VIDEODRIVER=offscreen\n");
        return false;
    }
    // A later start catches up on the virtual clock; a live run goes on in real time from there.
    if (virtualClock || options.startSeconds > 0) platform::UseVirtualClock(0);
    return true;
}

// Whether the window asked the run to stop, after acting on the other messages; true while a
// message was taken (no frame this time round).
bool TakeMessage(Playback& playback, bool& stop, bool& audioLost) {
    platform::MessageDetail detail;
    const platform::WindowMessage message = platform::PeekWindowMessage(&detail);
    if (playback.Take(message, detail)) return true;
    // In a page Escape is the browser's: it leaves full screen, and the run goes on.
    const bool escapeEnds = !platform::RunStaysOpen();
    if (message == platform::WindowMessage::Destroy || (message == platform::WindowMessage::Escape && escapeEnds)) {
        std::fprintf(stderr, "undertow: %s; stopping at %.2f s of the demo\n",
                     message == platform::WindowMessage::Escape ? "Escape pressed" : "the window was closed",
                     static_cast<double>(demo.clock));
        stop = true;
    }
    if (message == platform::WindowMessage::AudioLost && !audioLost) {
        audioLost = true;
        std::fprintf(stderr, "undertow: the audio device went away at %.2f s; the demo goes on without sound\n",
                     static_cast<double>(demo.clock));
    }
    if (message == platform::WindowMessage::Screenshot) RequestScreenshot();
    return message != platform::WindowMessage::None;
}

// Whether a message asks the run to stop, looked at while a recording waits on its encoder.
// Every message taken goes back to the queue, in order, for the main loop to act on.
bool StopAskedByWindow() {
    std::vector<std::pair<platform::WindowMessage, platform::MessageDetail>> taken;
    platform::MessageDetail detail;
    for (platform::WindowMessage message = platform::PeekWindowMessage(&detail);
         message != platform::WindowMessage::None; message = platform::PeekWindowMessage(&detail))
        taken.emplace_back(message, detail);
    bool stop = false;
    for (const auto& [message, messageDetail] : taken) {
        stop = stop || message == platform::WindowMessage::Destroy || message == platform::WindowMessage::Escape;
        platform::QueueWindowMessage(message, messageDetail);
    }
    return stop;
}

// How a step of the demo ended.
enum class StepEnd { GoesOn, TimelineOver, RunOver };

// One step of the demo: the frame, its check and its timing.
StepEnd PlayStep(const Options& options, RunControl& run, GlErrorCheck& glCheck, Benchmark& benchmark) {
    run.BeforeTick();
    const double frameStart = platform::WallSeconds();
    const double swapBefore = platform::SwapSeconds();
    pass_times::BeginFrame();
    const bool goesOn = demo.Tick();
    if (options.checkGl) glCheck.Check(SceneName(demo.currentScene), demo.clock);
    if (options.benchmark && run.Showing()) {
        const double finishStart = platform::WallSeconds();
        glFinish();   // count the rendering, not just its submission
        const double frameEnd = platform::WallSeconds();
        pass_times::EndFrame(SceneName(demo.currentScene), "the rest and the swap");
        const double waitSeconds = platform::SwapSeconds() - swapBefore + (frameEnd - finishStart);
        benchmark.Record(SceneName(demo.currentScene), (frameEnd - frameStart) * 1000.0, waitSeconds * 1000.0);
    }
    const bool more = run.AfterTick(demo.clock, goesOn);
    if (platform::IsVirtualClock()) platform::AdvanceVirtualClock(1000.0 / options.fps);
    if (!goesOn) return StepEnd::TimelineOver;   // that step drew nothing, and is no frame
    return more ? StepEnd::GoesOn : StepEnd::RunOver;
}

// The GL check's verdict and the benchmark's figures, after the shutdown.
int Report(const Options& options, const GlErrorCheck& glCheck, const Benchmark& benchmark, double loadSeconds,
           int exitCode) {
    if (options.checkGl && glCheck.ErrorCount() > 0) {
        std::fprintf(stderr, "undertow: %d GL error checkpoint%s failed; the first: %s\n", glCheck.ErrorCount(),
                     glCheck.ErrorCount() == 1 ? "" : "s", glCheck.FirstError().c_str());
        if (exitCode == kExitOk) exitCode = kExitGlErrors;
    }
    if (options.benchmark) {
        benchmark.Print(stdout, loadSeconds);
        if (options.gles) std::printf("OpenGL ES layer: %d programs compiled\n", gl_layers::GlesProgramsCompiled());
        pass_times::Print(stdout);
        if (!options.jsonFile.empty() && !benchmark.WriteJson(options.jsonFile, loadSeconds)) {
            std::fprintf(stderr, "undertow: cannot write %s\n", options.jsonFile.c_str());
            if (exitCode == kExitOk) exitCode = kExitSetupFailed;   // as a recording that cannot be written
        }
    }
    return exitCode;
}

}  // namespace

namespace {

// One run of the demo as the steps of a loop: the loading screen a texture or a scene at a
// time, then one pass of the main loop per step (a message, a held pause or a frame). A browser
// shows the loading bar and each frame only between steps.
class DemoRun {
public:
    explicit DemoRun(const Options& runOptions)
        : options(runOptions),
          end(options, glCheck),
          virtualClock(options.UsesVirtualClock()),
          run(RunOptionsFrom(options), [this](double seconds) { StartShowing(seconds); }, StopAskedByWindow) {}
    DemoRun(const DemoRun&) = delete;
    DemoRun& operator=(const DemoRun&) = delete;

    // The window, the scenes and the run's output, up to the first loading step; false when
    // the run cannot start, with its exit code.
    bool Start(const char* programPath, int& failure) {
        failure = kExitSetupFailed;
        bool headless = false;
        if (!PrepareRun(options, programPath, headless)) return false;
        if (!OpenDisplay(options, headless)) return false;
        end.Arm();
        AddScenes();
        if (options.startSeconds > demo.endTime) {
            std::fprintf(stderr, "undertow: --start %.2f lies beyond the end of the timeline (%.1f s)\n",
                         options.startSeconds, static_cast<double>(demo.endTime));
            return false;
        }
        std::string error;
        if (!run.Begin(demo.endTime, platform::ResolveAssetPath(kMusicFile), error)) {
            std::fprintf(stderr, "undertow: %s\n", error.c_str());
            return false;
        }
        if (options.checkGl) glCheck.Begin(IsExtensionSupported("GL_KHR_debug"));
        loadStart = platform::WallSeconds();
        demo.BeginLoading();
        return true;
    }

    platform::StepEnd Step(double& resumeAt) {
        if (playback) return PlayingStep(resumeAt);
        if (demo.LoadNext()) return platform::StepEnd::Yield;
        return FinishLoading() ? platform::StepEnd::GoOn : platform::StepEnd::Finished;
    }

    int ExitCode() const { return exitCode; }

private:
    void StartShowing(double seconds) {
        if (virtualClock) return;
        // The music first: moving it may take a while, and the live clock starts with it.
        PlayMusicFrom(seconds);
        platform::UseLiveClockFrom(platform::GetTickCount());
    }

    // After the last loading step: the music, then the frames. False when the music fails.
    bool FinishLoading() {
        KeepStateAfterLoading();
        loadSeconds = platform::WallSeconds() - loadStart;
        if (options.checkGl) glCheck.Check("the loading screen", demo.clock);
        if (!StartMusic(virtualClock, options.startSeconds <= 0)) {
            run.Finish(demo.clock, true);
            end.Stop();
            exitCode = kExitAudioFailed;
            return false;
        }
        pass_times::Enable(options.passTimes);
        playback = std::make_unique<Playback>(options, run);
        return true;
    }

    // One pass of the main loop.
    platform::StepEnd PlayingStep(double& resumeAt) {
        bool stop = false;
        if (TakeMessage(*playback, stop, audioLost)) return stop ? Finish(true) : platform::StepEnd::GoOn;
        if (playback->Holding(resumeAt)) return platform::StepEnd::Yield;
        const StepEnd step = PlayStep(options, run, glCheck, benchmark);
        if (step == StepEnd::RunOver) return Finish(false);
        if (step == StepEnd::TimelineOver && !playback->LoopBack()) {
            if (!playback->HoldEnd()) return Finish(false);
            playback->ReportState();
            return platform::StepEnd::Yield;
        }
        resumeAt = playback->AfterFrame();
        playback->ReportState();
        // A live frame is shown; the virtual clock's frames go on until the turn is used up.
        return !virtualClock && run.Showing() ? platform::StepEnd::Yield : platform::StepEnd::GoOn;
    }

    platform::StepEnd Finish(bool stoppedEarly) {
        playback.reset();
        exitCode = run.Finish(demo.clock, stoppedEarly) ? kExitOk : kExitSetupFailed;
        end.Stop();
        exitCode = Report(options, glCheck, benchmark, loadSeconds, exitCode);
        return platform::StepEnd::Finished;
    }

    const Options options;
    GlErrorCheck glCheck;
    RunEnd end;
    const bool virtualClock;
    RunControl run;
    Benchmark benchmark;
    std::unique_ptr<Playback> playback;
    double loadStart = 0.0;
    double loadSeconds = 0.0;
    bool audioLost = false;
    int exitCode = kExitOk;
};

}  // namespace

int RunDemo(const Options& options, const char* programPath) {
    // The run outlives this call where the browser drives the loop.
    auto demoRun = std::make_shared<DemoRun>(options);
    int failure = kExitOk;
    if (!demoRun->Start(programPath, failure)) return failure;
    return platform::RunLoop([demoRun](double& resumeAt) { return demoRun->Step(resumeAt); },
                             [demoRun] { return demoRun->ExitCode(); });
}
