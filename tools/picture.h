// tools/picture.h — an RGBA picture in floating point that the texture generators paint into.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/vec.h"

namespace assets {

// Channels are nominally 0..1; the writers clamp. Row 0 is the top of the picture.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;   // 4 floats per pixel, rows top to bottom

    Picture(int w, int h);

    Colour Get(int x, int y) const;
    float Alpha(int x, int y) const { return rgba[Index(x, y) + 3]; }
    void Set(int x, int y, Colour c, float alpha = 1.0f);
    void SetAlpha(int x, int y, float alpha) { rgba[Index(x, y) + 3] = alpha; }
    // Adds light to a pixel; coordinates wrap around, so splats tile.
    void AddWrapped(int x, int y, Colour c);
    // Lays `c` over the pixel with coverage `amount` (0..1).
    void Blend(int x, int y, Colour c, float amount);

    // Calls colour(u, v) for every pixel centre, u and v in 0..1 (v = 0 at the top).
    template <class Shader>
    void Shade(Shader colour) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                Set(x, y, colour((x + 0.5f) / width, (y + 0.5f) / height));
    }

    std::size_t Index(int x, int y) const { return (static_cast<std::size_t>(y) * width + x) * 4; }
};

// Adds a soft round spot of light, wrapping at the edges (stars, glints).
void AddGlow(Picture& picture, float cx, float cy, float radius, Colour colour);

// Box blur of the colour channels, `radius` pixels each way, `passes` times (approaches a
// Gaussian); wraps at the edges when `wrap` is set, otherwise clamps.
void Blur(Picture& picture, int radius, int passes, bool wrap);

}  // namespace assets
