// gl_layers/glu_calls.h — GLU's matrices, un-projection and spheres over the layer.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void APIENTRY LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ,
                     GLdouble upX, GLdouble upY, GLdouble upZ);
GLint APIENTRY UnProject(GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model, const GLdouble* proj,
                         const GLint* view, GLdouble* objX, GLdouble* objY, GLdouble* objZ);
void APIENTRY Sphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);

}  // namespace gl_layers
