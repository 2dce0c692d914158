// platform/web/gl_driver.cpp — the GL table of the browser, which has no desktop GL to fill it
// with: only the quadric records are there until our layer fills the rest (UseDriverGL brings
// back this state).
#include "platform/gl_quadrics.h"

namespace platform {

namespace {

// Constant-initialised, as on the other systems.
constexpr GLCalls NoDriverCalls() {
    GLCalls calls{};
    calls.gluNewQuadric = NewQuadric;
    calls.gluQuadricNormals = QuadricNormals;
    calls.gluQuadricOrientation = QuadricOrientation;
    calls.gluQuadricTexture = QuadricTexture;
    return calls;
}

}  // namespace

GLCalls glCalls = NoDriverCalls();

void UseDriverGL() { glCalls = NoDriverCalls(); }

}  // namespace platform
