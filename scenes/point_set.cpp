// scenes/point_set.cpp — shape builders and per-frame motion of the cube cloud.
#include "scenes/point_set.h"

#include <algorithm>
#include <cmath>

#include "platform/random.h"

namespace {

// 6.28 and 3.14, not 2π and π: the shapes and the wave are tuned to these values.
constexpr float kCircle = 6.28f;
constexpr float kHalfCircle = 3.14f;

std::uint8_t Byte(float value) { return static_cast<std::uint8_t>(static_cast<int>(value)); }

void Resize(PointSet& set, std::uint32_t count, int c) {
    set.points.assign(count, CloudPoint{});
    set.count = count;
    set.halfSize = 6.0f / static_cast<float>(c);
}

}  // namespace

int CloudDetail(int detailLevel) {
    if (detailLevel == 1) return 16;
    if (detailLevel == 2) return 20;
    return 12;
}

void BuildLattice(PointSet& set, int c) {
    const std::uint32_t side = static_cast<std::uint32_t>(c + 1);
    Resize(set, side * side * side, c);
    set.colourScale = 20.0f / static_cast<float>(c);
    const float fc = static_cast<float>(c);
    CloudPoint* p = set.points.data();
    for (int i = 0; i <= c; ++i)
        for (int j = 0; j <= c; ++j)
            for (int k = 0; k <= c; ++k, ++p) {
                p->x = static_cast<float>(k) * 16.0f / fc - 8.0f;
                p->y = static_cast<float>(j) * 16.0f / fc - 8.0f;
                p->z = static_cast<float>(i) * 16.0f / fc - 8.0f;
                p->r = static_cast<std::uint8_t>(Byte(static_cast<float>(k + 8) * set.colourScale) + 2);
                p->g = static_cast<std::uint8_t>(Byte(static_cast<float>(j + 8) * set.colourScale) + 2);
                p->b = static_cast<std::uint8_t>(Byte(static_cast<float>(i + 8) * set.colourScale) + 2);
            }
}

void BuildCylinder(PointSet& set, int c) {
    const int h = c / 2;
    const float fc = static_cast<float>(c);
    const float step = 18.0f / fc;
    // Both passes walk the rings the same way, so the count matches the points written.
    auto walk = [&](auto&& visit) {
        for (int i = 0; i <= c; ++i)
            for (int j = 0; j <= h; ++j) {
                const float radius = static_cast<float>(j) * 8.0f / static_cast<float>(h);
                const float length = kCircle * radius;
                for (float s = 0.0f; s < length; s += step) visit(i, radius, length, s);
            }
    };
    std::uint32_t count = 0;
    walk([&](int, float, float, float) { ++count; });
    Resize(set, count, c);
    CloudPoint* p = set.points.data();
    walk([&](int i, float radius, float length, float s) {
        const float angle = length > 0.0f ? kCircle * s / length : 0.0f;
        p->x = radius * std::cos(angle);
        p->y = radius * std::sin(angle);
        p->z = static_cast<float>(i) * 16.0f / fc - 8.0f;
        p->r = p->g = static_cast<std::uint8_t>(Byte((p->z + 8.0f) / 16.0f * 48.0f) + 8);
        p->b = Byte(radius / 8.0f * 32.0f);
        ++p;
    });
}

void BuildWavePlane(PointSet& set, int c) {
    const int n = 4 * c;
    const std::uint32_t side = static_cast<std::uint32_t>(n + 1);
    Resize(set, side * side, c);
    const float fn = static_cast<float>(n);
    CloudPoint* p = set.points.data();
    for (int j = 0; j <= n; ++j)
        for (int k = 0; k <= n; ++k, ++p) {
            p->x = static_cast<float>(k) * 32.0f / fn - 16.0f;
            p->y = static_cast<float>(j) * 32.0f / fn - 16.0f;
            p->z = 0.0f;
            p->r = 16;
            p->g = 16;
            p->b = 32;
        }
}

void BuildScatter(PointSet& set, std::uint32_t count, int c) {
    Resize(set, count, c);
    for (CloudPoint& p : set.points) {
        // Three separate calls, in x, y, z order: the sequence is the program-wide one.
        p.x = static_cast<float>(platform::Rand() % 257) / 4.0f - 32.0f;
        p.y = static_cast<float>(platform::Rand() % 257) / 4.0f - 32.0f;
        p.z = static_cast<float>(platform::Rand() % 257) / 4.0f - 32.0f;
    }
}

void MorphPointSets(PointSet& out, const PointSet& a, const PointSet& b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    const std::uint32_t n = std::min(a.count, b.count);
    out.count = n;
    out.halfSize = a.halfSize;
    const CloudPoint* pa = a.points.data();
    const CloudPoint* pb = b.points.data();
    CloudPoint* po = out.points.data();
    for (std::uint32_t i = 0; i < n; ++i) {
        po[i].x = pa[i].x + (pb[i].x - pa[i].x) * t;
        po[i].y = pa[i].y + (pb[i].y - pa[i].y) * t;
        po[i].z = pa[i].z + (pb[i].z - pa[i].z) * t;
        po[i].r = Byte(static_cast<float>(pa[i].r) + t * static_cast<float>(pb[i].r - pa[i].r));
        po[i].g = Byte(static_cast<float>(pa[i].g) + t * static_cast<float>(pb[i].g - pa[i].g));
        po[i].b = Byte(static_cast<float>(pa[i].b) + t * static_cast<float>(pb[i].b - pa[i].b));
        po[i].unused = 0;
    }
}

void AnimateWave(PointSet& plane, float& wavePhase, float frameTime) {
    wavePhase += kHalfCircle * frameTime;
    if (wavePhase > kCircle) wavePhase -= kCircle;
    for (std::uint32_t i = 0; i < plane.count; ++i) {
        CloudPoint& p = plane.points[i];
        p.z = std::sin((p.x + 16.0f) * 12.6f / 32.0f + wavePhase) * std::sin((p.y + 16.0f) * 12.6f / 32.0f + wavePhase);
        p.g = Byte((p.z + 1.0f) / 2.0f * 64.0f);
    }
}

void RepelFromBall(CloudPoint& p, float cx, float cy, float cz) {
    const float dx = p.x - cx, dy = p.y - cy, dz = p.z - cz;
    const float lengthSquared = dx * dx + dy * dy + dz * dz;
    if (lengthSquared == 0.0f) return;
    const float length = std::sqrt(lengthSquared);
    float push = 15.0f * std::sqrt(1.0f / length);
    if (push < 1.0f) push = 0.0f;
    if (push > 6.0f) push = 6.0f;
    p.x += dx / length * push;
    p.y += dy / length * push;
    p.z += dz / length * push;
}

CloudPoint CubeCorner(const CloudPoint& p, float h, int corner) {
    const std::uint8_t* side = kCubeCorners[corner];
    return CloudPoint{side[0] ? p.x + h : p.x - h, side[1] ? p.y + h : p.y - h, side[2] ? p.z + h : p.z - h,
                      p.r, p.g, p.b, 0};
}

void EmitCube(CloudPoint* out, const CloudPoint& p, float h) {
    for (int corner = 0; corner < kCubeVertices; ++corner) out[corner] = CubeCorner(p, h, corner);
}

void FillCubeIndices(std::uint16_t* indices, int cubes) {
    for (int k = 0; k < cubes; ++k)
        for (int i = 0; i < kCubeIndices; ++i)
            indices[k * kCubeIndices + i] = static_cast<std::uint16_t>(8 * k + kCubeFaces[i]);
}
