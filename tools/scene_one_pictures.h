// tools/scene_one_pictures.h — pictures of the first scene that other pictures reuse.
#pragma once

#include "tools/picture.h"

namespace assets {

// What the chrome object reflects, by eye-space direction.
Colour SceneOneEnvironment(Vec3 direction);

// The spiral background layer (512 × 512).
Picture SceneOneBackground();

}  // namespace assets
