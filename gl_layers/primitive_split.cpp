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
            // GL takes a flat polygon's colour from its first vertex, ES a triangle's from its
            // last: the fan's triangles turned so that the first vertex comes last in each.
            split = true;
            for (GLsizei i = 2; i < count; ++i)
                for (GLsizei k : {i - 1, i, 0}) indices.push_back(at(k));
            return GL_TRIANGLES;
        default:
            return mode;
    }
}

}  // namespace gl_layers
