// effects/terrain.cpp — the coarse grid sampled from the heightmap and the two refinement passes.
#include "effects/terrain.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geometry/catmull_rom.h"
#include "image/heightmap.h"

namespace {

constexpr std::uint32_t kMaxCells = 4096;
constexpr std::uint64_t kMaxTerrainVertices = 16ULL * 1024 * 1024;

// The four window members around coarse cell k of n cells, clamped at both ends.
void Window(std::uint32_t k, std::uint32_t n, std::uint32_t out[4]) {
    out[0] = k == 0 ? 0 : k - 1;
    out[1] = k;
    out[2] = k + 1;
    out[3] = std::min(k + 2, n);
}

void Normalise(float& x, float& y, float& z) {
    const float lengthSquared = x * x + y * y + z * z;
    if (!(lengthSquared > 0.0f)) return;   // a degenerate triangle adds nothing
    const float inverse = 1.0f / std::sqrt(lengthSquared);
    x *= inverse;
    y *= inverse;
    z *= inverse;
}

// True when the grid the parameters ask for is within bounds; otherwise says so, naming the file.
bool GridFits(const TerrainParams& params, std::uint64_t& wantColumns, std::uint64_t& wantRows) {
    const std::uint32_t cellsX = params.cellsX, cellsZ = params.cellsZ;
    const std::uint32_t subdivX = params.subdivX, subdivZ = params.subdivZ;
    if (cellsX > kMaxCells || cellsZ > kMaxCells || subdivX < 2 || subdivZ < 2 || subdivX > kMaxCells ||
        subdivZ > kMaxCells) {
        std::fprintf(stderr, "terrain: no grid for %s (%u × %u cells, subdivision %u × %u)\n",
                     params.fileName ? params.fileName : "(no heightmap name)", cellsX, cellsZ, subdivX, subdivZ);
        return false;
    }
    wantColumns = static_cast<std::uint64_t>(cellsX) * (subdivX - 1) + 1;
    wantRows = static_cast<std::uint64_t>(cellsZ) * (subdivZ - 1) + 1;
    if (wantColumns * wantRows > kMaxTerrainVertices) {
        std::fprintf(stderr, "terrain: no grid for %s (%llu × %llu vertices is too many)\n",
                     params.fileName ? params.fileName : "(no heightmap name)",
                     static_cast<unsigned long long>(wantColumns), static_cast<unsigned long long>(wantRows));
        return false;
    }
    return true;
}

// Coarse grid: (cellsX + 1) × (cellsZ + 1) positions only, row-major, with every fraction
// accumulated in single precision.
std::vector<TerrainVertex> SampleCoarseGrid(const TerrainParams& params, const Heightmap& map) {
    const std::uint32_t cellsX = params.cellsX, cellsZ = params.cellsZ;
    const std::int32_t W = map.width, H = map.height;
    const long long lastPixel = static_cast<long long>(W) * H - 1;
    const std::uint32_t coarseColumns = cellsX + 1;
    std::vector<TerrainVertex> coarse(static_cast<std::size_t>(coarseColumns) * (cellsZ + 1), TerrainVertex{});
    const float stepX = params.sizeX / static_cast<float>(cellsX), stepZ = params.sizeZ / static_cast<float>(cellsZ);
    const float stepU = 1.0f / static_cast<float>(cellsX), stepV = 1.0f / static_cast<float>(cellsZ);
    float z = -params.sizeZ / 2.0f, v = 0.0f;
    for (std::uint32_t i = 0; i <= cellsZ; ++i) {
        float x = -params.sizeX / 2.0f, u = 0.0f;
        const float rowStart = static_cast<float>(static_cast<long long>(v * static_cast<float>(H - 1))) *
                               static_cast<float>(W);
        for (std::uint32_t j = 0; j <= cellsX; ++j) {
            long long at = static_cast<long long>(rowStart + static_cast<float>(W - 1) * u);
            at = std::max(0LL, std::min(at, lastPixel));   // only a huge image could round past its end
            TerrainVertex& c = coarse[static_cast<std::size_t>(i) * coarseColumns + j];
            c.x = x;
            c.y = map.heights[static_cast<std::size_t>(at)];
            c.z = z;
            x += stepX;
            u += stepU;
        }
        z += stepZ;
        v += stepV;
    }
    return coarse;
}

}  // namespace

void Terrain::Build(TerrainParams& params) {
    columns = rows = 0;
    vertices.clear();
    if (params.cellsX < 4 || params.cellsZ < 4) return;
    std::uint64_t wantColumns = 0, wantRows = 0;
    if (!GridFits(params, wantColumns, wantRows)) return;

    Heightmap map = LoadHeightmap(params.fileName, params.heightScale, params.baseLevel);
    if (!map.heights) return;
    params.imageWidth = map.width;
    params.imageHeight = map.height;
    sizeX = params.sizeX;
    sizeZ = params.sizeZ;
    const std::vector<TerrainVertex> coarse = SampleCoarseGrid(params, map);
    map.heights.reset();

    columns = static_cast<std::uint32_t>(wantColumns);
    rows = static_cast<std::uint32_t>(wantRows);
    vertices.assign(static_cast<std::size_t>(columns) * rows, TerrainVertex{});
    RefineRows(coarse, params.cellsX, params.cellsZ, params.subdivX, params.subdivZ);
    RefineColumns(params.cellsZ, params.subdivZ);
}

// Row pass: each coarse row fills its refined row, cell by cell. A cell's last vertex is written
// and then overwritten, identically, by the next cell's first.
void Terrain::RefineRows(const std::vector<TerrainVertex>& coarse, std::uint32_t cellsX, std::uint32_t cellsZ,
                         std::uint32_t subdivX, std::uint32_t subdivZ) {
    const std::uint32_t coarseColumns = cellsX + 1;
    for (std::uint32_t i = 0; i <= cellsZ; ++i) {
        const TerrainVertex* from = &coarse[static_cast<std::size_t>(i) * coarseColumns];
        TerrainVertex* to = &vertices[static_cast<std::size_t>(i) * (subdivZ - 1) * columns];
        for (std::uint32_t k = 0; k < cellsX; ++k) {
            std::uint32_t w[4];
            Window(k, cellsX, w);
            const TerrainVertex &p0 = from[w[0]], &p1 = from[w[1]], &p2 = from[w[2]], &p3 = from[w[3]];
            TerrainVertex* out = to + static_cast<std::size_t>(k) * (subdivX - 1);
            out[0] = p1;
            for (std::uint32_t m = 1; m + 1 < subdivX; ++m) {
                const float t = static_cast<float>(m) / static_cast<float>(subdivX - 1);
                out[m] = p1;
                out[m].x = p1.x + t * (p2.x - p1.x);
                out[m].y = CatmullRom(t, p0.y, p1.y, p2.y, p3.y);
                out[m].z = p1.z;
            }
            out[subdivX - 1] = p2;
        }
    }
}

// Column pass: between the refined coarse rows, down every refined column.
void Terrain::RefineColumns(std::uint32_t cellsZ, std::uint32_t subdivZ) {
    for (std::uint32_t c = 0; c < columns; ++c) {
        auto at = [&](std::uint32_t coarseRow, std::uint32_t m) -> TerrainVertex& {
            return vertices[(static_cast<std::size_t>(coarseRow) * (subdivZ - 1) + m) * columns + c];
        };
        for (std::uint32_t a = 0; a < cellsZ; ++a) {
            std::uint32_t w[4];
            Window(a, cellsZ, w);
            const TerrainVertex p0 = at(w[0], 0), p1 = at(w[1], 0), p2 = at(w[2], 0), p3 = at(w[3], 0);
            at(a, 0) = p1;
            for (std::uint32_t m = 1; m + 1 < subdivZ; ++m) {
                const float t = static_cast<float>(m) / static_cast<float>(subdivZ - 1);
                TerrainVertex& out = at(a, m);
                out = p1;
                out.x = p1.x;
                out.y = CatmullRom(t, p0.y, p1.y, p2.y, p3.y);
                out.z = p1.z + t * (p2.z - p1.z);
            }
            at(a + 1, 0) = p2;
        }
    }
}

void Terrain::SetTextureRepeat(float repeatX, float repeatZ) {
    const float cellU = sizeX / repeatX, cellV = sizeZ / repeatZ;
    for (TerrainVertex& vertex : vertices) {
        vertex.u = (vertex.x + sizeX / 2.0f) / cellU;
        vertex.v = (vertex.z + sizeZ / 2.0f) / cellV;
    }
}

void Terrain::ComputeNormals() {
    // Neighbours as (column, row) offsets, walked round the vertex in this fixed order.
    static const int kAround[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    const long long cols = columns, rowCount = rows;
    for (long long i = 0; i < rowCount; ++i) {
        for (long long j = 0; j < cols; ++j) {
            TerrainVertex& p = vertices[static_cast<std::size_t>(i * cols + j)];
            float sumX = 0, sumY = 0, sumZ = 0;
            for (int k = 0; k < 8; ++k) {
                const int* a = kAround[k];
                const int* b = kAround[(k + 1) % 8];
                const long long ac = j + a[0], ar = i + a[1], bc = j + b[0], br = i + b[1];
                if (ac < 0 || ac >= cols || ar < 0 || ar >= rowCount || bc < 0 || bc >= cols || br < 0 ||
                    br >= rowCount)
                    continue;
                const TerrainVertex& na = vertices[static_cast<std::size_t>(ar * cols + ac)];
                const TerrainVertex& nb = vertices[static_cast<std::size_t>(br * cols + bc)];
                const float e1x = na.x - p.x, e1y = na.y - p.y, e1z = na.z - p.z;
                const float e2x = nb.x - p.x, e2y = nb.y - p.y, e2z = nb.z - p.z;
                float nx = e1y * e2z - e1z * e2y, ny = e1z * e2x - e1x * e2z, nz = e1x * e2y - e1y * e2x;
                if (ny < 0) {
                    nx = -nx;
                    ny = -ny;
                    nz = -nz;
                }
                Normalise(nx, ny, nz);
                sumX += nx;
                sumY += ny;
                sumZ += nz;
            }
            Normalise(sumX, sumY, sumZ);
            p.nx = sumX;
            p.ny = sumY;
            p.nz = sumZ;
        }
    }
}
