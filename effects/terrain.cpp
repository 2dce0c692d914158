// effects/terrain.cpp — heightmap reading and the two refinement passes.
//
// The heightmap reader checks the header's size against fixed bounds and against the bytes
// the file holds before it allocates anything, and never reads past the pixel data.
#include "effects/terrain.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "geometry/catmull_rom.h"
#include "image/image_file.h"
#include "platform/asset_path.h"

namespace {

constexpr std::size_t kHeaderBytes = 54;                           // file header + information header
constexpr long long kMaxHeightmapPixels = 16LL * 1024 * 1024;      // 4096 × 4096
constexpr std::uint32_t kMaxCells = 4096;
constexpr std::uint64_t kMaxTerrainVertices = 16ULL * 1024 * 1024;

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::int32_t I32(const unsigned char* p) {
    const std::uint32_t value = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    std::int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

std::unique_ptr<float[]> Fail(const char* name, const std::string& why) {
    std::fprintf(stderr, "terrain: cannot read %s (%s)\n", name, why.c_str());
    return nullptr;
}

// The size a header describes, once it has been found sane.
struct HeightmapShape {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t rowBytes = 0;      // 3 bytes per pixel
    std::size_t paddedRow = 0;     // the row rounded up to 4 bytes, as bitmaps store it
};

// Checks the 54 header bytes; on failure `why` says what is wrong.
bool ParseHeader(const unsigned char* header, std::size_t got, HeightmapShape& shape, std::string& why) {
    if (got < 2 || U16(header) != 0x4D42) {
        why = got < 2 ? "empty, or too short to be a picture" : "not a BMP file";
        return false;
    }
    if (got < kHeaderBytes) {
        why = "no complete header (" + std::to_string(got) + " of 54 bytes)";
        return false;
    }
    const std::int32_t width = I32(header + 18);
    const std::int32_t height = I32(header + 22);
    const int bits = U16(header + 28);
    if (bits != 24) {
        why = std::to_string(bits) + " bits per pixel, not 24";
        return false;
    }
    if (width <= 0 || height <= 0) {
        why = "no pixels (" + std::to_string(width) + " × " + std::to_string(height) + ")";
        return false;
    }
    if (static_cast<long long>(width) * height > kMaxHeightmapPixels) {
        why = "claims " + std::to_string(width) + " × " + std::to_string(height) + " pixels, more than it may";
        return false;
    }
    shape.width = width;
    shape.height = height;
    shape.rowBytes = static_cast<std::size_t>(width) * 3;
    shape.paddedRow = (shape.rowBytes + 3) & ~static_cast<std::size_t>(3);
    return true;
}

// Turns the pixel bytes into heights. Rows are read at the bitmap's padded stride when the data
// holds padded rows, and packed when it holds exactly the pixels and nothing more.
std::unique_ptr<float[]> Decode(const HeightmapShape& shape, const unsigned char* pixels, std::size_t size,
                                TerrainParams& params, const char* name) {
    const std::size_t rows = static_cast<std::size_t>(shape.height);
    std::size_t stride = shape.paddedRow;
    if (size < stride * rows) stride = shape.rowBytes;
    if (size < stride * rows)
        return Fail(name, "pixel data ends early (" + std::to_string(size) + " of " +
                              std::to_string(shape.paddedRow * rows) + " bytes)");

    const std::size_t width = static_cast<std::size_t>(shape.width);
    std::unique_ptr<float[]> heights(new float[width * rows]);
    const float offset = params.heightScale * 255.0f * params.baseLevel;
    for (std::size_t row = 0; row < rows; ++row) {
        const unsigned char* p = pixels + row * stride;
        for (std::size_t column = 0; column < width; ++column, p += 3) {
            const int grey = (p[0] + p[1] + p[2]) / 3;
            heights[row * width + column] = static_cast<float>(grey) * params.heightScale - offset;
        }
    }
    params.imageWidth = shape.width;
    params.imageHeight = shape.height;
    return heights;
}

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

}  // namespace

std::unique_ptr<float[]> ReadHeightmap(const unsigned char* bytes, std::size_t size, TerrainParams& params,
                                       const char* name) {
    if (!name) name = "heightmap";
    HeightmapShape shape;
    std::string why;
    if (!bytes) size = 0;
    if (!ParseHeader(bytes, std::min(size, kHeaderBytes), shape, why)) return Fail(name, why);
    return Decode(shape, bytes + kHeaderBytes, size - kHeaderBytes, params, name);
}

std::unique_ptr<float[]> LoadHeightmap(TerrainParams& params) {
    const char* name = params.fileName ? params.fileName : "(no heightmap name)";
    std::FILE* file = params.fileName ? platform::OpenAsset(params.fileName, "rb") : nullptr;
    if (!file) {
        const std::string problem = params.fileName ? platform::AssetFileProblem(params.fileName) : "no name given";
        std::fprintf(stderr, "terrain: cannot open %s (%s)\n", name, problem.c_str());
        return nullptr;
    }
    unsigned char header[kHeaderBytes] = {};
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    HeightmapShape shape;
    std::string why;
    if (!ParseHeader(header, got, shape, why)) {
        std::fclose(file);
        return Fail(name, why);
    }
    // The header is sane, so the padded pixel block is bounded; read at most that much, growing
    // the buffer only with the data the file holds, so a header alone cannot claim the block.
    std::vector<std::uint8_t> pixels;
    ReadUpTo(file, shape.paddedRow * static_cast<std::size_t>(shape.height), pixels);
    std::fclose(file);
    return Decode(shape, pixels.data(), pixels.size(), params, name);
}

void Terrain::Build(TerrainParams& params) {
    columns = rows = 0;
    vertices.clear();
    const std::uint32_t cellsX = params.cellsX, cellsZ = params.cellsZ;
    const std::uint32_t subdivX = params.subdivX, subdivZ = params.subdivZ;
    if (cellsX < 4 || cellsZ < 4) return;
    if (cellsX > kMaxCells || cellsZ > kMaxCells || subdivX < 2 || subdivZ < 2 || subdivX > kMaxCells ||
        subdivZ > kMaxCells) {
        std::fprintf(stderr, "terrain: no grid for %s (%u × %u cells, subdivision %u × %u)\n",
                     params.fileName ? params.fileName : "(no heightmap name)", cellsX, cellsZ, subdivX, subdivZ);
        return;
    }
    const std::uint64_t wantColumns = static_cast<std::uint64_t>(cellsX) * (subdivX - 1) + 1;
    const std::uint64_t wantRows = static_cast<std::uint64_t>(cellsZ) * (subdivZ - 1) + 1;
    if (wantColumns * wantRows > kMaxTerrainVertices) {
        std::fprintf(stderr, "terrain: no grid for %s (%llu × %llu vertices is too many)\n",
                     params.fileName ? params.fileName : "(no heightmap name)",
                     static_cast<unsigned long long>(wantColumns), static_cast<unsigned long long>(wantRows));
        return;
    }

    std::unique_ptr<float[]> heights = LoadHeightmap(params);
    if (!heights) return;
    sizeX = params.sizeX;
    sizeZ = params.sizeZ;

    // Coarse grid: positions only, with every fraction accumulated in single precision.
    const std::int32_t W = params.imageWidth, H = params.imageHeight;
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
            c.y = heights[static_cast<std::size_t>(at)];
            c.z = z;
            x += stepX;
            u += stepU;
        }
        z += stepZ;
        v += stepV;
    }
    heights.reset();

    columns = static_cast<std::uint32_t>(wantColumns);
    rows = static_cast<std::uint32_t>(wantRows);
    vertices.assign(static_cast<std::size_t>(columns) * rows, TerrainVertex{});

    // Row pass: each coarse row fills its refined row, cell by cell. A cell's last vertex is
    // written and then overwritten, identically, by the next cell's first.
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

    // Column pass: between the refined coarse rows, down every refined column.
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
