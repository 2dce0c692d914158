// tools/relief.h — lights a height field so flat textures read as rough surfaces.
#pragma once

#include <vector>

#include "tools/picture.h"

namespace assets {

// A height per pixel, rows top to bottom, `width` × `height`.
struct HeightField {
    int width = 0;
    int height = 0;
    std::vector<float> values;

    float At(int x, int y) const;   // wraps around
};

// Multiplies every pixel by the light a unit-strength lamp from the upper left casts on the
// surface: `ambient` + `diffuse` × max(0, n·l), with the normal from the field's slopes times
// `bumpiness`. The field wraps, so tiling pictures keep tiling.
void ApplyRelief(Picture& picture, const HeightField& field, float bumpiness, float ambient, float diffuse);

}  // namespace assets
