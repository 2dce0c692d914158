// tools/meshes_scene_four.cpp — the underwater cave (DANE/jaskinia.dat): four meshes in a row.
//
// The scene reads the first, then the second twice over (keeping the third), then the fourth,
// and turns every vertex from file units into its own: x·0.05, and (y, z) = (z, −y)·0.05. The
// shapes below are built in the scene's units, where the camera sits near (0, 3.3, 5.7) looking
// down −z, the floor lies at y = −0.5, the main light hangs at (−4.5, 3, −6.05) and the second
// one deep inside at (−4, 3, −28); fog hides everything beyond about z = −32.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "tools/mesh_sets.h"
#include "tools/mesh_writer.h"
#include "tools/noise.h"
#include "tools/output_file.h"

namespace assets {
namespace {

// Units of cave per repeat of the rock and caustic textures: large enough that the walls within
// the fog mostly magnify the caustic picture, whose animated first level is then what shows.
constexpr float kTextureRepeat = 8.0f;

// A rows × columns sheet of points with texture coordinates; normals come from the
// neighbouring points and are turned to face `facing(point)`.
struct Grid {
    int rows = 0, columns = 0;
    std::vector<Vec3> points;
    std::vector<float> s, t;
    Vec3& At(int i, int j) { return points[static_cast<std::size_t>(i) * columns + j]; }
};

void AppendGrid(MeshData& mesh, Grid& grid, bool wrapsAround, const std::function<Vec3(Vec3)>& facing) {
    const std::uint16_t first = static_cast<std::uint16_t>(mesh.vertices.size());
    for (int i = 0; i < grid.rows; ++i)
        for (int j = 0; j < grid.columns; ++j) {
            const int up = std::min(i + 1, grid.rows - 1), down = std::max(i - 1, 0);
            int left = j - 1, right = j + 1;
            if (wrapsAround) {   // the last column repeats the first
                if (left < 0) left = grid.columns - 2;
                if (right >= grid.columns) right = 1;
            } else {
                left = std::max(left, 0);
                right = std::min(right, grid.columns - 1);
            }
            const Vec3 p = grid.At(i, j);
            Vec3 n = Cross(grid.At(i, right) - grid.At(i, left), grid.At(up, j) - grid.At(down, j));
            const Vec3 wanted = facing(p);
            if (Length(n) < 1e-6f) n = wanted;
            n = Normalize(n);
            if (Dot(n, wanted) < 0) n = -n;
            MeshVertex v;
            v.position = p;
            v.normal = n;
            v.s = grid.s[static_cast<std::size_t>(i) * grid.columns + j];
            v.t = grid.t[static_cast<std::size_t>(i) * grid.columns + j];
            mesh.vertices.push_back(v);
        }
    auto index = [&](int i, int j) { return static_cast<std::uint16_t>(first + i * grid.columns + j); };
    for (int i = 0; i + 1 < grid.rows; ++i)
        for (int j = 0; j + 1 < grid.columns; ++j) {
            mesh.AddFrontFacing(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            mesh.AddFrontFacing(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
}

float Bump(float edge0, float edge1, float a, float b, float z) { return Mix(a, b, SmoothStep(edge0, edge1, z)); }

// The cave's cross-section along its length: a narrow mouth around the camera, a chamber that
// holds the main light near its left wall, and a tunnel bending left past the second light, so
// the view down it ends on a wall that the fog swallows.
struct Section {
    float centre, left, right, roof;
};

Section SectionAt(float z) {
    Section s;
    s.centre = Bump(-14, -40, 0.0f, -6.0f, z);
    s.left = Bump(2, -4, 5.0f, 6.8f, z);
    s.left = Bump(-14, -34, s.left, 4.5f, z);
    s.right = Bump(2, -4, 5.0f, 8.0f, z);
    s.right = Bump(-12, -34, s.right, 4.0f, z);
    s.roof = Bump(3, -4, 6.2f, 8.6f, z);
    s.roof = Bump(-14, -34, s.roof, 5.0f, z);
    return s;
}

constexpr float kWallFoot = -1.6f;   // below the sea floor, so no gap shows where they meet

// Walls and roof as one arch swept from behind the camera into the fog, pushed in and out by
// noise. Texture coordinates follow the arch and the length, so rock and caustics run on
// without seams.
MeshData CaveShell() {
    // Coarse enough for a software renderer, which draws these walls twice a frame; the noise
    // that shapes them is gentle at this spacing.
    constexpr float kNear = 11.0f, kFar = -50.0f, kAlong = 0.8f;
    constexpr int kAround = 32;
    Grid grid;
    grid.rows = static_cast<int>((kNear - kFar) / kAlong) + 1;
    grid.columns = kAround + 1;
    grid.points.resize(static_cast<std::size_t>(grid.rows) * grid.columns);
    grid.s.resize(grid.points.size());
    grid.t.resize(grid.points.size());
    for (int i = 0; i < grid.rows; ++i) {
        const float z = kNear - kAlong * i;
        const Section sec = SectionAt(z);
        // The arch, sampled finely, then cut into kAround pieces of equal length.
        constexpr int kFine = 400;
        std::vector<Vec3> fine(kFine + 1);
        std::vector<float> along(kFine + 1, 0.0f);
        for (int f = 0; f <= kFine; ++f) {
            const float phi = kPi * f / kFine;   // 0 at the left foot, π at the right foot
            const float c = std::cos(phi), sn = std::max(0.0f, std::sin(phi));   // sin(π) rounds below 0
            const float width = c > 0 ? sec.left : sec.right;
            fine[f] = {sec.centre - (c > 0 ? 1.0f : -1.0f) * width * std::pow(std::fabs(c), 0.75f),
                       kWallFoot + (sec.roof - kWallFoot) * std::pow(sn, 0.6f), z};
            if (f > 0) along[f] = along[f - 1] + Length(fine[f] - fine[f - 1]);
        }
        int f = 0;
        for (int j = 0; j < grid.columns; ++j) {
            const float arc = along[kFine] * j / kAround;
            while (f < kFine - 1 && along[f + 1] < arc) ++f;
            const float piece = along[f + 1] - along[f];
            const Vec3 base = Mix(fine[f], fine[f + 1], piece > 0 ? Clamp01((arc - along[f]) / piece) : 0.0f);
            const float x = base.x, y = base.y;
            // Inward, towards the middle of the arch, so rock bulges into the cave.
            const Vec3 inward = Normalize(Vec3{sec.centre, 2.5f, z} - base);
            const float lumps = 0.85f * Fbm3(x * 0.28f, y * 0.28f, z * 0.28f, 3, 0.5f, 401u);
            const float grain = 0.22f * Fbm3(x * 1.3f, y * 1.3f, z * 1.3f, 2, 0.5f, 402u);
            // The feet stay put, so they always reach below the floor.
            const float hold = SmoothStep(kWallFoot, kWallFoot + 1.5f, y);
            grid.At(i, j) = base + inward * ((lumps + grain) * hold);
            grid.s[static_cast<std::size_t>(i) * grid.columns + j] = arc / kTextureRepeat;
            grid.t[static_cast<std::size_t>(i) * grid.columns + j] = -z / kTextureRepeat;
        }
    }
    MeshData mesh;
    AppendGrid(mesh, grid, false, [](Vec3 p) {
        const Section sec = SectionAt(p.z);
        return Vec3{sec.centre, 2.5f, p.z} - p;
    });
    return mesh;
}

// A rough cone from `base` along `direction` (unit), for stalactites and stalagmites.
void AddSpike(MeshData& mesh, Vec3 base, Vec3 direction, float length, float radius, std::uint32_t seed) {
    constexpr int kRings = 8, kSides = 8;
    const Vec3 side = Normalize(Cross(direction, std::fabs(direction.x) < 0.9f ? Vec3{1, 0, 0} : Vec3{0, 0, 1}));
    const Vec3 other = Cross(direction, side);
    Grid grid;
    grid.rows = kRings + 1;
    grid.columns = kSides + 1;
    grid.points.resize(static_cast<std::size_t>(grid.rows) * grid.columns);
    grid.s.resize(grid.points.size());
    grid.t.resize(grid.points.size());
    const float around = std::max(1.0f, std::round(kTwoPi * radius / kTextureRepeat * 2));
    Random random(seed);
    const float lean = random.Uniform(-0.12f, 0.12f), leanOther = random.Uniform(-0.12f, 0.12f);
    for (int i = 0; i <= kRings; ++i) {
        const float h = static_cast<float>(i) / kRings;
        const float r = radius * std::pow(1.0f - h, 1.4f);
        const Vec3 axis = base + direction * (length * h) + (side * lean + other * leanOther) * (length * h * h);
        for (int j = 0; j <= kSides; ++j) {
            const float a = kTwoPi * (j % kSides) / kSides;
            const Vec3 out = side * std::cos(a) + other * std::sin(a);
            const Vec3 p0 = axis + out * r;
            const float rough = 1.0f + 0.25f * Fbm3(p0.x * 1.5f, p0.y * 1.5f, p0.z * 1.5f, 2, 0.5f, seed);
            grid.At(i, j) = axis + out * (r * rough);
            grid.s[static_cast<std::size_t>(i) * grid.columns + j] = around * j / kSides;
            grid.t[static_cast<std::size_t>(i) * grid.columns + j] = length * h / kTextureRepeat;
        }
    }
    AppendGrid(mesh, grid, true, [base, direction](Vec3 p) {
        const Vec3 d = p - base;
        return d - direction * Dot(d, direction) + direction * 0.15f;
    });
}

// A lumpy, flattened ball, sunk into the floor.
void AddBoulder(MeshData& mesh, Vec3 centre, float radius, float squash, std::uint32_t seed) {
    constexpr int kStacks = 8, kSlices = 12;
    Grid grid;
    grid.rows = kStacks + 1;
    grid.columns = kSlices + 1;
    grid.points.resize(static_cast<std::size_t>(grid.rows) * grid.columns);
    grid.s.resize(grid.points.size());
    grid.t.resize(grid.points.size());
    const float around = std::max(1.0f, std::round(kTwoPi * radius / kTextureRepeat * 2));
    for (int i = 0; i <= kStacks; ++i) {
        const float polar = kPi * i / kStacks;   // 0 at the top
        for (int j = 0; j <= kSlices; ++j) {
            const float a = kTwoPi * (j % kSlices) / kSlices;
            const Vec3 d{std::sin(polar) * std::cos(a), std::cos(polar), std::sin(polar) * std::sin(a)};
            const float rough = 1.0f + 0.3f * Fbm3(d.x * 1.6f, d.y * 1.6f, d.z * 1.6f, 3, 0.5f, seed);
            grid.At(i, j) = centre + Vec3{d.x, d.y * squash, d.z} * (radius * rough);
            grid.s[static_cast<std::size_t>(i) * grid.columns + j] = around * j / kSlices;
            grid.t[static_cast<std::size_t>(i) * grid.columns + j] = around * 0.5f * i / kStacks;
        }
    }
    AppendGrid(mesh, grid, true, [centre](Vec3 p) { return p - centre; });
}

// Stalactites from the roof and stalagmites from the floor, kept clear of the fountain at the
// main light and of the view down the tunnel.
MeshData Formations() {
    MeshData mesh;
    struct Hanging {
        float x, z, length, radius;
    };
    const Hanging roof[] = {
        {-1.8f, -9.0f, 3.2f, 0.55f}, {1.2f, -7.0f, 2.2f, 0.4f},  {3.8f, -12.5f, 3.6f, 0.65f},
        {-0.6f, -15.5f, 2.6f, 0.5f}, {5.0f, -19.0f, 2.4f, 0.5f}, {-3.2f, -20.0f, 3.0f, 0.6f},
        {0.8f, -24.0f, 2.0f, 0.45f}, {2.6f, -4.0f, 1.6f, 0.35f}, {-3.0f, -13.0f, 1.8f, 0.4f},
        {-1.5f, -30.0f, 2.2f, 0.5f},
    };
    std::uint32_t seed = 500;
    for (const Hanging& h : roof) {
        const float top = SectionAt(h.z).roof + 0.8f;
        AddSpike(mesh, {h.x, top, h.z}, {0, -1, 0}, h.length + 0.8f, h.radius, seed++);
    }
    const Hanging floor[] = {
        {-5.6f, -12.0f, 2.4f, 0.6f}, {5.9f, -9.0f, 3.0f, 0.7f}, {6.2f, -16.0f, 1.8f, 0.55f},
        {-5.0f, -17.5f, 1.6f, 0.5f}, {2.0f, -23.5f, 2.2f, 0.55f}, {-3.0f, -27.0f, 1.8f, 0.5f},
        {4.3f, -3.0f, 1.2f, 0.45f},
    };
    for (const Hanging& h : floor) AddSpike(mesh, {h.x, -1.2f, h.z}, {0, 1, 0}, h.length + 0.7f, h.radius, seed++);
    return mesh;
}

// Fallen rocks along the walls, half buried in the sand.
MeshData Boulders() {
    MeshData mesh;
    struct Rock {
        float x, z, radius, squash;
    };
    const Rock rocks[] = {
        {-5.4f, -2.5f, 1.3f, 0.7f}, {5.6f, -6.0f, 1.1f, 0.8f},  {-2.6f, -13.5f, 0.8f, 0.6f},
        {4.8f, -21.0f, 1.6f, 0.7f}, {-5.8f, -24.5f, 1.4f, 0.6f}, {1.8f, -18.0f, 0.6f, 0.7f},
        {-4.2f, -8.6f, 0.9f, 0.65f},
    };
    std::uint32_t seed = 600;
    for (const Rock& r : rocks) AddBoulder(mesh, {r.x, -0.7f, r.z}, r.radius, r.squash, seed++);
    return mesh;
}

// Scene units to file units: the inverse of the scene's scale and quarter turn.
MeshData ToFileUnits(MeshData mesh) {
    for (MeshVertex& v : mesh.vertices) {
        v.position = Vec3{v.position.x, -v.position.z, v.position.y} * 20.0f;
        v.normal = Vec3{v.normal.x, -v.normal.z, v.normal.y};
    }
    return mesh;
}

}  // namespace

std::vector<MeshData> CaveMeshes() {
    MeshData unused;
    AddBoulder(unused, {0, -3, -40}, 1.0f, 1.0f, 700);   // read over by the scene, never drawn
    return {ToFileUnits(CaveShell()), ToFileUnits(unused), ToFileUnits(Formations()), ToFileUnits(Boulders())};
}

bool WriteSceneFourMeshes(const std::string& root) {
    std::vector<std::uint8_t> bytes;
    for (const MeshData& mesh : CaveMeshes()) {
        const std::vector<std::uint8_t> one = EncodeMesh(mesh);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return WriteAssetFile(root, "DANE/jaskinia.dat", bytes);
}

}  // namespace assets
