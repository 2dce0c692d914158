// scenes/background_layers.h — scene one's rotating background layers drawn in one pass.
//
// Each layer is a square turned about the screen's centre that covers the whole 640 × 480
// picture: the background picture tinted by the layer's colour plus the star picture, the
// later layers added over the first. Where the driver has two texture units per layer and a
// stage that adds a tinted texture to what came before (GL_ATI_texture_env_combine3), the whole
// stack is one full-screen quad: every term is non-negative and each stage saturates, so the
// sum is the one that the separate additive passes leave in the picture.
#pragma once

#include "platform/gl.h"

// One layer: its angle in degrees and its tint.
struct BackgroundLayer {
    float angle;
    float red, green, blue;
};

// The texture coordinates of screen point (x, y) in a layer turned by `angle` degrees.
void BackgroundLayerTexCoord(float angle, float x, float y, float& s, float& t);

// How many layers the current context can draw in one pass (0 when it has no such stage).
int BackgroundLayersInOnePass();

// Draws the layers in one pass in the 640 × 480 overlay space: `background` and `stars` are
// the two pictures. Unit 0 keeps the environment mode it has; unit 1 is left disabled with the
// stars bound for adding, as the separate passes leave it; the units above it are left as a
// context starts them. Unit 0 is active afterwards.
void DrawBackgroundInOnePass(const BackgroundLayer* layers, int count, GLuint background, GLuint stars);

// While it lives, `background` and `stars` are filtered without their mipmaps where every layer
// magnifies them on every pixel of the viewport: the mipmaps are not read there, so the picture
// is the same, and the sampler skips choosing a level. The filters come back at the end, and
// the active unit's binding with them.
class MagnifiedLayerFilter {
public:
    MagnifiedLayerFilter(GLuint background, GLuint stars);
    ~MagnifiedLayerFilter();
    MagnifiedLayerFilter(const MagnifiedLayerFilter&) = delete;
    MagnifiedLayerFilter& operator=(const MagnifiedLayerFilter&) = delete;

private:
    GLuint textures[2];
    GLint filters[2] = {};
    bool changed = false;
};
