// tools/meshes_scene_three.cpp — otchlan.dat, the floating island, and track3.dat, the loop
// around it.
//
// The island scene scales the file by 0.08 and exchanges y and z, so the island is built here in
// the scene's own units, y up, and converted on writing. It is a grassy disc about 3 units in
// radius, domed so that its highest point is the centre, where the tree is planted, over a
// jagged rocky cone that hangs about 3 units into the sky. The camera sees it from 9 units away,
// 2.5 above and tilted down; lifted 1.2 units, the disc and what hangs under it fill the
// middle of the picture, with the tree above.
//
// Both surfaces share one picture: grass in its upper part (t from 0.375 to 1), mapped once
// across the top, and earth and rock in its lower part, repeated around the underside.
#include <cmath>

#include "tools/mesh_sets.h"
#include "tools/noise.h"
#include "tools/output_file.h"

namespace assets {
namespace {

constexpr float kFileScale = 0.08f;   // the scene multiplies every file coordinate by this
constexpr int kSectors = 64;          // around the island; column kSectors repeats column 0
constexpr int kTopRings = 16;         // centre to rim
constexpr int kUnderRings = 22;       // rim to the lowest point
constexpr float kRadius = 2.8f;
constexpr float kLift = 1.2f;         // the rim's height: the island is lifted into the picture's middle
constexpr float kDome = 0.55f;        // the centre stands this far above the rim
constexpr float kDepth = 3.6f;        // the underside hangs this far below the rim
constexpr float kGrassBottom = 0.375f, kRockTop = 0.355f;   // t bands of the shared picture

float Angle(int sector) { return kTwoPi * static_cast<float>(sector % kSectors) / kSectors; }

// The rim's distance from the centre at `angle`: an uneven, periodic outline.
float RimRadius(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return kRadius * (1.0f + 0.13f * Fbm3(c * 1.3f, s * 1.3f, 0.4f, 3, 0.5f, 301u));
}

// A grid of (rings + 1) × (kSectors + 1) positions, row-major by ring.
struct Grid {
    int rings;
    std::vector<Vec3> positions;
    Vec3& At(int ring, int sector) { return positions[ring * (kSectors + 1) + sector]; }
};

// Gentle dome: the bumps grow with the square of the distance, as the dome falls, so nothing
// rises above the centre.
Grid TopSurface() {
    Grid grid{kTopRings, std::vector<Vec3>((kTopRings + 1) * (kSectors + 1))};
    for (int ring = 0; ring <= kTopRings; ++ring)
        for (int sector = 0; sector <= kSectors; ++sector) {
            const float a = Angle(sector), f = static_cast<float>(ring) / kTopRings;
            const float r = RimRadius(a) * f;
            const float x = r * std::cos(a), z = r * std::sin(a);
            const float bumps = 0.12f * Fbm3(x * 0.9f, z * 0.9f, 2.0f, 3, 0.5f, 302u);
            grid.At(ring, sector) = Vec3{x, kLift + kDome * (1.0f - f * f) + bumps * f * f, z};
        }
    return grid;
}

// The rocky underside from the rim down to its lowest point: a steep inverted cone with ribs
// and hanging spurs that make the silhouette jagged.
Grid Underside() {
    Grid grid{kUnderRings, std::vector<Vec3>((kUnderRings + 1) * (kSectors + 1))};
    for (int ring = 0; ring <= kUnderRings; ++ring)
        for (int sector = 0; sector <= kSectors; ++sector) {
            const float a = Angle(sector), c = std::cos(a), s = std::sin(a);
            const float down = static_cast<float>(ring) / kUnderRings;   // 0 at the rim, 1 at the bottom
            float r = RimRadius(a) * std::pow(1.0f - down, 0.9f);
            float y = kLift - 0.1f - kDepth * down;
            if (ring > 0) {
                const float middle = std::sin(kPi * down);   // no roughness at the rim or the tip
                const float rib = Fbm3(c * 3.5f, s * 3.5f, down * 2.5f, 4, 0.55f, 303u);
                r *= 1.0f + 0.25f * rib * middle;
                // Spurs: a few sectors reach much lower than their neighbours.
                const float spur = std::max(0.0f, Fbm3(c * 2.4f, s * 2.4f, 5.0f, 3, 0.5f, 304u) + 0.1f);
                y -= 1.4f * spur * std::pow(down, 1.2f) * (1.0f - 0.6f * down);
                y += 0.15f * Fbm3(c * 6.0f, s * 6.0f, down * 6.0f, 2, 0.5f, 305u) * middle;
            }
            grid.At(ring, sector) = Vec3{r * c, y, r * s};
        }
    return grid;
}

// Per-vertex normals: the sum of the faces around each vertex, with the seam column joined to
// column 0, pointing the way `outward` says for that vertex.
std::vector<Vec3> Normals(Grid& grid, Vec3 (*outward)(Vec3)) {
    std::vector<Vec3> normals(grid.positions.size());
    for (int ring = 0; ring < grid.rings; ++ring)
        for (int sector = 0; sector < kSectors; ++sector) {
            const Vec3 a = grid.At(ring, sector), b = grid.At(ring, sector + 1);
            const Vec3 c = grid.At(ring + 1, sector), d = grid.At(ring + 1, sector + 1);
            Vec3 face = Cross(b - a, c - a) + Cross(c - d, b - d);
            if (Dot(face, outward(a + d)) < 0) face = -face;
            for (int k = 0; k < 4; ++k) {
                const int rr = ring + k / 2, ss = (sector + k % 2) % kSectors;
                normals[rr * (kSectors + 1) + ss] += face;
            }
        }
    for (int ring = 0; ring <= grid.rings; ++ring) {
        Vec3& first = normals[ring * (kSectors + 1)];
        first = Normalize(first);
        normals[ring * (kSectors + 1) + kSectors] = first;
        for (int sector = 1; sector < kSectors; ++sector)
            normals[ring * (kSectors + 1) + sector] = Normalize(normals[ring * (kSectors + 1) + sector]);
    }
    // The centre of the top and the tip of the underside have no faces of their own.
    for (Vec3& n : normals)
        if (Length(n) == 0) n = outward(Vec3{0, 0, 0});
    return normals;
}

Vec3 Up(Vec3) { return Vec3{0, 1, 0}; }
Vec3 DownAndOut(Vec3 p) { return Normalize(Vec3{p.x, -1.5f, p.z}); }

// From scene units, y up, to file units, z up.
Vec3 ToFile(Vec3 p) { return Vec3{p.x, p.z, p.y} * (1.0f / kFileScale); }
Vec3 ToFileDirection(Vec3 n) { return Vec3{n.x, n.z, n.y}; }

void AddGrid(MeshData& mesh, Grid& grid, Vec3 (*outward)(Vec3), bool top) {
    const std::vector<Vec3> normals = Normals(grid, outward);
    const std::uint16_t base = static_cast<std::uint16_t>(mesh.vertices.size());
    for (int ring = 0; ring <= grid.rings; ++ring)
        for (int sector = 0; sector <= kSectors; ++sector) {
            const Vec3 p = grid.At(ring, sector);
            MeshVertex v;
            v.position = ToFile(p);
            v.normal = ToFileDirection(normals[ring * (kSectors + 1) + sector]);
            if (top) {
                const float span = 2.0f * kRadius * 1.2f;
                v.s = 0.5f + p.x / span;
                v.t = kGrassBottom + 0.01f + (1.0f - kGrassBottom - 0.02f) * (0.5f + p.z / span);
            } else {
                v.s = 3.0f * static_cast<float>(sector) / kSectors;
                v.t = kRockTop - (kRockTop - 0.02f) * static_cast<float>(ring) / grid.rings;
            }
            mesh.vertices.push_back(v);
        }
    auto index = [&](int ring, int sector) { return static_cast<std::uint16_t>(base + ring * (kSectors + 1) + sector); };
    for (int ring = 0; ring < grid.rings; ++ring)
        for (int sector = 0; sector < kSectors; ++sector) {
            mesh.AddFrontFacing(index(ring, sector), index(ring, sector + 1), index(ring + 1, sector + 1));
            mesh.AddFrontFacing(index(ring, sector), index(ring + 1, sector + 1), index(ring + 1, sector));
        }
}

}  // namespace

MeshData FloatingIsland() {
    MeshData mesh;
    Grid top = TopSurface();
    Grid under = Underside();
    // The underside starts exactly on the top's rim, with a slightly lower lip.
    for (int sector = 0; sector <= kSectors; ++sector) under.At(0, sector) = top.At(kTopRings, sector);
    AddGrid(mesh, top, Up, true);
    AddGrid(mesh, under, DownAndOut, false);
    return mesh;
}

std::vector<Vec3> IslandTrack() {
    // 15.3 s at 30 points a second: one turn round the island at 9 units, 2.5 units up.
    constexpr int kPoints = 459;
    std::vector<Vec3> points;
    for (int i = 0; i < kPoints; ++i) {
        const float a = kTwoPi * static_cast<float>(i) / kPoints;
        const Vec3 scene{9.0f * std::sin(a), 2.5f + 0.5f * std::sin(2 * a), 9.0f * std::cos(a)};
        points.push_back(ToFile(scene));
    }
    return points;
}

bool WriteSceneThreeMeshes(const std::string& root) {
    std::vector<std::uint8_t> track;
    for (const Vec3& p : IslandTrack()) {
        PutFloat(track, p.x);
        PutFloat(track, p.y);
        PutFloat(track, p.z);
    }
    return WriteMesh(root, "DANE/otchlan.dat", FloatingIsland()) && WriteAssetFile(root, "DANE/track3.dat", track);
}

}  // namespace assets
