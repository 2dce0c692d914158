// platform/window.h — the demo's window, its GL context and its message queue.
#pragma once

#include <string>

namespace platform {

// How the window is to be opened.
struct WindowOptions {
    int width = 640;
    int height = 480;
    int colorBits = 32;
    int depthBits = 16;
    int stencilBits = 1;
    bool fullScreen = true;      // cover the screen and hide the cursor
    bool exclusive = false;      // full screen by switching the display mode to width x height
    int pictureScale = 1;        // the picture is drawn at pictureScale x 640 by pictureScale x 480
    int samples = 0;             // multisampling of the picture; 0: none
    bool vsync = false;          // swaps wait for the display's refresh
    bool headless = false;       // render off screen (no display needed)
    bool debugContext = false;   // ask for a GL debug context (error messages from the driver)
    bool openGLES = false;       // an OpenGL ES 3.0 context instead of a compatibility one
    // Called once the context is current, before anything is drawn: a layer that draws
    // through this context fills the GL table (platform/gl.h) here. False, with the reason in
    // `error`, when it cannot; the window is then closed again. Null for none.
    bool (*installLayer)(std::string& error) = nullptr;
    const char* title = "Aplikacja OpenGL";
};

// Why opening failed, for the shell's one-line message.
struct WindowError {
    std::string message;
};

// Opens the window and makes a compatibility-profile GL context (or an OpenGL ES 3.0 one) current on it. False when
// there is no way to show or render a window; `error` then says why.
bool OpenWindow(const WindowOptions& options, WindowError& error);

// True between a successful OpenWindow and CloseWindow.
bool IsWindowOpen();

// Counts the GL contexts made so far in this process: the number changes with each new one, and
// GL names made under one context name nothing under the next.
unsigned ContextGeneration();

// True when a real display (not the offscreen driver) is in use.
bool HasDisplay();

// Restores the display mode that was in force before OpenWindow (harmless when none changed).
void RestoreDisplayMode();

// Releases the GL context and closes the window. False when the context could not be released.
bool CloseWindow();

// What the message loop found waiting.
enum class WindowMessage {
    None,        // queue empty: time for a frame
    Destroy,     // the window was closed
    Escape,      // the Escape key went down
    AudioLost,   // the audio output device went away
    Screenshot,  // F12 went down
    Pause,       // Space: pause or resume
    Back,        // Left: five seconds back
    Forward,     // Right: five seconds on
    PreviousScene,   // Page Up: the start of the scene before
    NextScene,   // Page Down: the start of the next scene
    Home,        // Home: the start of the timeline
    StepFrame,   // '.': one frame on while paused
    TimeBar,     // Tab: show or hide the time line
    SeekTo,      // a seek to the demo time that comes with it (sent by the page around the program)
    Tap,         // a finger touched the screen, at the place that comes with it
    Other,       // anything else; handled and dropped
};

// What comes with a message: the demo time of SeekTo; the place of a Tap in the picture's
// 640 × 480 overlay space (origin at the bottom left; outside 0..640 × 0..480 on the bars).
struct MessageDetail {
    double seconds = 0.0;
    float x = 0.0f;
    float y = 0.0f;
};

// Takes one pending message, if there is one: first those queued with QueueWindowMessage, then
// the system's. `detail`, when given, receives what comes with it.
WindowMessage PeekWindowMessage(MessageDetail* detail = nullptr);

// Queues a message as if the system had sent it; it comes before any the system has waiting.
void QueueWindowMessage(WindowMessage message, const MessageDetail& detail = {});

// Shows the finished picture (copied into the window's 4:3 rectangle when it was drawn off
// screen), then picks the target of the next frame for the window's current size.
void SwapBuffers();

// Wall-clock seconds spent so far showing pictures (the copy and the driver's swap, which waits
// for the picture's rendering to finish), summed over every SwapBuffers.
double SwapSeconds();

// While presenting is off (catching up to a start time), swaps do nothing, not even the hook.
void SetPresenting(bool on);

// Called first before every swap, to draw over the finished picture (the player's time line);
// null for none.
void SetOverlayHook(void (*hook)());

// Called just before every swap, with the finished picture still in the back buffer; null for none.
void SetBeforeSwapHook(void (*hook)());

// A second hook, called after that one (the screenshot's); null for none.
void SetSnapshotHook(void (*hook)());

// The size in pixels of what the window shows (0 x 0 without a window).
void DrawableSize(int& width, int& height);

// Between a window and full screen, as Alt+Enter does.
void ToggleFullScreen();

// Entry point of a GL function; null when there is none by that name. While a layer fills the GL
// table, it answers alone.
void* GetGLProcAddress(const char* name);

// Entry point of a function of the context's own driver, whatever fills the GL table.
void* GetDriverGLProcAddress(const char* name);

// The entry point `name` into a pointer of its own function type (null when there is none).
template <typename Pointer>
void FindGLProc(Pointer& pointer, const char* name) {
    pointer = reinterpret_cast<Pointer>(GetGLProcAddress(name));
}

// A message box: always one line on stderr, plus a dialog where a display exists.
void ShowMessageBox(const char* text, const char* caption);

}  // namespace platform
