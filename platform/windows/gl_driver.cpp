// platform/windows/gl_driver.cpp — the GL table, filled with the driver's own functions. The
// DLL's functions have no constant address, so the table holds forwarders that have one.
#include "platform/gl_quadrics.h"
#include "platform/rasterizer_settle.h"

namespace platform {

namespace {

#define UNDERTOW_GL_FORWARDER(type, name, parameters, arguments) \
    type APIENTRY Forward_##name parameters { return (::name)arguments; }
UNDERTOW_GL_CALLS(UNDERTOW_GL_FORWARDER)
#undef UNDERTOW_GL_FORWARDER

// Constant-initialised, so that the calls static construction makes find it filled.
constexpr GLCalls DriverCalls() {
    GLCalls calls{
#define UNDERTOW_GL_DRIVER(type, name, parameters, arguments) Forward_##name,
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
