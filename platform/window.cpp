// platform/window.cpp — SDL2 window, display mode and GL context.
#include "platform/window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <utility>

#include "platform/display_presence.h"
#include "platform/gl.h"
#include "platform/letterbox.h"
#include "platform/picture_target.h"
#include "platform/rasterizer_settle.h"
#include "platform/sanitizer_support.h"

namespace platform {
namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool displayModeChanged = false;
bool realDisplay = false;
bool videoStarted = false;
void (*overlay)() = nullptr;
void (*beforeSwap)() = nullptr;
void (*snapshot)() = nullptr;
bool exclusiveMode = false;
int exclusiveWidth = 640, exclusiveHeight = 480, exclusiveBits = 32;
int windowedWidth = 0, windowedHeight = 0;   // the window's size before Alt+Enter made it full screen
bool presenting = true;
double swapSeconds = 0;
unsigned contextGeneration = 0;
std::deque<std::pair<WindowMessage, MessageDetail>> queuedMessages;

bool StartVideo(bool headless, WindowError& error) {
    if (headless) SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error.message = std::string("cannot start video: ") + SDL_GetError();
        return false;
    }
    videoStarted = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    realDisplay = driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
    return true;
}

// Switches the display to the exclusive mode (the window must be full screen to take it).
void SetExclusiveMode() {
    SDL_DisplayMode mode{};
    mode.w = exclusiveWidth;
    mode.h = exclusiveHeight;
    mode.format = exclusiveBits >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    SDL_SetWindowDisplayMode(window, &mode);   // result not examined, as on the original
    displayModeChanged = true;
}

}  // namespace

bool OpenWindow(const WindowOptions& options, WindowError& error) {
    if (window) return true;
    // Without a display, fall back to rendering off screen.
    bool headless = options.headless;
    if (!headless && !DisplayEnvironmentPresent()) headless = true;
    if (!StartVideo(headless, error)) return false;

    if (options.openGLES) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    } else {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);   // SDL's defaults, after an ES context
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, options.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, options.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, options.debugContext ? SDL_GL_CONTEXT_DEBUG_FLAG : 0);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    const bool fullScreen = options.fullScreen && realDisplay;
    exclusiveMode = options.exclusive;
    exclusiveWidth = options.width;
    exclusiveHeight = options.height;
    exclusiveBits = options.colorBits;
    // Full screen covers the desktop at its own resolution unless the display mode is to change.
    if (fullScreen) flags |= exclusiveMode ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_FULLSCREEN_DESKTOP;
    else if (realDisplay) flags |= SDL_WINDOW_RESIZABLE;
    int width = options.width, height = options.height;
    SDL_DisplayMode desktop{};
    // Made at the desktop's size, the window covers it even where no window manager resizes it.
    if (fullScreen && !exclusiveMode && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
    }
    window = SDL_CreateWindow(options.title, 0, 0, width, height, flags);
    if (!window) {
        error.message = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    if (fullScreen) {
        if (exclusiveMode) SetExclusiveMode();
        SDL_ShowCursor(SDL_DISABLE);
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        error.message = std::string("cannot create an OpenGL context: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        window = nullptr;
        return false;
    }
    ++contextGeneration;
    SDL_GL_MakeCurrent(window, context);
    ChooseRasterizerSettle();
    SDL_GL_SetSwapInterval(options.vsync && realDisplay ? 1 : 0);
    SDL_ShowWindow(window);
    if (options.installLayer && !options.installLayer(error.message)) {
        CloseWindow();
        return false;
    }
    DrawableSize(width, height);
    std::string note;
    if (!ConfigurePicture(options.pictureScale, options.samples, width, height, note))
        std::fprintf(stderr, "undertow: %s\n", note.c_str());
    return true;
}

bool IsWindowOpen() { return window != nullptr; }

unsigned ContextGeneration() { return contextGeneration; }

bool HasDisplay() { return videoStarted ? realDisplay : DisplayEnvironmentPresent(); }

void RestoreDisplayMode() {
    if (window && displayModeChanged) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_ShowCursor(SDL_ENABLE);
    }
    displayModeChanged = false;
}

bool CloseWindow() {
    KeepLoadedLibraries();   // sanitizer builds only: see platform/sanitizer_support.h
    bool ok = true;
    if (context) {
        SettleRasterizer();   // lets go of the fences still held, while they can be
        ReleasePicture();
        // A layer frees what it made while its context is still current.
        if (glCalls.release) glCalls.release();
        UseDriverGL();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
    return ok;
}

// The message of a key going down (held keys repeat only where stepping on makes sense).
static WindowMessage KeyMessage(const SDL_KeyboardEvent& key) {
    const bool first = !key.repeat;
    switch (key.keysym.sym) {
        case SDLK_ESCAPE: return WindowMessage::Escape;
        case SDLK_F12: return first ? WindowMessage::Screenshot : WindowMessage::Other;
        case SDLK_RETURN:
            if ((key.keysym.mod & KMOD_ALT) && first) ToggleFullScreen();
            return WindowMessage::Other;
        case SDLK_SPACE: return first ? WindowMessage::Pause : WindowMessage::Other;
        case SDLK_LEFT: return WindowMessage::Back;
        case SDLK_RIGHT: return WindowMessage::Forward;
        case SDLK_PAGEUP: return first ? WindowMessage::PreviousScene : WindowMessage::Other;
        case SDLK_PAGEDOWN: return first ? WindowMessage::NextScene : WindowMessage::Other;
        case SDLK_HOME: return first ? WindowMessage::Home : WindowMessage::Other;
        case SDLK_PERIOD: return WindowMessage::StepFrame;
        case SDLK_TAB: return first ? WindowMessage::TimeBar : WindowMessage::Other;
        default: return WindowMessage::Other;
    }
}

// A finger's place (0..1 across the window, from its top left) in the picture's overlay space.
static WindowMessage TapMessage(const SDL_TouchFingerEvent& finger, MessageDetail* detail) {
    int width = 0, height = 0;
    DrawableSize(width, height);
    if (detail) {
        detail->x = finger.x * static_cast<float>(width);
        detail->y = (1.0f - finger.y) * static_cast<float>(height);
        WindowToOverlay(FitPicture(width, height), detail->x, detail->y);
    }
    return WindowMessage::Tap;
}

WindowMessage PeekWindowMessage(MessageDetail* detail) {
    if (detail) *detail = MessageDetail{};
    if (!queuedMessages.empty()) {
        const auto [message, queuedDetail] = queuedMessages.front();
        queuedMessages.pop_front();
        if (detail) *detail = queuedDetail;
        return message;
    }
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return WindowMessage::None;
    switch (event.type) {
        case SDL_QUIT:
            return WindowMessage::Destroy;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) return WindowMessage::Destroy;
            return WindowMessage::Other;
        case SDL_KEYDOWN:
            return KeyMessage(event.key);
        case SDL_FINGERDOWN:
            return TapMessage(event.tfinger, detail);
        case SDL_AUDIODEVICEREMOVED:
            return event.adevice.iscapture ? WindowMessage::Other : WindowMessage::AudioLost;
        default:
            return WindowMessage::Other;
    }
}

void QueueWindowMessage(WindowMessage message, const MessageDetail& detail) {
    queuedMessages.emplace_back(message, detail);
}

void SetPresenting(bool on) { presenting = on; }

void SwapBuffers() {
    if (!presenting) return;
    if (overlay) overlay();
    if (beforeSwap) beforeSwap();
    if (snapshot) snapshot();
    if (!window) return;
    const Uint64 start = SDL_GetPerformanceCounter();
    int width = 0, height = 0;
    DrawableSize(width, height);
    PresentPicture(width, height);
    if (glCalls.present) glCalls.present(width, height);
    SDL_GL_SwapWindow(window);
    // Off screen the swap does not end the frame for the driver: Mesa keeps the frame's
    // retired vertex buffers in flight, hundreds of megabytes over a run, unless the frame is
    // finished here. The swap flushes like any flush, so it settles too.
    if (!realDisplay)
        glFinish();
    else
        SettleRasterizer();
    swapSeconds += static_cast<double>(SDL_GetPerformanceCounter() - start) /
                   static_cast<double>(SDL_GetPerformanceFrequency());
    DrawableSize(width, height);
    PrepareFrame(width, height);
}

double SwapSeconds() { return swapSeconds; }

void SetOverlayHook(void (*hook)()) { overlay = hook; }

void SetBeforeSwapHook(void (*hook)()) { beforeSwap = hook; }

void SetSnapshotHook(void (*hook)()) { snapshot = hook; }

void DrawableSize(int& width, int& height) {
    width = height = 0;
    if (window) SDL_GL_GetDrawableSize(window, &width, &height);
}

void ToggleFullScreen() {
    if (!window || !realDisplay) return;
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(window, 0);
        if (windowedWidth > 0) SDL_SetWindowSize(window, windowedWidth, windowedHeight);
        SDL_SetWindowResizable(window, SDL_TRUE);
        SDL_ShowCursor(SDL_ENABLE);
        return;
    }
    SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
    SDL_DisplayMode desktop{};
    if (exclusiveMode) {
        SetExclusiveMode();
    } else if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window), &desktop) == 0) {
        SDL_SetWindowPosition(window, 0, 0);
        SDL_SetWindowSize(window, desktop.w, desktop.h);
    }
    SDL_SetWindowFullscreen(window, exclusiveMode ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowCursor(SDL_DISABLE);
}

void* GetGLProcAddress(const char* name) {
    if (glCalls.lookup) return glCalls.lookup(name);
    return SDL_GL_GetProcAddress(name);
}

void* GetDriverGLProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

void ShowMessageBox(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if (HasDisplay() && realDisplay) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, window);
    }
}

}  // namespace platform
