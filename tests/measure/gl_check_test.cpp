// The --check-gl watch: errors are caught at the next checkpoint, the first is named with its
// place and time, and a clean checkpoint stays clean.
#include <gtest/gtest.h>

#include "app/extensions.h"
#include "measure/gl_check.h"
#include "support/gl_test_context.h"

TEST(GlCheck, FirstErrorNamesThePlaceTheTimeAndTheError) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    GlErrorCheck check;
    check.Begin(IsExtensionSupported("GL_KHR_debug"));
    EXPECT_TRUE(check.Check("the loading screen", 0.0f));
    EXPECT_EQ(check.ErrorCount(), 0);

    testing::internal::CaptureStderr();
    glEnable(0x1234);   // no such capability
    EXPECT_FALSE(check.Check("scene two", 61.25f));
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();   // an empty stack underflows
    EXPECT_FALSE(check.Check("scene four", 90.0f));
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(check.ErrorCount(), 2);
    EXPECT_EQ(check.FirstError().rfind("GL_INVALID_ENUM", 0), 0u) << check.FirstError();
    EXPECT_NE(check.FirstError().find(" in scene two at 61.25 s"), std::string::npos) << check.FirstError();
    if (check.UsesDebugOutput()) {
        EXPECT_NE(check.FirstError().find("(driver: "), std::string::npos) << check.FirstError();
    }
    // Only the first is printed; the rest are counted.
    EXPECT_EQ(said, "undertow: GL error " + check.FirstError() + "\n");
    EXPECT_TRUE(check.Check("scene four", 90.1f));
    check.End();
    glEnable(0x1234);   // no longer listened to: only the error flag has it
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_ENUM));
    EXPECT_EQ(check.ErrorCount(), 2);
}

TEST(GlCheck, ErrorNamesCoverTheStandardCodes) {
    EXPECT_EQ(GlErrorName(GL_INVALID_VALUE), "GL_INVALID_VALUE");
    EXPECT_EQ(GlErrorName(GL_STACK_UNDERFLOW), "GL_STACK_UNDERFLOW");
    EXPECT_EQ(GlErrorName(0x9999), "GL error 0x9999");
}
