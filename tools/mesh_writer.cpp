// tools/mesh_writer.cpp — mesh encoding and winding.
#include "tools/mesh_writer.h"

#include "tools/output_file.h"

namespace assets {

void MeshData::AddFrontFacing(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    const Vec3 pa = vertices[a].position, pb = vertices[b].position, pc = vertices[c].position;
    const Vec3 facing = Cross(pb - pa, pc - pa);
    const Vec3 outward = vertices[a].normal + vertices[b].normal + vertices[c].normal;
    if (Dot(facing, outward) < 0) std::swap(b, c);
    indices.push_back(a);
    indices.push_back(b);
    indices.push_back(c);
}

std::vector<std::uint8_t> EncodeMesh(const MeshData& mesh) {
    std::vector<std::uint8_t> out(100, 0);
    PutU32(out, static_cast<std::uint32_t>(mesh.indices.size() / 3));
    PutU32(out, static_cast<std::uint32_t>(mesh.vertices.size()));
    PutU32(out, 0);
    for (const MeshVertex& v : mesh.vertices) {
        for (float f : {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z, v.s, v.t})
            PutFloat(out, f);
    }
    for (std::uint16_t index : mesh.indices) PutU16(out, index);
    return out;
}

bool WriteMesh(const std::string& root, const std::string& relative, const MeshData& mesh) {
    return WriteAssetFile(root, relative, EncodeMesh(mesh));
}

}  // namespace assets
