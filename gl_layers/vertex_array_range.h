// gl_layers/vertex_array_range.h — the vertex-array-range group (GL_NV_vertex_array_range with
// GL_NV_fence) over ordinary memory, for drivers that lack it. The block is memory we allocate,
// the range and its client state are accepted and change nothing, and fences complete at once:
// the driver reads client arrays during the draw call itself, so nothing is ever pending.
//
// The client-state calls naming GL_VERTEX_ARRAY_RANGE_NV reach the layer through
// gl_layers/token_routes.h while it stands in; otherwise they go to the driver.
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

}  // namespace gl_layers
