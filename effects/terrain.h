// effects/terrain.h — a smooth landscape grid refined from a greyscale heightmap.
//
// A 24-bit bitmap gives one height per pixel; a coarse grid of control vertices is sampled
// from it and refined by Catmull-Rom subdivision, first along the rows, then along the
// columns. The owner draws the vertices itself; the terrain has no GL state of its own.
#pragma once

#include <cstdint>
#include <vector>

// What to build; the caller fills everything but the image size, which the load writes.
struct TerrainParams {
    const char* fileName = nullptr;   // asset path of the heightmap, e.g. "TEKSTURY\\teren.BMP"
    std::uint32_t cellsX = 0;         // coarse cells along x, at least 4
    std::uint32_t cellsZ = 0;         // coarse cells along z, at least 4
    std::uint32_t subdivX = 0;        // vertices per coarse cell edge along x, both ends counted
    std::uint32_t subdivZ = 0;        // the same along z
    float sizeX = 0;                  // extent of the landscape in world units
    float sizeZ = 0;
    float heightScale = 0;            // world units per grey level
    float baseLevel = 0;              // fraction of the grey range 0..255 that lies at height 0
    std::int32_t imageWidth = 0;      // written by the load
    std::int32_t imageHeight = 0;
};

// One vertex of the refined grid.
struct TerrainVertex {
    float x, y, z;      // position
    float nx, ny, nz;   // normal
    float u, v;         // texture coordinates
};

// The refined grid, row-major: index = row · columns + column. Row 0 lies at z = −sizeZ/2 and
// rows grow towards +z; columns grow towards +x.
class Terrain {
public:
    Terrain() = default;
    virtual ~Terrain() = default;

    // Loads the heightmap, samples the coarse grid and refines it. With fewer than 4 cells on
    // either axis, or a heightmap that cannot be read, the terrain stays empty (0 × 0).
    void Build(TerrainParams& params);

    // u and v repeat the texture repeatX times across x and repeatZ times across z.
    void SetTextureRepeat(float repeatX, float repeatZ);

    // Unit normals averaged from the triangles each vertex forms with its eight neighbours.
    void ComputeNormals();

    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    float sizeX = 0;
    float sizeZ = 0;
    std::vector<TerrainVertex> vertices;   // columns · rows entries; empty when not built

private:
    void RefineRows(const std::vector<TerrainVertex>& coarse, std::uint32_t cellsX, std::uint32_t cellsZ,
                    std::uint32_t subdivX, std::uint32_t subdivZ);
    void RefineColumns(std::uint32_t cellsZ, std::uint32_t subdivZ);
};
