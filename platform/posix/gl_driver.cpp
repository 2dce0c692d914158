// platform/posix/gl_driver.cpp — the GL table, filled with the driver's own functions.
#include "platform/gl_quadrics.h"
#include "platform/rasterizer_settle.h"

namespace platform {

namespace {

// Constant-initialised, so that the calls static construction makes find it filled.
constexpr GLCalls DriverCalls() {
    GLCalls calls{
#define UNDERTOW_GL_DRIVER(type, name, parameters, arguments) &::name,
        UNDERTOW_GL_CALLS(UNDERTOW_GL_DRIVER)
#undef UNDERTOW_GL_DRIVER
    };
    calls.glFlush = HoldingDriverFlush;
    calls.glFinish = SettledDriverFinish;
    calls.gluNewQuadric = NewQuadric;
    calls.gluQuadricNormals = QuadricNormals;
    calls.gluQuadricOrientation = QuadricOrientation;
    calls.gluQuadricTexture = QuadricTexture;
    calls.gluSphere = DriverSphere;
    return calls;
}

}  // namespace

GLCalls glCalls = DriverCalls();

void UseDriverGL() { glCalls = DriverCalls(); }

}  // namespace platform
