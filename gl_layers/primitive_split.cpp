// gl_layers/primitive_split.cpp — the GL 1.x primitives ES lacks, as the triangles the desktop
// rasterizer makes of them.
#include "gl_layers/draw.h"

namespace gl_layers {

GLenum SplitPrimitive(GLenum mode, GLsizei count, const std::vector<std::uint32_t>* given,
                      std::vector<std::uint32_t>& indices, bool& split) {
    auto at = [&](GLsizei i) { return given ? (*given)[static_cast<std::size_t>(i)] : static_cast<std::uint32_t>(i); };
    split = false;
    indices.clear();
    switch (mode) {
        case GL_QUADS:
            split = true;
            for (GLsizei i = 3; i < count; i += 4)
                for (GLsizei k : {i - 3, i - 2, i, i - 2, i - 1, i}) indices.push_back(at(k));
            return GL_TRIANGLES;
        case GL_QUAD_STRIP:
            split = true;
            for (GLsizei i = 3; i < count; i += 2)
                for (GLsizei k : {i - 3, i - 2, i, i - 1, i - 3, i}) indices.push_back(at(k));
            return GL_TRIANGLES;
        case GL_POLYGON:
            return GL_TRIANGLE_FAN;
        default:
            return mode;
    }
}

}  // namespace gl_layers
