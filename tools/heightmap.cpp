// tools/heightmap.cpp — teren.BMP, the grey height map the sea section turns into swell.
//
// The sea grid samples only 25 × 25 points of the picture and grey 128 is sea level, each grey
// step 0.05 units; the camera hangs 3.5 units above the water, so the swell keeps within about
// ±25 grey levels and varies over several grid cells.
#include <cmath>

#include "tools/bmp_writer.h"
#include "tools/noise.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

// 128 pixels: 384-byte rows carry no padding, so any reader takes the rows alike.
constexpr int kSize = 128;

Picture Heightmap() {
    Picture picture(kSize, kSize);
    picture.Shade([](float u, float v) {
        // Two long swells crossing at an angle, plus gentle irregularity.
        const float swell = 0.55f * std::sin((u * 3 + v * 1) * kTwoPi) + 0.35f * std::sin((u * -1 + v * 2.5f) * kTwoPi + 1.3f);
        const float rough = 0.35f * PeriodicFbm(u * 3, v * 3, 3, 2, 0.4f, 131u);
        const float grey = (128.0f + 20.0f * (swell + rough)) / 255.0f;
        return Colour{grey, grey, grey};
    });
    return picture;
}

}  // namespace

bool WriteHeightmap(const std::string& root) { return WriteBMP(root, "TEKSTURY/teren.BMP", Heightmap()); }

}  // namespace assets
