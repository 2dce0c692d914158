// effects/lens_flare.h — the occlusion-tested lens flare of the outdoor sun.
//
// Every frame the flare works out where the sun's centre lands on the screen (the point
// transform GL would apply) and whether anything was drawn over it (one depth value read
// back), fades its visibility towards the answer, and draws in the 640 × 480 overlay space: three rings of
// flickering rays and a glow around the sun, and a chain of rings on the line from the sun
// through the screen centre.
#pragma once

#include <cstdint>

#include "platform/gl.h"

// What the flare keeps from frame to frame: one set for the whole run, never reset.
struct LensFlareState {
    float sunVisibility = 0.0f;   // 0..1: brightness of the glow and reach of the rays
    float noiseBlend = 0.0f;      // 0..1 between previousNoise and nextNoise
    float previousNoise[256] = {};   // whole numbers 0..63
    float nextNoise[256] = {};       // whole numbers 0..63
    bool firstNoise = true;       // neither noise array has been filled yet
};
extern LensFlareState lensFlare;

// The textures the flare draws with.
struct LensFlareTextures {
    GLuint rayNoise;   // 1D, 256 luminance texels: the brightness of the rays
    GLuint ring;       // the rings of the chain
    GLuint glow;       // the glow laid on the sun
};

// The bytes of the ray-noise texture, as last uploaded.
using RayNoiseTexels = std::uint8_t[256];

// Tests the sun at the current origin and draws the flare for it (see the file comment).
// Loads the identity into the model-view matrix, so the caller brackets it with
// glPushMatrix/glPopMatrix; the depth buffer must already hold everything that can hide the
// sun. Off screen nothing is drawn and the visibility keeps its value.
void DrawLensFlare(const LensFlareTextures& textures, RayNoiseTexels& texels, float frameTime);

// Window coordinates of the current origin under the current matrices and viewport; false
// when the point lies outside the view volume.
bool FindSunOnScreen(float& x, float& y);

// Moves window pixel (x, y) inside the viewport, as the depth read under the sun does.
void KeepInsideViewport(int& x, int& y);

// The one value the flare reads back: the depth at window pixel (x, y), with the pixel kept
// inside the viewport. 1.0 means nothing has been drawn there since the clear.
float ReadDepthUnderSun(int x, int y);

// Moves the ray noise on by `frameTime` (new targets every two thirds of a second, reached
// linearly), writes it into `texels` and uploads them into the bound 1D texture.
void UpdateRayNoise(RayNoiseTexels& texels, float frameTime);

// One ring of 36 rays around (x, y) in overlay space, white at `inner`, black at `outer`,
// starting at angle `phase`; the bound 1D texture sets each ray's brightness.
void DrawRayFan(float x, float y, float outer, float inner, float phase);

// One textured square of half size `h` centred on (x, y) in overlay space; a negative `h`
// mirrors it.
void DrawFlareQuad(float x, float y, float h);
