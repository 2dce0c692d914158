// platform/gl_calls.cpp — the table of GL entry points, filled with the driver's functions.
#include "platform/gl.h"

namespace platform {

namespace {

// The quadric calls keep the program's own records (platform::Quadric) on every path; on the
// desktop each record carries GLU's quadric, which draws the sphere.
GLUquadric* APIENTRY NewQuadric() { return reinterpret_cast<GLUquadric*>(new Quadric); }

void APIENTRY QuadricNormals(GLUquadric* quadric, GLenum normals) { QuadricOf(quadric)->normals = normals; }

void APIENTRY QuadricOrientation(GLUquadric* quadric, GLenum orientation) {
    QuadricOf(quadric)->orientation = orientation;
}

void APIENTRY QuadricTexture(GLUquadric* quadric, GLboolean texture) { QuadricOf(quadric)->texture = texture; }

#ifndef __EMSCRIPTEN__
void APIENTRY DriverSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    Quadric* record = QuadricOf(quadric);
    if (!record->glu) record->glu = (::gluNewQuadric)();
    if (!record->glu) return;
    (::gluQuadricNormals)(record->glu, record->normals);
    (::gluQuadricTexture)(record->glu, record->texture);
    (::gluQuadricOrientation)(record->glu, record->orientation);
    (::gluSphere)(record->glu, radius, slices, stacks);
}
#endif

#ifdef _WIN32
// The DLL's functions have no constant address; these forwarders do.
#define UNDERTOW_GL_FORWARDER(type, name, parameters, arguments) \
    type APIENTRY Forward_##name parameters { return (::name)arguments; }
UNDERTOW_GL_CALLS(UNDERTOW_GL_FORWARDER)
#undef UNDERTOW_GL_FORWARDER
#define UNDERTOW_DRIVER_FUNCTION(name) Forward_##name
#else
#define UNDERTOW_DRIVER_FUNCTION(name) &::name
#endif

// Constant-initialised, so that the calls static construction makes find it filled.
constexpr GLCalls DriverCalls() {
    GLCalls calls{
#ifndef __EMSCRIPTEN__
#define UNDERTOW_GL_DRIVER(type, name, parameters, arguments) UNDERTOW_DRIVER_FUNCTION(name),
        UNDERTOW_GL_CALLS(UNDERTOW_GL_DRIVER)
#undef UNDERTOW_GL_DRIVER
#endif
    };
    calls.gluNewQuadric = NewQuadric;
    calls.gluQuadricNormals = QuadricNormals;
    calls.gluQuadricOrientation = QuadricOrientation;
    calls.gluQuadricTexture = QuadricTexture;
#ifndef __EMSCRIPTEN__
    calls.gluSphere = DriverSphere;
#endif
    return calls;
}

}  // namespace

GLCalls glCalls = DriverCalls();

void UseDriverGL() { glCalls = DriverCalls(); }

bool DriverGLInUse() { return glCalls.lookup == nullptr; }

}  // namespace platform
