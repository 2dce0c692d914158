// app/shell.cpp — the program's run from the window to the last frame.
#include "app/shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/asset_search.h"
#include "app/benchmark.h"
#include "app/bitmap_font.h"
#include "app/extensions.h"
#include "app/gl_check.h"
#include "app/gl_info.h"
#include "app/globals.h"
#include "app/pass_times.h"
#include "app/run_control.h"
#include "app/screenshot.h"
#include "platform/asset_path.h"
#include "platform/audio.h"
#include "platform/picture_target.h"
#include "platform/tick.h"
#include "platform/window.h"

namespace {

const char* const kMusicFile = "DANE\\Oblomar.mp3";

platform::AudioStream musicStream = 0;
bool audioStarted = false;
bool shutdownDone = false;

const char* SectionName(const Scene* scene) {
    if (scene == &sceneOne) return "scene one";
    if (scene == &sceneTwo) return "scene two";
    if (scene == &sceneThree) return "scene three";
    if (scene == &sceneFour) return "scene four";
    return "no scene";
}

bool EnvironmentIs(const char* name, const char* value) {
    const char* current = std::getenv(name);
    return current && std::strcmp(current, value) == 0;
}

// The extension groups the command line turns off or asks our layers for, set before detection.
void ApplyExtensionChoices(const Options& options) {
    for (std::size_t i = 0; i < kGroupCount; ++i) {
        if (options.disabledGroups & (1u << i)) GroupSwitch(static_cast<ExtensionGroup>(i)) = false;
    }
    extensionState.emulateVertexArrayRange =
        (options.emulatedGroups & (1u << static_cast<unsigned>(ExtensionGroup::VertexArrayRange))) != 0;
}

// Window, context, extensions, font and projection; false when there is nothing to draw on.
bool OpenDisplay(const Options& options, bool headless) {
    platform::WindowOptions window;
    window.width = settings.screenWidth;
    window.height = settings.screenHeight;
    window.colorBits = settings.colorBits;
    window.depthBits = settings.depthBits;
    window.stencilBits = settings.stencilBits;
    window.fullScreen = settings.fullScreen && !options.windowed && !headless;
    window.exclusive = options.exclusive;
    window.headless = headless;
    window.debugContext = options.checkGl;
    window.pictureScale = options.scale;
    window.samples = options.msaa;
    window.vsync = options.vsync && !options.UsesVirtualClock();
    if (headless) {
        // Off screen the window is the picture itself: nothing to scale.
        window.width = settings.screenWidth * options.scale;
        window.height = settings.screenHeight * options.scale;
    } else if (options.windowWidth > 0 && !window.fullScreen) {
        window.width = options.windowWidth;
        window.height = options.windowHeight;
    }
    platform::WindowError error;
    if (!platform::OpenWindow(window, error)) {
        std::fprintf(stderr, "undertow: %s\n", error.message.c_str());
        return false;
    }
    ApplyExtensionChoices(options);
    InitExtensions();
    font.Create(-16 * platform::PictureScale(), -16, "Arial");   // the text grows with the picture
    SetStartProjection();
    if (settings.useVertexArrayRange) AllocateVertexArrayRange();
    return true;
}

void AddScenes() {
    SetSceneTimings();
    demo.AddScene(&sceneOne);
    demo.AddScene(&sceneTwo);
    demo.AddScene(&sceneThree);
    demo.AddScene(&sceneFour);
}

// Opens the output and the music stream, and plays it when `play` is set; false (exit code
// -1) when either fails.
bool StartMusic(bool silent, bool play) {
    if (!platform::AudioInit(-1, 44100, 0, silent)) {
        std::fprintf(stderr, "undertow: cannot start the audio output: %s\n", platform::AudioLastError().c_str());
        return false;
    }
    audioStarted = true;
    if (!settings.musicEnabled) return true;
    musicStream = platform::AudioStreamCreateFile(kMusicFile);
    if (musicStream == 0) {
        std::fprintf(stderr, "undertow: cannot play the music: %s\n", platform::AudioLastError().c_str());
        platform::AudioFree();
        audioStarted = false;
        return false;
    }
    if (play) {
        platform::AudioStart();
        platform::AudioStreamPlay(musicStream, false, 0);
    }
    return true;
}

// Plays the opened music from `seconds` on (a run that starts later than 0 s).
void PlayMusicFrom(double seconds) {
    if (musicStream == 0) return;
    platform::AudioStart();
    platform::AudioStreamPlay(musicStream, false, 0);
    if (seconds > 0 && !platform::AudioStreamSetPosition(musicStream, seconds))
        std::fprintf(stderr, "undertow: %s\n", platform::AudioLastError().c_str());
}

}  // namespace

void SetSceneTimings() {
    sceneOne.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
    sceneTwo.SetTiming(50.0f, 87.0f, 1.0f, 1.0f);
    sceneThree.SetTiming(112.3f, 200.0f, 0.0f, 30.0f);
    sceneFour.SetTiming(87.0f, 112.3f, 0.0f, 0.0f);
}

void SetStartProjection() {
    const platform::PixelRect viewport = platform::PictureViewport();
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspectRatio, 1.0, 512.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::string FindAssetRoot(const std::string& dataDir, const char* programPath, std::string& error) {
    if (!dataDir.empty()) {
        if (platform::IsAssetRoot(dataDir)) return dataDir;
        error = "the folder " + dataDir + " does not hold TEKSTURY and DANE";
        return {};
    }
    return FirstAssetRoot(AssetSearchFolders(ExecutablePath(programPath), std::getenv("XDG_DATA_DIRS")), error);
}

void Shutdown() {
    if (shutdownDone) return;
    shutdownDone = true;
    for (Scene* scene : {static_cast<Scene*>(&sceneOne), static_cast<Scene*>(&sceneTwo),
                         static_cast<Scene*>(&sceneThree), static_cast<Scene*>(&sceneFour)}) {
        scene->Unload();
        scene->Stop();
    }
    ReleaseVertexArrayRange();
    if (settings.musicEnabled && audioStarted) {
        platform::AudioStop();
        if (musicStream != 0) platform::AudioStreamFree(musicStream);
        musicStream = 0;
    }
    if (audioStarted) platform::AudioFree();
    audioStarted = false;
    platform::RestoreDisplayMode();
    platform::SetBeforeSwapHook(nullptr);
    StopScreenshots();
    if (!platform::CloseWindow()) platform::ShowMessageBox("Kontekst nie został usunięty.", "Błąd...");
}

int ShowGLInfo(const Options& options) {
    const bool headless = EnvironmentIs("SDL_VIDEODRIVER", "offscreen") ||
                          (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"));
    if (!OpenDisplay(options, headless)) return kExitSetupFailed;
    PrintGLInfo(stdout);
    Shutdown();
    return kExitOk;
}

int RunDemo(const Options& options, const char* programPath) {
    std::string error;
    const std::string root = FindAssetRoot(options.dataDir, programPath, error);
    if (root.empty()) {
        std::fprintf(stderr, "undertow: %s\n", error.c_str());
        return kExitSetupFailed;
    }
    platform::SetAssetRoot(root);

    if (options.detail >= 0) settings.detailLevel = options.detail;
    if (options.windowed) settings.fullScreen = false;
    if (options.stats) showFrameStats = true;

    const bool virtualClock = options.UsesVirtualClock();
    const bool headless = EnvironmentIs("SDL_VIDEODRIVER", "offscreen") ||
                          (virtualClock && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"));
    if (!headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "undertow: no display to open a window on; record the demo with --capture DIR, measure it "
                     "with --benchmark, or set SDL_VIDEODRIVER=offscreen\n");
        return kExitSetupFailed;
    }

    // A later start catches up on the virtual clock; a live run goes on in real time from there.
    const bool catchUp = options.startSeconds > 0;
    if (virtualClock || catchUp) platform::UseVirtualClock(0);

    if (!OpenDisplay(options, headless)) return kExitSetupFailed;
    AddScenes();
    if (options.startSeconds > demo.endTime) {
        std::fprintf(stderr, "undertow: --start %.2f lies beyond the end of the timeline (%.1f s)\n",
                     options.startSeconds, static_cast<double>(demo.endTime));
        Shutdown();
        return kExitSetupFailed;
    }
    RunControl run(options, [virtualClock](double seconds) {
        if (virtualClock) return;
        platform::UseLiveClockFrom(platform::GetTickCount());
        PlayMusicFrom(seconds);
    });
    if (!run.Begin(demo.endTime, platform::ResolveAssetPath(kMusicFile), error)) {
        std::fprintf(stderr, "undertow: %s\n", error.c_str());
        Shutdown();
        return kExitSetupFailed;
    }
    GlErrorCheck glCheck;
    if (options.checkGl) glCheck.Begin();
    const double loadStart = platform::WallSeconds();
    demo.LoadAll();
    const double loadSeconds = platform::WallSeconds() - loadStart;
    if (options.checkGl) glCheck.Check("the loading screen", demo.clock);
    // Ends the run: the GL watch stops before the context goes.
    auto stop = [&] {
        if (options.checkGl) glCheck.End();
        Shutdown();
    };

    if (!StartMusic(virtualClock, !catchUp)) {
        run.Finish(demo.clock, true);
        return kExitAudioFailed;
    }

    Benchmark benchmark;
    pass_times::Enable(options.passTimes);
    const double stepMs = 1000.0 / options.fps;
    int exitCode = kExitOk;
    bool stoppedEarly = false;
    bool audioLost = false;
    for (;;) {
        const platform::WindowMessage message = platform::PeekWindowMessage();
        if (message == platform::WindowMessage::Destroy || message == platform::WindowMessage::Escape) {
            std::fprintf(stderr, "undertow: %s; stopping at %.2f s of the demo\n",
                         message == platform::WindowMessage::Escape ? "Escape pressed" : "the window was closed",
                         static_cast<double>(demo.clock));
            stoppedEarly = true;
            break;
        }
        if (message == platform::WindowMessage::AudioLost && !audioLost) {
            audioLost = true;
            std::fprintf(stderr, "undertow: the audio device went away at %.2f s; the demo goes on without sound\n",
                         static_cast<double>(demo.clock));
        }
        if (message == platform::WindowMessage::Screenshot) RequestScreenshot();
        if (message != platform::WindowMessage::None) continue;

        run.BeforeTick(demo.clock, sceneThree.startTime);
        const double frameStart = platform::WallSeconds();
        const double swapBefore = platform::SwapSeconds();
        pass_times::BeginFrame();
        const bool goesOn = demo.Tick();
        if (options.checkGl) glCheck.Check(SectionName(demo.currentScene), demo.clock);
        if (options.benchmark && run.Showing()) {
            const double finishStart = platform::WallSeconds();
            glFinish();   // count the rendering, not just its submission
            const double frameEnd = platform::WallSeconds();
            pass_times::EndFrame(SectionName(demo.currentScene), "the rest and the swap");
            const double waitSeconds = platform::SwapSeconds() - swapBefore + (frameEnd - finishStart);
            benchmark.Record(SectionName(demo.currentScene), (frameEnd - frameStart) * 1000.0, waitSeconds * 1000.0);
        }
        const bool more = run.AfterTick(demo.clock);
        if (platform::IsVirtualClock()) platform::AdvanceVirtualClock(stepMs);
        if (!goesOn || !more) break;
    }
    if (!run.Finish(demo.clock, stoppedEarly) && exitCode == kExitOk) exitCode = kExitSetupFailed;
    stop();
    if (options.checkGl && glCheck.ErrorCount() > 0) {
        std::fprintf(stderr, "undertow: %d GL error checkpoint%s failed; the first: %s\n", glCheck.ErrorCount(),
                     glCheck.ErrorCount() == 1 ? "" : "s", glCheck.FirstError().c_str());
        if (exitCode == kExitOk) exitCode = kExitGlErrors;
    }

    if (options.benchmark) {
        benchmark.Print(stdout, loadSeconds);
        pass_times::Print(stdout);
        if (!options.jsonFile.empty() && !benchmark.WriteJson(options.jsonFile, loadSeconds)) {
            std::fprintf(stderr, "undertow: cannot write %s\n", options.jsonFile.c_str());
        }
    }
    return exitCode;
}
