// app/shell.cpp — start-up from the window to the music, and the orderly shutdown.
#include "app/shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/asset_search.h"
#include "app/bitmap_font.h"
#include "app/extension_groups.h"
#include "app/extensions.h"
#include "app/globals.h"
#include "capture/screenshot.h"
#include "gl_layers/gles_layer.h"
#include "platform/asset_path.h"
#include "platform/audio.h"
#include "platform/desktop_gl.h"
#include "platform/display_presence.h"
#include "platform/picture_target.h"
#include "platform/tick.h"
#include "platform/window.h"
#include "scene/overlay_space.h"

namespace {

// What the shell keeps open between start-up and shutdown.
struct ShellState {
    platform::AudioStream musicStream = 0;
    bool audioStarted = false;
    bool shutdownDone = false;
};

ShellState shell;

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

}  // namespace

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
    // Where the system has no desktop OpenGL (the browser), our layer draws every run.
    window.openGLES = options.gles || !platform::DesktopGLPresent();
    if (window.openGLES) window.installLayer = gl_layers::InstallGlesLayer;
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
    shell.shutdownDone = false;   // this display has yet to be shut down
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

bool StartMusic(bool silent, bool play) {
    if (!platform::AudioInit(-1, 44100, 0, silent)) {
        std::fprintf(stderr, "undertow: cannot start the audio output: %s\n", platform::AudioLastError().c_str());
        return false;
    }
    shell.audioStarted = true;
    if (!settings.musicEnabled) return true;
    shell.musicStream = platform::AudioStreamCreateFile(kMusicFile);
    if (shell.musicStream == 0) {
        std::fprintf(stderr, "undertow: cannot play the music: %s\n", platform::AudioLastError().c_str());
        platform::AudioFree();
        shell.audioStarted = false;
        return false;
    }
    if (play) {
        platform::AudioStart();
        platform::AudioStreamPlay(shell.musicStream, false, 0);
    }
    return true;
}

void PlayMusicFrom(double seconds) {
    if (shell.musicStream == 0) return;
    platform::AudioStart();
    platform::AudioStreamPlay(shell.musicStream, false, 0);
    if (seconds > 0 && !platform::AudioStreamSetPosition(shell.musicStream, seconds))
        std::fprintf(stderr, "undertow: %s\n", platform::AudioLastError().c_str());
}

void SetSceneTimings() {
    sceneOne.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
    sceneTwo.SetTiming(50.0f, 87.0f, 1.0f, 1.0f);
    sceneThree.SetTiming(112.3f, 200.0f, 0.0f, 30.0f);
    sceneFour.SetTiming(87.0f, 112.3f, 0.0f, 0.0f);
}

void SetStartProjection() {
    const platform::PixelRect viewport = platform::PictureViewport();
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    LoadPerspective(45.0, aspectRatio, 512.0);
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
    if (shell.shutdownDone) return;
    shell.shutdownDone = true;
    for (Scene* scene : {static_cast<Scene*>(&sceneOne), static_cast<Scene*>(&sceneTwo),
                         static_cast<Scene*>(&sceneThree), static_cast<Scene*>(&sceneFour)}) {
        scene->Unload();
        scene->Stop();
    }
    // Every GL object goes while the context is current: nothing is left for the destructors.
    demo.ReleaseTextures();
    font.DeleteLists();
    ReleaseVertexArrayRange();
    gl_layers::RemoveVertexWeighting();   // its program goes with the context, closed below
    if (settings.musicEnabled && shell.audioStarted) {
        platform::AudioStop();
        if (shell.musicStream != 0) platform::AudioStreamFree(shell.musicStream);
        shell.musicStream = 0;
    }
    if (shell.audioStarted) platform::AudioFree();
    shell.audioStarted = false;
    platform::RestoreDisplayMode();
    platform::SetBeforeSwapHook(nullptr);
    StopScreenshots();
    if (!platform::CloseWindow()) platform::ShowMessageBox("Kontekst nie został usunięty.", "Błąd...");
}

int ShowGLInfo(const Options& options) {
    const bool headless = EnvironmentIs("SDL_VIDEODRIVER", "offscreen") ||
                          !platform::DisplayEnvironmentPresent();
    if (!OpenDisplay(options, headless)) return kExitSetupFailed;
    PrintGLInfo(stdout);
    Shutdown();
    return kExitOk;
}
