// capture/frame_readback.h — reads each finished picture back from the GL, one step behind.
//
// Grab, called just before a swap, starts copying the back buffer into one of two pixel
// buffers (or, without them, copies it at once into one of two buffers in memory); the picture of a step is fetched only at the next step, so the copy can finish
// while the next frame renders. Without pixel buffers the copy is made at once.
#pragma once

#include <cstdint>
#include <vector>

class FrameReadback {
public:
    FrameReadback() = default;
    ~FrameReadback();
    FrameReadback(const FrameReadback&) = delete;
    FrameReadback& operator=(const FrameReadback&) = delete;

    // Sizes the pictures (the internal picture's size) and makes the pixel buffers when the
    // driver offers them (needs a current context).
    void Begin(int width, int height);
    // Starts reading the back buffer; a later grab in the same step replaces an earlier one.
    void Grab();
    // Ends a step. Returns the picture of the step before (BGRA, bottom row first), or null
    // for the first step; a step in which nothing was grabbed shows the last picture again.
    const std::uint8_t* EndStep();
    // The picture of the last step ended, once everything has been drawn.
    const std::uint8_t* Finish();
    // Frees the pixel buffers (needs the context still current).
    void End();

    bool UsesPixelBuffers() const { return buffers[0] != 0; }
    int Width() const { return width; }
    int Height() const { return height; }

private:
    void Resolve();
    std::size_t Bytes() const { return static_cast<std::size_t>(width) * height * 4; }

    int width = 640;
    int height = 480;

    unsigned buffers[2] = {0, 0};
    int nextBuffer = 0;
    int grabbedThisStep = -1;   // buffer written in the current step, or -1
    int pendingBuffer = -1;     // buffer holding the ended step's picture, not yet fetched
    bool stepPending = false;   // a step has ended whose picture was not yet returned
    std::vector<std::uint8_t> staging[2];   // the two buffers in memory when the GL has none
    std::vector<std::uint8_t> picture = std::vector<std::uint8_t>(Bytes(), 0);
};
