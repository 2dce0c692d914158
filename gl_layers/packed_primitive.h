// gl_layers/packed_primitive.h — a primitive's vertices packed for ES, as immediate mode and
// display lists keep them: the position and only the attributes that vary from vertex to
// vertex; the others are the current values when it is drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "gl_layers/draw.h"

namespace gl_layers {

// One vertex with every attribute it may carry.
struct FullVertex {
    float position[4];
    float normal[3];
    float color[4];
    float weight;
    float tex[kUnits][4];
};

struct PackedPrimitive {
    GLenum mode = GL_POINTS;
    GLsizei count = 0;
    unsigned varying = 0;            // bit per Attribute that travels per vertex
    std::vector<float> data;
    AttributeSources sources;        // offsets from the start of `data`
    std::uintptr_t base = 0;         // where `data` lies in a list's buffer
};

// Packs `vertices` with the attributes of `varying` (bits by Attribute) beside the position.
PackedPrimitive Pack(GLenum mode, const std::vector<FullVertex>& vertices, unsigned varying);

// Draws a packed primitive whose data lies at `base` of `buffer`.
void DrawPacked(const PackedPrimitive& p, GLuint buffer, std::uintptr_t base);

}  // namespace gl_layers
