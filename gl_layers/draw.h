// gl_layers/draw.h — one draw of the layer: the ES program and state for the current
// fixed-function state, vertex data in ES buffers, and the primitives GL 1.x has and ES has not.
#pragma once

#include <cstdint>
#include <vector>

#include "gl_layers/fixed_state.h"

namespace gl_layers {

// Where one attribute of a draw's vertices lies in the bound array buffer.
struct AttributeSource {
    bool fromBuffer = false;   // otherwise the current value
    GLint size = 4;
    GLenum type = GL_FLOAT;
    GLboolean normalized = GL_FALSE;
    GLsizei stride = 0;
    std::uintptr_t offset = 0;
};

using AttributeSources = AttributeSource[kAttributeCount];

// The ES primitive for a GL one, and for quads, quad strips and polygons the triangles they are
// split into, as the desktop rasterizer splits them (the last vertex of each quad, and the first
// of a polygon, last in each of its triangles, so flat shading takes the same colour as on the
// desktop): `indices` maps the triangles' vertices
// to the given ones (first .. first + count - 1, or the entries of `given`).
GLenum SplitPrimitive(GLenum mode, GLsizei count, const std::vector<std::uint32_t>* given,
                      std::vector<std::uint32_t>& indices, bool& split);

// Draws with the current state: `esMode` primitives, from the array buffer `buffer` as
// `sources` say, indexed (32-bit indices at `indexOffset` of the element buffer) when
// `indexCount` > 0, else `arrayCount` vertices from `first`.
void DrawWith(GLuint buffer, const AttributeSources& sources, GLenum esMode, GLsizei arrayCount, GLint first,
              GLsizei indexCount, std::uintptr_t indexOffset);

// Copies bytes into the streaming array or element buffer, returning where they lie.
std::uintptr_t StreamVertices(const void* data, std::size_t bytes);
std::uintptr_t StreamIndices(const std::uint32_t* indices, std::size_t count);
GLuint VertexStream();

// Applies the render state (blending, depth, culling, scissor, viewport, masks) to ES.
void ApplyRenderState();

// ES objects the draws use, made at install and freed at release.
void MakeDrawObjects();
void ReleaseDrawObjects();

// Turns every vertex attribute array off (before a pass of the layer's own).
void DisableAllArrays();

// Forgets which ES state was last applied (after the layer's own passes changed it).
void ForgetAppliedState();

}  // namespace gl_layers
