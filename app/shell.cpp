// app/shell.cpp — the program's run from the window to the last frame.
#include "app/shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/asset_search.h"
#include "app/benchmark.h"
#include "app/bitmap_font.h"
#include "app/extensions.h"
#include "app/frame_recorder.h"
#include "app/gl_check.h"
#include "app/globals.h"
#include "platform/asset_path.h"
#include "platform/audio.h"
#include "platform/tick.h"
#include "platform/window.h"

namespace {

const char* const kMusicFile = "DANE\\Oblomar.mp3";

platform::AudioStream musicStream = 0;
bool audioStarted = false;
bool shutdownDone = false;
FrameRecorder* activeRecorder = nullptr;

void GrabForRecorder() {
    if (activeRecorder) activeRecorder->GrabBackBuffer();
}

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

// Window, context, extensions, font and projection; false when there is nothing to draw on.
bool OpenDisplay(const Options& options, bool headless) {
    platform::WindowOptions window;
    window.width = settings.screenWidth;
    window.height = settings.screenHeight;
    window.colorBits = settings.colorBits;
    window.depthBits = settings.depthBits;
    window.stencilBits = settings.stencilBits;
    window.fullScreen = settings.fullScreen && !options.windowed && !headless;
    window.headless = headless;
    window.debugContext = options.checkGl;
    platform::WindowError error;
    if (!platform::OpenWindow(window, error)) {
        std::fprintf(stderr, "undertow: %s\n", error.message.c_str());
        return false;
    }
    InitExtensions();
    font.Create(-16, -16, "Arial");
    SetStartProjection();
    if (settings.useVertexArrayRange) AllocateVertexArrayRange();
    return true;
}

void AddScenes() {
    sceneOne.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
    sceneTwo.SetTiming(50.0f, 87.0f, 1.0f, 1.0f);
    sceneThree.SetTiming(112.3f, 200.0f, 0.0f, 30.0f);
    sceneFour.SetTiming(87.0f, 112.3f, 0.0f, 0.0f);
    demo.AddScene(&sceneOne);
    demo.AddScene(&sceneTwo);
    demo.AddScene(&sceneThree);
    demo.AddScene(&sceneFour);
}

// Opens the output and the music stream; false (exit code -1) when either fails.
bool StartMusic(bool silent) {
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
    platform::AudioStart();
    platform::AudioStreamPlay(musicStream, false, 0);
    return true;
}

}  // namespace

void SetStartProjection() {
    glViewport(0, 0, settings.screenWidth, settings.screenHeight);
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
    if (!platform::CloseWindow()) platform::ShowMessageBox("Kontekst nie został usunięty.", "Błąd...");
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

    FrameRecorder recorder;
    if (!options.captureDir.empty() && !recorder.Begin(options.captureDir, options.fps, error)) {
        std::fprintf(stderr, "undertow: %s\n", error.c_str());
        return kExitSetupFailed;
    }
    if (virtualClock) platform::UseVirtualClock(0);

    if (!OpenDisplay(options, headless)) return kExitSetupFailed;
    AddScenes();

    if (!options.captureDir.empty()) {
        activeRecorder = &recorder;   // the loading screen's last picture is what the first steps show
        platform::SetBeforeSwapHook(GrabForRecorder);
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

    if (!StartMusic(virtualClock)) return kExitAudioFailed;

    Benchmark benchmark;
    const double stepMs = 1000.0 / options.fps;
    long frames = 0;
    int exitCode = kExitOk;
    bool audioLost = false;
    for (;;) {
        const platform::WindowMessage message = platform::PeekWindowMessage();
        if (message == platform::WindowMessage::Destroy || message == platform::WindowMessage::Escape) {
            std::fprintf(stderr, "undertow: %s; stopping at %.2f s of the demo\n",
                         message == platform::WindowMessage::Escape ? "Escape pressed" : "the window was closed",
                         static_cast<double>(demo.clock));
            stop();
            break;
        }
        if (message == platform::WindowMessage::AudioLost && !audioLost) {
            audioLost = true;
            std::fprintf(stderr, "undertow: the audio device went away at %.2f s; the demo goes on without sound\n",
                         static_cast<double>(demo.clock));
        }
        if (message != platform::WindowMessage::None) continue;

        const double frameStart = platform::WallSeconds();
        const bool goesOn = demo.Tick();
        if (options.checkGl) glCheck.Check(SectionName(demo.currentScene), demo.clock);
        if (options.benchmark) {
            glFinish();   // count the rendering, not just its submission
            benchmark.Record(SectionName(demo.currentScene), (platform::WallSeconds() - frameStart) * 1000.0);
        }
        if (activeRecorder && !recorder.WriteStep()) {
            exitCode = kExitSetupFailed;
            stop();
            break;
        }
        if (virtualClock) platform::AdvanceVirtualClock(stepMs);
        ++frames;
        if (!goesOn || (options.frames > 0 && frames >= options.frames)) {
            stop();
            break;
        }
    }
    activeRecorder = nullptr;
    if (options.checkGl && glCheck.ErrorCount() > 0) {
        std::fprintf(stderr, "undertow: %d GL error checkpoint%s failed; the first: %s\n", glCheck.ErrorCount(),
                     glCheck.ErrorCount() == 1 ? "" : "s", glCheck.FirstError().c_str());
        if (exitCode == kExitOk) exitCode = kExitGlErrors;
    }

    if (options.benchmark) {
        benchmark.Print(stdout, loadSeconds);
        if (!options.jsonFile.empty() && !benchmark.WriteJson(options.jsonFile, loadSeconds)) {
            std::fprintf(stderr, "undertow: cannot write %s\n", options.jsonFile.c_str());
        }
    }
    if (!options.captureDir.empty() && exitCode == kExitOk) {
        std::fprintf(stdout, "captured %ld frames at %d fps into %s\n", recorder.FramesWritten(), options.fps,
                     options.captureDir.c_str());
        const std::string video = recorder.MakeVideo(platform::ResolveAssetPath(kMusicFile), error);
        if (video.empty()) {
            std::fprintf(stderr, "undertow: no video made: %s\n", error.c_str());
        } else {
            std::fprintf(stdout, "video: %s\n", video.c_str());
        }
    }
    return exitCode;
}
