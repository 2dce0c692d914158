// effects/terrain.cpp — heightmap reading and the two refinement passes.
#include "effects/terrain.h"

void Terrain::Build(TerrainParams& params) {
    columns = rows = 0;
    vertices.clear();
    (void)params;
}

void Terrain::SetTextureRepeat(float repeatX, float repeatZ) {
    (void)repeatX;
    (void)repeatZ;
}

void Terrain::ComputeNormals() {}

std::unique_ptr<float[]> LoadHeightmap(TerrainParams& params) {
    (void)params;
    return nullptr;
}

std::unique_ptr<float[]> ReadHeightmap(const unsigned char* bytes, std::size_t size, TerrainParams& params,
                                       const char* name) {
    (void)bytes;
    (void)size;
    (void)params;
    (void)name;
    return nullptr;
}
