// gl_layers/gles_calls.h — the OpenGL ES 3.0 functions our OpenGL 1.x layer draws with.
//
// The layer reaches the ES driver only through this table, filled by name from the context's
// driver (platform::GetDriverGLProcAddress), so the program never links an ES library beside
// the desktop one. Only calls that WebGL 2 also has are listed: no client-side arrays, no
// buffer mapping, no depth read-back.
#pragma once

#include <string>

#include "platform/gl.h"

#define UNDERTOW_ES_CALLS(X) \
    X(void, ActiveTexture, (GLenum texture)) \
    X(void, AttachShader, (GLuint program, GLuint shader)) \
    X(void, BindAttribLocation, (GLuint program, GLuint index, const GLchar* name)) \
    X(void, BindBuffer, (GLenum target, GLuint buffer)) \
    X(void, BindFramebuffer, (GLenum target, GLuint framebuffer)) \
    X(void, BindRenderbuffer, (GLenum target, GLuint renderbuffer)) \
    X(void, BindTexture, (GLenum target, GLuint texture)) \
    X(void, BindVertexArray, (GLuint array)) \
    X(void, BlendFunc, (GLenum sfactor, GLenum dfactor)) \
    X(void, BlitFramebuffer, (GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0, GLint dstX1, GLint dstY1, GLbitfield mask, GLenum filter)) \
    X(void, BufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage)) \
    X(void, BufferSubData, (GLenum target, GLintptr offset, GLsizeiptr size, const void* data)) \
    X(GLenum, CheckFramebufferStatus, (GLenum target)) \
    X(void, Clear, (GLbitfield mask)) \
    X(void, ClearColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)) \
    X(void, ClearDepthf, (GLfloat depth)) \
    X(void, ColorMask, (GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha)) \
    X(void, CompileShader, (GLuint shader)) \
    X(GLuint, CreateProgram, (void)) \
    X(GLuint, CreateShader, (GLenum type)) \
    X(void, CullFace, (GLenum mode)) \
    X(void, DeleteBuffers, (GLsizei n, const GLuint* buffers)) \
    X(void, DeleteFramebuffers, (GLsizei n, const GLuint* framebuffers)) \
    X(void, DeleteProgram, (GLuint program)) \
    X(void, DeleteRenderbuffers, (GLsizei n, const GLuint* renderbuffers)) \
    X(void, DeleteShader, (GLuint shader)) \
    X(void, DeleteTextures, (GLsizei n, const GLuint* textures)) \
    X(void, DeleteVertexArrays, (GLsizei n, const GLuint* arrays)) \
    X(void, DepthFunc, (GLenum func)) \
    X(void, DepthMask, (GLboolean flag)) \
    X(void, DepthRangef, (GLfloat n, GLfloat f)) \
    X(void, Disable, (GLenum cap)) \
    X(void, DisableVertexAttribArray, (GLuint index)) \
    X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count)) \
    X(void, DrawBuffers, (GLsizei n, const GLenum* bufs)) \
    X(void, DrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices)) \
    X(void, Enable, (GLenum cap)) \
    X(void, EnableVertexAttribArray, (GLuint index)) \
    X(void, Finish, (void)) \
    X(void, Flush, (void)) \
    X(void, FramebufferRenderbuffer, (GLenum target, GLenum attachment, GLenum renderbuffertarget, GLuint renderbuffer)) \
    X(void, FramebufferTexture2D, (GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level)) \
    X(void, FrontFace, (GLenum mode)) \
    X(void, GenBuffers, (GLsizei n, GLuint* buffers)) \
    X(void, GenFramebuffers, (GLsizei n, GLuint* framebuffers)) \
    X(void, GenRenderbuffers, (GLsizei n, GLuint* renderbuffers)) \
    X(void, GenTextures, (GLsizei n, GLuint* textures)) \
    X(void, GenVertexArrays, (GLsizei n, GLuint* arrays)) \
    X(GLenum, GetError, (void)) \
    X(void, GetIntegerv, (GLenum pname, GLint* data)) \
    X(void, GetProgramInfoLog, (GLuint program, GLsizei bufSize, GLsizei* length, GLchar* infoLog)) \
    X(void, GetProgramiv, (GLuint program, GLenum pname, GLint* params)) \
    X(void, GetShaderInfoLog, (GLuint shader, GLsizei bufSize, GLsizei* length, GLchar* infoLog)) \
    X(void, GetShaderiv, (GLuint shader, GLenum pname, GLint* params)) \
    X(const GLubyte*, GetString, (GLenum name)) \
    X(GLint, GetUniformLocation, (GLuint program, const GLchar* name)) \
    X(void, LinkProgram, (GLuint program)) \
    X(void, PixelStorei, (GLenum pname, GLint param)) \
    X(void, ReadBuffer, (GLenum src)) \
    X(void, ReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels)) \
    X(void, RenderbufferStorageMultisample, (GLenum target, GLsizei samples, GLenum internalformat, GLsizei width, GLsizei height)) \
    X(void, Scissor, (GLint x, GLint y, GLsizei width, GLsizei height)) \
    X(void, ShaderSource, (GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length)) \
    X(void, TexImage2D, (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels)) \
    X(void, TexParameterf, (GLenum target, GLenum pname, GLfloat param)) \
    X(void, TexParameteri, (GLenum target, GLenum pname, GLint param)) \
    X(void, TexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels)) \
    X(void, Uniform1i, (GLint location, GLint v0)) \
    X(void, Uniform1f, (GLint location, GLfloat v0)) \
    X(void, Uniform2iv, (GLint location, GLsizei count, const GLint* value)) \
    X(void, Uniform2fv, (GLint location, GLsizei count, const GLfloat* value)) \
    X(void, Uniform4fv, (GLint location, GLsizei count, const GLfloat* value)) \
    X(void, Uniform3fv, (GLint location, GLsizei count, const GLfloat* value)) \
    X(void, UniformMatrix3fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat* value)) \
    X(void, UniformMatrix4fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat* value)) \
    X(void, UseProgram, (GLuint program)) \
    X(void, VertexAttrib4fv, (GLuint index, const GLfloat* v)) \
    X(void, VertexAttribPointer, (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* pointer)) \
    X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height))

namespace gl_layers {

struct EsCalls {
#define UNDERTOW_ES_MEMBER(type, name, parameters) type(APIENTRY* name) parameters = nullptr;
    UNDERTOW_ES_CALLS(UNDERTOW_ES_MEMBER)
#undef UNDERTOW_ES_MEMBER
};

extern EsCalls es;

// Fills `es` through `lookup`; false, naming the first function missing, when one is.
bool LoadEsCalls(void* (*lookup)(const char* name), std::string& missing);

}  // namespace gl_layers
