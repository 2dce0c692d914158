// effects/sun.h — the sun of the outdoor sky: a quad that always faces the camera.
#pragma once

#include "platform/gl.h"

// Draws `texture` on a 5.5 × 5.5 eye-space square centred on the current origin, added to
// what is below it. The caller has switched the depth test off and 2D texturing on.
void DrawSun(GLuint texture);
