// The overlay space's full-screen veil: what it draws and the state it leaves for what follows.
#include <gtest/gtest.h>

#include "platform/gl.h"
#include "scene/overlay_space.h"
#include "support/gl_test_context.h"

namespace {

struct Switches {
    bool texture, depth, cull, blend;
    GLint source, destination, matrixMode;
};

Switches Read() {
    Switches s{};
    s.texture = glIsEnabled(GL_TEXTURE_2D);
    s.depth = glIsEnabled(GL_DEPTH_TEST);
    s.cull = glIsEnabled(GL_CULL_FACE);
    s.blend = glIsEnabled(GL_BLEND);
    glGetIntegerv(GL_BLEND_SRC, &s.source);
    glGetIntegerv(GL_BLEND_DST, &s.destination);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    return s;
}

void Set(GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); }

}  // namespace

// The veil blends over the picture without texture, depth test or culling, and whoever draws
// next finds those switches and the blend factors as they were before it.
TEST(OverlaySpace, VeilLeavesTheStateItFound) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on);
        Set(GL_TEXTURE_2D, on);
        Set(GL_DEPTH_TEST, on);
        Set(GL_CULL_FACE, on);
        Set(GL_BLEND, on);
        glBlendFunc(GL_ONE, GL_ONE);
        glMatrixMode(GL_MODELVIEW);
        const Switches before = Read();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor4f(1.0f, 0.0f, 0.0f, 0.5f);
        DrawFullScreenVeil();
        const Switches after = Read();
        EXPECT_EQ(after.texture, before.texture);
        EXPECT_EQ(after.depth, before.depth);
        EXPECT_EQ(after.cull, before.cull);
        EXPECT_EQ(after.blend, before.blend);
        EXPECT_EQ(after.source, GL_ONE);
        EXPECT_EQ(after.destination, GL_ONE);
        EXPECT_EQ(after.matrixMode, GL_MODELVIEW);
        const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
        EXPECT_NEAR(frame[0], 128, 1);   // half of the red over black
        EXPECT_EQ(frame[1], 0);
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
