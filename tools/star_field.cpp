// tools/star_field.cpp — star placement, brightness distribution and spikes.
#include "tools/star_field.h"

#include <cmath>

#include "tools/noise.h"

namespace assets {

void AddStars(Picture& picture, int count, std::uint64_t seed, float brightness) {
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const float x = random.Uniform(0, static_cast<float>(picture.width));
        const float y = random.Uniform(0, static_cast<float>(picture.height));
        // Many dim stars, few bright ones.
        const float magnitude = std::pow(random.Uniform(0, 1), 6.0f);
        const float tint = random.Uniform(-1, 1);
        const Colour colour = tint > 0 ? Mix(Colour{1, 1, 1}, Colour{0.7f, 0.82f, 1.0f}, tint)
                                       : Mix(Colour{1, 1, 1}, Colour{1.0f, 0.85f, 0.65f}, -tint);
        const float level = brightness * (0.25f + 2.2f * magnitude);
        AddGlow(picture, x, y, 0.55f + 0.9f * magnitude, colour * level);
        if (magnitude > 0.35f) {
            // Diffraction spikes along the axes.
            const int reach = static_cast<int>(4 + 14 * magnitude);
            for (int d = 1; d <= reach; ++d) {
                const float fall = level * 0.35f * std::pow(1.0f - static_cast<float>(d) / (reach + 1), 2.0f);
                const int cx = static_cast<int>(x), cy = static_cast<int>(y);
                picture.AddWrapped(cx + d, cy, colour * fall);
                picture.AddWrapped(cx - d, cy, colour * fall);
                picture.AddWrapped(cx, cy + d, colour * fall);
                picture.AddWrapped(cx, cy - d, colour * fall);
            }
        }
    }
}

}  // namespace assets
