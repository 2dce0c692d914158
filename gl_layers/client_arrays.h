// gl_layers/client_arrays.h — glVertexPointer and its relatives, and the array draws.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY VertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
void APIENTRY NormalPointer(GLenum type, GLsizei stride, const GLvoid* pointer);
void APIENTRY ColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
void APIENTRY TexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
void APIENTRY WeightPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void APIENTRY ClientActiveTexture(GLenum unit);
void APIENTRY EnableClientState(GLenum array);
void APIENTRY DisableClientState(GLenum array);
void APIENTRY DrawArrays(GLenum mode, GLint first, GLsizei count);
void APIENTRY DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices);
void APIENTRY DrawRangeElements(GLenum mode, GLuint start, GLuint end, GLsizei count, GLenum type,
                                const GLvoid* indices);
// GL_EXT_compiled_vertex_array: every draw copies what it uses, so locking changes nothing.
void APIENTRY LockArrays(GLint first, GLsizei count);
void APIENTRY UnlockArrays();

}  // namespace gl_layers
