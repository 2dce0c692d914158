// gl_layers/vertex_array_range.h — the vertex-array-range group (GL_NV_vertex_array_range with
// GL_NV_fence) over ordinary memory, for drivers that lack it. The block is memory we allocate,
// the range and its client state are accepted and change nothing, and fences complete at once:
// the driver reads client arrays during the draw call itself, so nothing is ever pending.
//
// GL_VERTEX_ARRAY_RANGE_NV is typed here so that the client-state calls naming it reach the
// overloads at the end of this file; they hand it to the driver when the group is the driver's.
#pragma once

#include "platform/gl.h"

namespace gl_layers {

// Routes the range's client state to our no-ops from now on; RemoveVertexArrayRange undoes it.
void InstallVertexArrayRange();
void RemoveVertexArrayRange();
bool VertexArrayRangeInstalled();

// The stand-ins for the group's entry points, with the signatures of the driver's.
void* AllocateMemory(GLsizei size, GLfloat readFrequency, GLfloat writeFrequency, GLfloat priority);
void FreeMemory(void* pointer);
void VertexArrayRange(GLsizei length, const void* pointer);
void GenFences(GLsizei count, GLuint* fences);
void DeleteFences(GLsizei count, const GLuint* fences);
void SetFence(GLuint fence, GLenum condition);
GLboolean TestFence(GLuint fence);
void FinishFence(GLuint fence);
GLboolean IsFence(GLuint fence);
void GetFenceiv(GLuint fence, GLenum name, GLint* values);

// The range's client state, a type of its own.
enum class RangeArray : GLenum { VertexArrayRange = 0x851D };

void EnableClientState(RangeArray array);
void DisableClientState(RangeArray array);

}  // namespace gl_layers

#undef GL_VERTEX_ARRAY_RANGE_NV
inline constexpr gl_layers::RangeArray GL_VERTEX_ARRAY_RANGE_NV = gl_layers::RangeArray::VertexArrayRange;

inline void glEnableClientState(gl_layers::RangeArray array) { gl_layers::EnableClientState(array); }
inline void glDisableClientState(gl_layers::RangeArray array) { gl_layers::DisableClientState(array); }
