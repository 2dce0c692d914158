// tools/star_field.h — scatters stars over a picture so that it still tiles.
#pragma once

#include <cstdint>

#include "tools/picture.h"

namespace assets {

// Adds `count` stars: mostly faint pin-points, a few bright ones with soft cross-shaped spikes.
// Glows wrap at the edges, so a tiling picture keeps tiling.
void AddStars(Picture& picture, int count, std::uint64_t seed, float brightness);

}  // namespace assets
