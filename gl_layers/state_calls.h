// gl_layers/state_calls.h — the layer's calls that change state without drawing: switches,
// matrices, lights and material, fog, texture environments and generation, fragment
// operations, viewport and scissor, pixel storage; and the attribute stacks.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY Enable(GLenum cap);
void APIENTRY Disable(GLenum cap);
GLboolean APIENTRY IsEnabled(GLenum cap);
void APIENTRY MatrixMode(GLenum mode);
void APIENTRY LoadIdentity();
void APIENTRY LoadMatrixf(const GLfloat* m);
void MultMatrixf(const GLfloat* m);
void APIENTRY PushMatrix();
void APIENTRY PopMatrix();
void APIENTRY Translatef(GLfloat x, GLfloat y, GLfloat z);
void APIENTRY Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void APIENTRY Scalef(GLfloat x, GLfloat y, GLfloat z);
void APIENTRY Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearValue, GLdouble farValue);
void APIENTRY Lightf(GLenum light, GLenum name, GLfloat value);
void APIENTRY Lightfv(GLenum light, GLenum name, const GLfloat* values);
void APIENTRY Materialfv(GLenum face, GLenum name, const GLfloat* values);
void APIENTRY Fogf(GLenum name, GLfloat value);
void APIENTRY Fogfv(GLenum name, const GLfloat* values);
void APIENTRY Fogi(GLenum name, GLint value);
void APIENTRY TexEnvi(GLenum target, GLenum name, GLint value);
void APIENTRY TexEnvfv(GLenum target, GLenum name, const GLfloat* values);
void APIENTRY TexGeni(GLenum coord, GLenum name, GLint value);
void APIENTRY ActiveTexture(GLenum unit);
void APIENTRY AlphaFunc(GLenum function, GLclampf reference);
void APIENTRY BlendFunc(GLenum source, GLenum destination);
void APIENTRY DepthFunc(GLenum function);
void APIENTRY DepthMask(GLboolean flag);
void APIENTRY DepthRange(GLclampd nearValue, GLclampd farValue);
void APIENTRY CullFace(GLenum mode);
void APIENTRY FrontFace(GLenum mode);
void APIENTRY ShadeModel(GLenum mode);
void APIENTRY Viewport(GLint x, GLint y, GLsizei width, GLsizei height);
void APIENTRY Scissor(GLint x, GLint y, GLsizei width, GLsizei height);
void APIENTRY ClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a);
void APIENTRY PixelStorei(GLenum name, GLint value);
void APIENTRY PixelZoom(GLfloat x, GLfloat y);
GLenum APIENTRY GetError();

void APIENTRY PushAttrib(GLbitfield mask);
void APIENTRY PopAttrib();
void APIENTRY PushClientAttrib(GLbitfield mask);
void APIENTRY PopClientAttrib();

}  // namespace gl_layers
