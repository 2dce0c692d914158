// effects/caustics.h — the caustic animation: 32 pictures cycled into one texture.
#pragma once

#include "image/image.h"
#include "platform/gl.h"

constexpr int kCausticFrameCount = 32;
// Seconds each caustic picture stays before the next replaces it.
constexpr float kCausticInterval = 0.025f;

// Where the animation stands; one copy for the whole run, never reset: it carries on from where
// it was, whichever frame draws it.
struct CausticAnimation {
    float timer = kCausticInterval;   // seconds before the next picture
    int index = 0;                    // the picture last made current
};
extern CausticAnimation causticAnimation;

// Reads TEKSTURY\WODA\Caust0.BMP .. Caust31.BMP into `frames`. A picture that is not a 24-bit
// image of exactly the size of `texture`'s level 0 could not be copied into it, so it is left
// empty and named in one line on stderr; a missing file is named by the reader.
void LoadCausticFrames(Image (&frames)[kCausticFrameCount], GLuint texture);

// Counts the frame time down; when the interval has run out, starts it again (the overshoot is
// dropped) and copies the next picture into the texture bound to GL_TEXTURE_2D. So at most one
// picture changes per call. An empty picture is stepped over without touching the texture.
void AdvanceCaustics(float frameTime, const Image (&frames)[kCausticFrameCount]);

// The picture last made current: 0 at start-up, then 1, 2 … 31, 0 … for the whole program.
inline int CausticFrameIndex() { return causticAnimation.index; }
