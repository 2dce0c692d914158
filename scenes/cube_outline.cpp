// scenes/cube_outline.cpp — the outline and visible faces of a cube from each region around it.
#include "scenes/cube_outline.h"

#include <array>

namespace {

constexpr int kRegions = 27;

// The axis a face lies across and its side, from the corners it is made of.
void FaceAxisAndSide(int face, int& axis, int& side) {
    const std::uint8_t* q = &kCubeFaces[face * 4];
    for (axis = 0; axis < 3; ++axis) {
        side = kCubeCorners[q[0]][axis];
        if (kCubeCorners[q[1]][axis] == side && kCubeCorners[q[2]][axis] == side && kCubeCorners[q[3]][axis] == side)
            return;
    }
}

// Seen from `region`, the face's plane faces the eye: the eye lies beyond the face's side.
bool FaceSeenFrom(int region, int face) {
    int axis = 0, side = 0;
    FaceAxisAndSide(face, axis, side);
    int digit = region;
    for (int a = 0; a < axis; ++a) digit /= 3;
    digit %= 3;
    return digit == (side ? 2 : 0);
}

struct Edge {
    std::uint8_t from, to;
};

// The visible faces' edges that no other visible face shares make one loop around the picture;
// each keeps the direction its face gives it, so the loop has the faces' winding.
CornerLoop OutlineOf(const CubeView& view) {
    std::array<Edge, 12> edges{};
    int edgeCount = 0;
    for (int f = 0; f < view.faceCount; ++f) {
        const std::uint8_t* q = view.faces[f].corners;
        for (int i = 0; i < 4; ++i) {
            const Edge e{q[i], q[(i + 1) % 4]};
            bool shared = false;
            for (int g = 0; g < view.faceCount; ++g) {
                const std::uint8_t* r = view.faces[g].corners;
                for (int j = 0; j < 4; ++j) shared |= g != f && r[j] == e.to && r[(j + 1) % 4] == e.from;
            }
            if (!shared) edges[static_cast<std::size_t>(edgeCount++)] = e;
        }
    }
    CornerLoop loop;
    if (edgeCount == 0) return loop;
    std::uint8_t at = edges[0].from;
    for (int step = 0; step < edgeCount; ++step) {
        loop.corners[loop.count++] = at;
        for (int k = 0; k < edgeCount; ++k)
            if (edges[static_cast<std::size_t>(k)].from == at) {
                at = edges[static_cast<std::size_t>(k)].to;
                break;
            }
    }
    return loop;
}

std::array<CubeView, kRegions> BuildViews() {
    std::array<CubeView, kRegions> views{};
    for (int region = 0; region < kRegions; ++region) {
        CubeView& view = views[static_cast<std::size_t>(region)];
        for (int face = 0; face < 6; ++face) {
            if (!FaceSeenFrom(region, face)) continue;
            CornerLoop& loop = view.faces[view.faceCount++];
            loop.count = 4;
            for (int i = 0; i < 4; ++i) loop.corners[i] = kCubeFaces[face * 4 + i];
        }
        view.outline = OutlineOf(view);
    }
    return views;
}

int Digit(float eye, float centre, float h) {
    if (eye < centre - h) return 0;
    if (eye > centre + h) return 2;
    return 1;
}

}  // namespace

int EyeRegion(const CloudPoint& p, float h, const float eye[3]) {
    return Digit(eye[0], p.x, h) + 3 * Digit(eye[1], p.y, h) + 9 * Digit(eye[2], p.z, h);
}

const CubeView& CubeViewFrom(int region) {
    static const std::array<CubeView, kRegions> views = BuildViews();
    return views[static_cast<std::size_t>(region)];
}

void EmitCornerLoop(CloudPoint* out, const CloudPoint& p, float h, const CornerLoop& loop) {
    if (loop.count == 0) return;
    for (int i = 0; i < kLoopVertices; ++i) out[i] = CubeCorner(p, h, loop.corners[i < loop.count ? i : loop.count - 1]);
}

void FillLoopIndices(std::uint16_t* indices, int loops) {
    static const std::uint16_t kFan[kLoopIndices] = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5};
    for (int k = 0; k < loops; ++k)
        for (int i = 0; i < kLoopIndices; ++i)
            indices[k * kLoopIndices + i] = static_cast<std::uint16_t>(kLoopVertices * k + kFan[i]);
}
