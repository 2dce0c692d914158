// platform/gl_quadrics.h — the program's quadric records (platform::Quadric), made and set on
// every path by these functions; the GL table's GLU entries point at them.
#pragma once

#include "platform/gl.h"

namespace platform {

GLUquadric* APIENTRY NewQuadric();
void APIENTRY QuadricNormals(GLUquadric* quadric, GLenum normals);
void APIENTRY QuadricOrientation(GLUquadric* quadric, GLenum orientation);
void APIENTRY QuadricTexture(GLUquadric* quadric, GLboolean texture);

// Draws a quadric's sphere with the driver's GLU, making its GLU quadric when first drawn.
void APIENTRY DriverSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);

}  // namespace platform
