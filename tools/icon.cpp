// tools/icon.cpp — the program's 256 × 256 icon: the chrome ball of the first scene over its
// mirror floor, in front of the spiral background, on a rounded tile.
#include <cmath>

#include "tools/png_writer.h"
#include "tools/scene_one_pictures.h"
#include "tools/sphere_map.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

constexpr int kSize = 256;
constexpr float kCorner = 44.0f;   // radius of the tile's rounded corners
constexpr float kMargin = 8.0f;
constexpr float kBallX = 128.0f, kBallY = 114.0f, kBallRadius = 76.0f;
constexpr float kFloorY = kBallY + kBallRadius;   // the ball stands on the floor

// Coverage of pixel (x, y) by the rounded tile, with a one-pixel soft edge.
float TileCoverage(float x, float y) {
    const float low = kMargin + kCorner, high = kSize - kMargin - kCorner;
    const float dx = std::max(0.0f, std::max(low - x, x - high));
    const float dy = std::max(0.0f, std::max(low - y, y - high));
    return Clamp01(kCorner + 0.5f - std::sqrt(dx * dx + dy * dy));
}

// The ball's sphere map seen head on is the ball itself: texel (s, t) is the point of the disc.
Colour BallColour(const Picture& sphereMap, float x, float y) {
    const float s = (x - (kBallX - kBallRadius)) / (2 * kBallRadius);
    const float t = (y - (kBallY - kBallRadius)) / (2 * kBallRadius);
    const int px = std::min(sphereMap.width - 1, std::max(0, static_cast<int>(s * sphereMap.width)));
    const int py = std::min(sphereMap.height - 1, std::max(0, static_cast<int>(t * sphereMap.height)));
    return sphereMap.Get(px, py);
}

Picture DrawIcon() {
    const Picture background = SceneOneBackground();
    const Picture sphereMap = RenderSphereMap(static_cast<int>(2 * kBallRadius), SceneOneEnvironment, 3);
    Picture icon(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            // The background layer brightened (in the demo three copies add up) and tinted violet.
            const Colour layer = background.Get(x * background.width / kSize, y * background.height / kSize);
            Colour c = layer * Colour{2.4f, 2.1f, 2.8f} + Colour{0.04f, 0.02f, 0.08f};
            if (fy > kFloorY) {
                // The mirror floor: darker, with the ball reflected and fading with depth.
                const float depth = (fy - kFloorY) / (kSize - kFloorY);
                c = c * 0.35f + Colour{0.03f, 0.02f, 0.06f};
                const float mirroredY = 2 * kFloorY - fy;
                const float rx = fx - kBallX, ry = mirroredY - kBallY;
                const float inside = Clamp01(kBallRadius + 0.5f - std::sqrt(rx * rx + ry * ry));
                c = Mix(c, BallColour(sphereMap, fx, mirroredY) * 0.55f, inside * (1.0f - depth) * 0.8f);
            }
            // A soft light under the ball where it meets the floor.
            const float gx = (fx - kBallX) / (kBallRadius * 1.2f), gy = (fy - kFloorY) / 10.0f;
            c += Colour{0.25f, 0.35f, 0.5f} * std::exp(-(gx * gx + gy * gy));
            const float bx = fx - kBallX, by = fy - kBallY;
            const float onBall = Clamp01(kBallRadius + 0.5f - std::sqrt(bx * bx + by * by));
            c = Mix(c, BallColour(sphereMap, fx, fy), onBall);
            icon.Set(x, y, c, TileCoverage(fx, fy));
        }
    }
    return icon;
}

}  // namespace

bool WriteIcon(const std::string& root) { return WritePNG(root, "undertow.png", DrawIcon()); }

}  // namespace assets
