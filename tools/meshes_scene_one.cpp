// tools/meshes_scene_one.cpp — the chrome knot (data.dat) and the floor frame (ramka.dat) of
// the first scene, in file units: the scene scales both by 0.1.
#include <cmath>

#include "tools/mesh_writer.h"
#include "tools/mesh_sets.h"

namespace assets {
namespace {

constexpr int kRings = 192;              // around the knot
constexpr int kSides = 32;               // around the tube
constexpr float kFarthest = 125.0f;      // outermost vertex; the scene's twist acts beyond 100
constexpr float kTubeRadius = 0.55f;     // in the knot curve's own units, before scaling

// A trefoil knot lying in the x-y plane (the scene's floor plane), lifted and lowered in z.
Vec3 KnotCurve(float u) {
    return {std::sin(u) + 2 * std::sin(2 * u), std::cos(u) - 2 * std::cos(2 * u), -1.4f * std::sin(3 * u)};
}

// A frame along the closed curve that twists as little as possible: normals carried from
// ring to ring, then the mismatch after one loop spread evenly over the rings.
void TubeFrames(const std::vector<Vec3>& centres, std::vector<Vec3>& normals, std::vector<Vec3>& binormals) {
    const int count = static_cast<int>(centres.size());
    std::vector<Vec3> tangents(count);
    for (int i = 0; i < count; ++i)
        tangents[i] = Normalize(centres[(i + 1) % count] - centres[(i + count - 1) % count]);
    normals.assign(count + 1, {});
    normals[0] = Normalize(Cross(tangents[0], {0, 0, 1}));
    for (int i = 1; i <= count; ++i) {
        const Vec3 t = tangents[i % count];
        normals[i] = Normalize(normals[i - 1] - t * Dot(normals[i - 1], t));
    }
    const Vec3 t0 = tangents[0];
    const float mismatch = std::atan2(Dot(Cross(normals[0], normals[count]), t0), Dot(normals[0], normals[count]));
    binormals.assign(count, {});
    for (int i = 0; i < count; ++i) {
        const Vec3 t = tangents[i];
        const Vec3 n = normals[i], b = Cross(t, n);
        const float turn = -mismatch * i / count;
        normals[i] = n * std::cos(turn) + b * std::sin(turn);
        binormals[i] = Cross(t, normals[i]);
    }
    normals.resize(count);
}

}  // namespace

MeshData ChromeKnot() {
    std::vector<Vec3> centres(kRings);
    for (int i = 0; i < kRings; ++i) centres[i] = KnotCurve(kTwoPi * i / kRings);
    std::vector<Vec3> normals, binormals;
    TubeFrames(centres, normals, binormals);

    // Positions on a (kRings + 1) × (kSides + 1) grid; the last row and column repeat the
    // first so texture coordinates run on across the seams.
    auto position = [&](int i, int j) {
        const int ring = ((i % kRings) + kRings) % kRings;
        const float u = kTwoPi * ring / kRings;
        const float phi = kTwoPi * j / kSides;
        // Six flutes spiralling twice round the tube per loop, and a slow swelling.
        const float radius = kTubeRadius * (1.0f + 0.18f * std::sin(3 * u)) * (1.0f + 0.07f * std::cos(6 * phi + 12 * u));
        return centres[ring] + (normals[ring] * std::cos(phi) + binormals[ring] * std::sin(phi)) * radius;
    };
    MeshData mesh;
    float farthest = 0;
    for (int i = 0; i <= kRings; ++i)
        for (int j = 0; j <= kSides; ++j) farthest = std::max(farthest, Length(position(i, j)));
    const float scale = kFarthest / farthest;
    for (int i = 0; i <= kRings; ++i)
        for (int j = 0; j <= kSides; ++j) {
            MeshVertex v;
            v.position = position(i, j) * scale;
            const Vec3 along = position(i + 1, j) - position(i - 1, j);
            const Vec3 around = position(i, j + 1) - position(i, j - 1);
            v.normal = Normalize(Cross(along, around));
            if (Dot(v.normal, position(i, j) - centres[i % kRings]) < 0) v.normal = -v.normal;
            v.s = 8.0f * i / kRings;
            v.t = static_cast<float>(j) / kSides;
            mesh.vertices.push_back(v);
        }
    auto index = [](int i, int j) { return static_cast<std::uint16_t>(i * (kSides + 1) + j); };
    for (int i = 0; i < kRings; ++i)
        for (int j = 0; j < kSides; ++j) {
            mesh.AddFrontFacing(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            mesh.AddFrontFacing(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
    return mesh;
}

MeshData FloorFrame() {
    // A square ring, outer half-size 300 and inner 260, a hair above z = 0 so that it does not
    // fight with the mirror floor it lies on.
    constexpr float kOuter = 300, kInner = 260, kLift = 0.2f;
    MeshData mesh;
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (float half : {kOuter, kInner})
        for (const auto& c : corners) {
            MeshVertex v;
            v.position = {c[0] * half, c[1] * half, kLift};
            v.normal = {0, 0, 1};
            v.s = v.position.x / 125.0f;
            v.t = v.position.y / 125.0f;
            mesh.vertices.push_back(v);
        }
    for (std::uint16_t side = 0; side < 4; ++side) {
        const std::uint16_t next = (side + 1) % 4;
        mesh.AddFrontFacing(side, next, static_cast<std::uint16_t>(4 + next));
        mesh.AddFrontFacing(side, static_cast<std::uint16_t>(4 + next), static_cast<std::uint16_t>(4 + side));
    }
    return mesh;
}

bool WriteSceneOneMeshes(const std::string& root) {
    return WriteMesh(root, "DANE/data.dat", ChromeKnot()) && WriteMesh(root, "DANE/ramka.dat", FloorFrame());
}

}  // namespace assets
