// tools/mesh_writer.h — triangle meshes in the demo's binary mesh format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vec.h"

namespace assets {

struct MeshVertex {
    Vec3 position;
    Vec3 normal;
    float s = 0, t = 0;
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint16_t> indices;   // three per triangle

    // Appends a triangle, turning it so that it is counter-clockwise seen from the side its
    // vertex normals point to.
    void AddFrontFacing(std::uint16_t a, std::uint16_t b, std::uint16_t c);
};

// 112-byte header (triangle count at 100, vertex count at 104, the rest zero), then 32-byte
// vertices and 6-byte triangles.
std::vector<std::uint8_t> EncodeMesh(const MeshData& mesh);

bool WriteMesh(const std::string& root, const std::string& relative, const MeshData& mesh);

}  // namespace assets
