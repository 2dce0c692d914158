// platform/letterbox.cpp — the picture's rectangle on the drawable.
#include "platform/letterbox.h"

namespace platform {

PixelRect FitPicture(int drawableWidth, int drawableHeight, int pictureWidth, int pictureHeight) {
    PixelRect rect;
    if (drawableWidth <= 0 || drawableHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return rect;
    const long long dw = drawableWidth, dh = drawableHeight, pw = pictureWidth, ph = pictureHeight;
    if (dw * ph <= dh * pw) {
        // As wide as the drawable or narrower in shape: full width, bars above and below.
        rect.width = drawableWidth;
        rect.height = static_cast<int>((dw * ph + pw / 2) / pw);
        if (rect.height > drawableHeight) rect.height = drawableHeight;
    } else {
        rect.height = drawableHeight;
        rect.width = static_cast<int>((dh * pw + ph / 2) / ph);
        if (rect.width > drawableWidth) rect.width = drawableWidth;
    }
    if (rect.width < 1) rect.width = 1;
    if (rect.height < 1) rect.height = 1;
    rect.x = (drawableWidth - rect.width) / 2;
    rect.y = (drawableHeight - rect.height) / 2;
    return rect;
}

void WindowToOverlay(const PixelRect& viewport, float& x, float& y) {
    if (viewport.width <= 0 || viewport.height <= 0) return;
    // The factor is exactly 1 for a 640 × 480 viewport, so the 1× picture keeps its coordinates.
    const float sx = 640.0f / static_cast<float>(viewport.width);
    const float sy = 480.0f / static_cast<float>(viewport.height);
    x = (x - static_cast<float>(viewport.x)) * sx;
    y = (y - static_cast<float>(viewport.y)) * sy;
}

}  // namespace platform
