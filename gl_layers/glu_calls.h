// gl_layers/glu_calls.h — GLU's matrices, un-projection, spheres and mipmaps over the layer.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void APIENTRY LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ,
                     GLdouble upX, GLdouble upY, GLdouble upZ);
GLint APIENTRY UnProject(GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model, const GLdouble* proj,
                         const GLint* view, GLdouble* objX, GLdouble* objY, GLdouble* objZ);
void APIENTRY Sphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);
GLint APIENTRY Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                              GLenum type, const void* data);

}  // namespace gl_layers
