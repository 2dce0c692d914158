// effects/cloud_layers.h — seven translucent cloud sheets stacked under each other, drifting.
#pragma once

#include "platform/gl.h"

// Where the drift stands; one copy for the whole run, never reset.
struct CloudDrift {
    float scroll = 0.0f;   // sideways offset of the cloud texture, 0..1
};
extern CloudDrift cloudDrift;

// Advances cloudDrift.scroll by 0.025 per second of `frameTime` and draws the seven layers of
// `texture`, from 0.5 above the current origin down to 2.8 below it, added to the picture
// without writing depth. Leaves blending off and the model-view matrix selected.
void DrawCloudLayers(GLuint texture, float frameTime);

// One 40 × 40 layer in the plane y = 0, centred on the origin, as three strips of 3 × 3 cells;
// texture coordinates run from (s0, t0) at (-20, -20) to (s1, t1) at (20, 20). The border
// vertices are black and the four inner ones grey, so the layer fades out at its edges.
void DrawCloudLayer(GLuint texture, float s0, float s1, float t0, float t1);
