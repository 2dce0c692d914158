// tools/textures_loading_bar.cpp — the progress-bar frame (pasek1) and its glowing filling (pasek2).
#include <cmath>

#include "tools/bmp_writer.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

// The filling is cut at 41 + 56k pixels and may reach 601, so the frame's right border must
// fit in the three pixels beyond that.
constexpr int kWidth = 604;
constexpr int kHeight = 40;
constexpr float kBorder = 3.0f;
constexpr float kCorner = 9.0f;

// Signed distance from pixel centre (x, y) to the outline of the bar, negative inside.
float OutlineDistance(float x, float y) {
    const float hx = kWidth / 2.0f, hy = kHeight / 2.0f;
    const float qx = std::fabs(x - hx) - (hx - kCorner);
    const float qy = std::fabs(y - hy) - (hy - kCorner);
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - kCorner;
}

// Paints the rim shared by both pictures and returns the interior coverage (0..1) of each pixel.
void PaintRim(Picture& picture, std::vector<float>& interior) {
    interior.assign(static_cast<std::size_t>(kWidth) * kHeight, 0.0f);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const float d = OutlineDistance(x + 0.5f, y + 0.5f);
            const float outside = Clamp01(d + 0.5f);                  // beyond the outline
            const float inner = Clamp01(-(d + kBorder) + 0.5f);       // inside the rim
            const float rim = 1.0f - outside - inner;
            // A bevel: bright along the top, dim along the bottom, a thin dark outer line.
            const float light = Mix(0.95f, 0.45f, static_cast<float>(y) / kHeight);
            const float outerLine = Clamp01(1.0f - std::fabs(d + 0.5f));
            Colour steel = Colour{0.55f, 0.68f, 0.85f} * light;
            steel = Mix(steel, Colour{0.18f, 0.22f, 0.32f}, outerLine * 0.6f);
            picture.Set(x, y, steel * std::max(rim, 0.0f));
            interior[static_cast<std::size_t>(y) * kWidth + x] = inner;
        }
}

Picture Frame() {
    Picture picture(kWidth, kHeight);
    std::vector<float> interior;
    PaintRim(picture, interior);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const float inside = interior[static_cast<std::size_t>(y) * kWidth + x];
            if (inside <= 0) continue;
            // Dark glass with a faint sheen near the top and fine scan lines.
            const float v = (y + 0.5f) / kHeight;
            Colour glass = Colour{0.02f, 0.03f, 0.07f} + Colour{0.05f, 0.07f, 0.12f} * std::exp(-std::pow((v - 0.22f) / 0.1f, 2.0f));
            if (y % 2 == 0) glass = glass * 0.8f;
            // Small notches where the filling stops at each tenth.
            for (int step = 41; step <= 601; step += 56)
                if (x == step - 1 && (y < 8 || y >= kHeight - 8)) glass = glass + Colour{0.12f, 0.16f, 0.24f};
            picture.Set(x, y, picture.Get(x, y) + glass * inside);
        }
    return picture;
}

Picture Filling() {
    Picture picture(kWidth, kHeight);
    std::vector<float> interior;
    PaintRim(picture, interior);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const float inside = interior[static_cast<std::size_t>(y) * kWidth + x];
            if (inside <= 0) continue;
            // A glowing tube: white-cyan core, blue edges, the hue warming slightly to the right.
            const float v = (y + 0.5f) / kHeight - 0.5f;
            const float u = (x + 0.5f) / kWidth;
            const float core = std::exp(-v * v / 0.012f);
            const float body = std::exp(-v * v / 0.09f);
            const Colour edge = Mix(Colour{0.05f, 0.25f, 0.75f}, Colour{0.1f, 0.45f, 0.85f}, u);
            Colour glow = edge * (0.35f + 0.65f * body) + Colour{0.65f, 0.9f, 1.0f} * (0.85f * core);
            // Slanted bands give the filling a sense of motion.
            const float band = 0.5f + 0.5f * std::sin((x + y * 0.8f) * kTwoPi / 22.0f);
            glow = glow * (0.88f + 0.12f * band);
            // A highlight line along the top of the tube.
            glow = glow + Colour{0.3f, 0.35f, 0.4f} * std::exp(-std::pow((v + 0.3f) / 0.04f, 2.0f));
            picture.Set(x, y, picture.Get(x, y) * (1 - inside) + glow * inside);
        }
    return picture;
}

}  // namespace

bool WriteLoadingBar(const std::string& root) {
    return WriteBMP(root, "TEKSTURY/pasek1.BMP", Frame()) && WriteBMP(root, "TEKSTURY/pasek2.BMP", Filling());
}

}  // namespace assets
