// The picture's 4:3 rectangle on drawables of every shape, and window pixels mapped back into
// the 640 × 480 overlay space.
#include <gtest/gtest.h>

#include "platform/letterbox.h"

using platform::FitPicture;
using platform::PixelRect;
using platform::WindowToOverlay;

TEST(Letterbox, LargestCentredFourByThreeRectangle) {
    struct Case {
        int width, height;
        PixelRect expected;
    };
    const Case cases[] = {
        {1920, 1080, {240, 0, 1440, 1080}},   // wide: bars left and right
        {2560, 1080, {560, 0, 1440, 1080}},   // wider still
        {600, 1000, {0, 275, 600, 450}},      // tall: bars above and below
        {640, 480, {0, 0, 640, 480}},         // exact
        {1920, 1440, {0, 0, 1920, 1440}},     // exact at three times the size
        {1001, 333, {278, 0, 444, 333}},      // odd: 444.0 wide, 557 pixels of bars split 278 / 279
        {641, 481, {0, 0, 641, 481}},         // one pixel off 4:3 either way rounds to the whole drawable
        {3, 1, {1, 0, 1, 1}},                 // tiny: never an empty picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const PixelRect rect = FitPicture(c.width, c.height);
        EXPECT_EQ(rect.x, c.expected.x);
        EXPECT_EQ(rect.y, c.expected.y);
        EXPECT_EQ(rect.width, c.expected.width);
        EXPECT_EQ(rect.height, c.expected.height);
        // Always inside the drawable, and the bars on both sides differ by at most a pixel.
        EXPECT_LE(rect.x + rect.width, c.width);
        EXPECT_LE(rect.y + rect.height, c.height);
        EXPECT_LE(std::abs((c.width - rect.width - rect.x) - rect.x), 1);
        EXPECT_LE(std::abs((c.height - rect.height - rect.y) - rect.y), 1);
    }
    EXPECT_EQ(FitPicture(0, 480), PixelRect{});
    EXPECT_EQ(FitPicture(640, -1), PixelRect{});
    // Huge drawables do not overflow the arithmetic.
    EXPECT_EQ(FitPicture(2000000000, 1500000000).width, 2000000000);
}

TEST(Letterbox, WindowPixelsMapIntoTheOverlaySpace) {
    // At scale 1 the coordinates come back bit for bit, whatever they are.
    for (float x : {0.0f, 0.1f, 123.456f, 639.999f, 1000.3f}) {
        float mx = x, my = x * 0.75f;
        WindowToOverlay(PixelRect{0, 0, 640, 480}, mx, my);
        EXPECT_EQ(mx, x);
        EXPECT_EQ(my, x * 0.75f);
    }
    // At scale 3 window pixels are a third of an overlay unit.
    float x = 960.0f, y = 720.0f;
    WindowToOverlay(PixelRect{0, 0, 1920, 1440}, x, y);
    EXPECT_FLOAT_EQ(x, 320.0f);
    EXPECT_FLOAT_EQ(y, 240.0f);
    x = 3.0f;
    y = 1437.0f;
    WindowToOverlay(PixelRect{0, 0, 1920, 1440}, x, y);
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, 479.0f);
    // A picture drawn into the bars' rectangle: its corner is the overlay origin.
    x = 240.0f;
    y = 0.0f;
    WindowToOverlay(FitPicture(1920, 1080), x, y);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 0.0f);
    x = 240.0f + 1440.0f;
    y = 1080.0f;
    WindowToOverlay(FitPicture(1920, 1080), x, y);
    EXPECT_FLOAT_EQ(x, 640.0f);
    EXPECT_FLOAT_EQ(y, 480.0f);
}
