// tools/sphere_map.h — renders environment pictures in the layout of GL sphere-map texturing.
#pragma once

#include <functional>

#include "tools/picture.h"

namespace assets {

// The colour seen in an eye-space direction (x right, y up, z towards the viewer).
using Environment = std::function<Colour(Vec3 direction)>;

// A square sphere map: texel (s, t) holds the environment in the direction a mirror ball
// reflects there, as GL_SPHERE_MAP looks it up, with `samples` × `samples` rays per texel (at
// least 3 × 3 near the rim, where directions change fastest); outside the disc the picture
// continues with the directions just around straight behind the ball.
Picture RenderSphereMap(int size, const Environment& environment, int samples);

}  // namespace assets
