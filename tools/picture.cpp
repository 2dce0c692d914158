// tools/picture.cpp — pixel access, glows and blurs for the generators' pictures.
#include "tools/picture.h"

#include <cmath>

namespace assets {

Picture::Picture(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0.0f) {
    for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 1.0f;
}

Colour Picture::Get(int x, int y) const {
    const std::size_t i = Index(x, y);
    return {rgba[i], rgba[i + 1], rgba[i + 2]};
}

void Picture::Set(int x, int y, Colour c, float alpha) {
    const std::size_t i = Index(x, y);
    rgba[i] = c.x;
    rgba[i + 1] = c.y;
    rgba[i + 2] = c.z;
    rgba[i + 3] = alpha;
}

void Picture::AddWrapped(int x, int y, Colour c) {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    const std::size_t i = Index(x, y);
    rgba[i] += c.x;
    rgba[i + 1] += c.y;
    rgba[i + 2] += c.z;
}

void Picture::Blend(int x, int y, Colour c, float amount) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    Set(x, y, Mix(Get(x, y), c, Clamp01(amount)), Alpha(x, y));
}

void AddGlow(Picture& picture, float cx, float cy, float radius, Colour colour) {
    const int reach = static_cast<int>(std::ceil(radius * 3.0f));
    const int x0 = static_cast<int>(std::floor(cx));
    const int y0 = static_cast<int>(std::floor(cy));
    const float inverse = 1.0f / (radius * radius);
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const float px = x0 + dx + 0.5f - cx;
            const float py = y0 + dy + 0.5f - cy;
            const float weight = std::exp(-(px * px + py * py) * inverse);
            if (weight > 0.002f) picture.AddWrapped(x0 + dx, y0 + dy, colour * weight);
        }
}

namespace {

// One running-sum box pass along a line of `count` samples spaced `stride` floats apart.
void BoxLine(float* line, int count, std::size_t stride, int radius, bool wrap, std::vector<float>& scratch) {
    scratch.resize(static_cast<std::size_t>(count) * 3);
    auto sample = [&](int i, int c) {
        if (wrap) i = ((i % count) + count) % count;
        else i = i < 0 ? 0 : (i >= count ? count - 1 : i);
        return line[static_cast<std::size_t>(i) * stride + c];
    };
    const float scale = 1.0f / (2 * radius + 1);
    for (int c = 0; c < 3; ++c) {
        float sum = 0;
        for (int i = -radius; i <= radius; ++i) sum += sample(i, c);
        for (int i = 0; i < count; ++i) {
            scratch[static_cast<std::size_t>(i) * 3 + c] = sum * scale;
            sum += sample(i + radius + 1, c) - sample(i - radius, c);
        }
    }
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c) line[static_cast<std::size_t>(i) * stride + c] = scratch[static_cast<std::size_t>(i) * 3 + c];
}

}  // namespace

void Blur(Picture& picture, int radius, int passes, bool wrap) {
    std::vector<float> scratch;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < picture.height; ++y)
            BoxLine(&picture.rgba[picture.Index(0, y)], picture.width, 4, radius, wrap, scratch);
        for (int x = 0; x < picture.width; ++x)
            BoxLine(&picture.rgba[picture.Index(x, 0)], picture.height, static_cast<std::size_t>(picture.width) * 4, radius,
                    wrap, scratch);
    }
}

}  // namespace assets
