// platform/gl_calls.cpp — the quadric records and the driver's spheres; the table itself and
// its driver filling are in the system's folder (posix/gl_driver.cpp, windows/gl_driver.cpp,
// web/gl_driver.cpp).
#include "platform/gl_quadrics.h"

namespace platform {

GLUquadric* APIENTRY NewQuadric() { return reinterpret_cast<GLUquadric*>(new Quadric); }

void APIENTRY QuadricNormals(GLUquadric* quadric, GLenum normals) { QuadricOf(quadric)->normals = normals; }

void APIENTRY QuadricOrientation(GLUquadric* quadric, GLenum orientation) {
    QuadricOf(quadric)->orientation = orientation;
}

void APIENTRY QuadricTexture(GLUquadric* quadric, GLboolean texture) { QuadricOf(quadric)->texture = texture; }

void APIENTRY DriverSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    Quadric* record = QuadricOf(quadric);
    if (!record->glu) record->glu = (::gluNewQuadric)();
    if (!record->glu) return;
    (::gluQuadricNormals)(record->glu, record->normals);
    (::gluQuadricTexture)(record->glu, record->texture);
    (::gluQuadricOrientation)(record->glu, record->orientation);
    (::gluSphere)(record->glu, radius, slices, stacks);
}

bool DriverGLInUse() { return glCalls.lookup == nullptr; }

}  // namespace platform
