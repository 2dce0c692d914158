// Upper-casing, de-duplication and delivery of texture names.
#include <gtest/gtest.h>

#include <string>

#include "demo/texture_registry.h"

TEST(TextureRegistry, NamesDifferingInCaseShareOneEntry) {
    TextureRegistry registry;
    GLuint a = 0, b = 0, c = 0;
    registry.Add("TEKSTURY\\kora.BMP", &a);
    registry.Add("TEKSTURY\\KORA.bmp", &b);
    registry.Add("TEKSTURY\\WODA\\caust0.bmp", &c);
    registry.Add("TEKSTURY\\WODA\\caust0.bmp", &c);   // same scene, same destination: two stores
    ASSERT_EQ(registry.Count(), 2);
    EXPECT_STREQ(registry.GetName(0), "TEKSTURY\\KORA.BMP");
    EXPECT_STREQ(registry.GetName(1), "TEKSTURY\\WODA\\CAUST0.BMP");
    EXPECT_EQ(registry.GetName(2), nullptr);
    EXPECT_EQ(registry.entries[1].destinations.size(), 2u);

    registry.Deliver(0, 17);
    registry.Deliver(1, 23);
    registry.Deliver(5, 99);   // past the end: ignored
    EXPECT_EQ(a, 17u);
    EXPECT_EQ(b, 17u);
    EXPECT_EQ(c, 23u);
}

TEST(TextureRegistry, OnlyAsciiLowerCaseLettersChangeAndLongNamesAreRefused) {
    TextureRegistry registry;
    GLuint slot = 0;
    registry.Add("a-z_\xE9{}", &slot);
    EXPECT_STREQ(registry.GetName(0), "A-Z_\xE9{}");
    registry.Add(std::string(128, 'x').c_str(), &slot);
    EXPECT_EQ(registry.Count(), 1);
    registry.Add(std::string(127, 'x').c_str(), &slot);
    EXPECT_EQ(registry.Count(), 2);
}
