// platform/letterbox.h — where the 4:3 picture lies on a drawable of any shape, and how window
// pixels map back into the picture's 640 × 480 overlay space.
#pragma once

namespace platform {

// A rectangle of pixels, origin at the bottom left as GL counts them.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// The largest rectangle of the picture's shape that fits into a drawable of the given size,
// centred, with the bars (left and right, or above and below) as even as whole pixels allow.
// Empty for an empty drawable or picture.
PixelRect FitPicture(int drawableWidth, int drawableHeight, int pictureWidth = 640, int pictureHeight = 480);

// Window coordinates (x, y) of a picture drawn into `viewport` as 640 × 480 overlay units. With
// a viewport of exactly 640 × 480 at the origin the coordinates come back unchanged, bit for bit.
void WindowToOverlay(const PixelRect& viewport, float& x, float& y);

}  // namespace platform
