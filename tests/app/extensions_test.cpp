// Extension names match only as whole names.
#include <gtest/gtest.h>

#include "app/extensions.h"

TEST(Extensions, OnlyWholeNamesMatch) {
    const char* list = "GL_ARB_multitexture GL_EXT_texture_env_combine_plus GL_NV_fence";
    EXPECT_TRUE(ExtensionListHas(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(ExtensionListHas(list, "GL_NV_fence"));   // last token, no trailing space
    EXPECT_FALSE(ExtensionListHas(list, "GL_EXT_texture_env_combine"));   // a prefix only
    EXPECT_FALSE(ExtensionListHas(list, "GL_ARB_MULTITEXTURE"));          // case-sensitive
    EXPECT_FALSE(ExtensionListHas(list, "GL_NV"));
    EXPECT_FALSE(ExtensionListHas(list, nullptr));
    EXPECT_FALSE(ExtensionListHas(nullptr, "GL_NV_fence"));
    EXPECT_FALSE(ExtensionListHas("", ""));
    const std::string longToken = std::string(2000, 'x') + " GL_NV_fence";
    EXPECT_TRUE(ExtensionListHas(longToken.c_str(), "GL_NV_fence"));
}
