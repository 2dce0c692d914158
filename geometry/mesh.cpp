// geometry/mesh.cpp — byte-safe reading of mesh files.
#include "geometry/mesh.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image/little_endian.h"
#include "platform/asset_path.h"

namespace {

// Bytes the stream can still deliver, or -1 when it cannot tell (a stream that cannot seek).
long long RemainingBytes(std::istream& stream) {
    const std::istream::pos_type here = stream.tellg();
    if (here == std::istream::pos_type(-1)) return -1;
    stream.seekg(0, std::ios::end);
    const std::istream::pos_type end = stream.tellg();
    stream.seekg(here);
    if (end == std::istream::pos_type(-1) || !stream) {
        stream.clear();
        stream.seekg(here);
        return -1;
    }
    return static_cast<long long>(end - here);
}

// Reads exactly `bytes` bytes into `out`. The buffer grows only as data arrives, so a count
// the stream cannot back never turns into one huge allocation.
bool ReadExactly(std::istream& stream, std::uint64_t bytes, std::vector<char>& out) {
    constexpr std::uint64_t kChunk = 1 << 20;
    out.clear();
    while (out.size() < bytes) {
        const std::uint64_t part = std::min<std::uint64_t>(kChunk, bytes - out.size());
        const std::size_t at = out.size();
        out.resize(at + part);
        stream.read(out.data() + at, static_cast<std::streamsize>(part));
        if (static_cast<std::uint64_t>(stream.gcount()) != part) return false;
    }
    return true;
}

bool Fail(const char* name, const char* why) {
    std::fprintf(stderr, "meshes: cannot read %s (%s)\n", name, why);
    return false;
}

}  // namespace

Mesh::~Mesh() { Release(); }

void Mesh::Release() {
    delete[] indices;
    indices = nullptr;
    delete[] vertices;
    vertices = nullptr;
    triangleCount = 0;
    vertexCount = 0;
}

bool Mesh::IsDrawable(int triangle) const {
    if (triangle < 0 || triangle >= triangleCount || !indices) return false;
    const std::uint16_t* corner = indices + 3 * static_cast<std::size_t>(triangle);
    return corner[0] < vertexCount && corner[1] < vertexCount && corner[2] < vertexCount;
}

bool ReadMesh(std::istream& stream, Mesh& mesh, const char* name) {
    mesh.Release();
    if (!name) name = "mesh";

    unsigned char header[kMeshHeaderBytes];
    stream.read(reinterpret_cast<char*>(header), kMeshHeaderBytes);
    if (stream.gcount() != kMeshHeaderBytes) return Fail(name, "no complete header");

    const std::int32_t triangles = LittleEndianI32(header + 100);
    const std::int32_t vertices = LittleEndianI32(header + 104);
    if (triangles < 0 || vertices < 0) return Fail(name, "negative count in the header");

    const std::uint64_t vertexBytes = static_cast<std::uint64_t>(vertices) * sizeof(MeshVertex);
    const std::uint64_t indexBytes = static_cast<std::uint64_t>(triangles) * 3 * sizeof(std::uint16_t);
    const long long remaining = RemainingBytes(stream);
    if (remaining >= 0 && vertexBytes + indexBytes > static_cast<std::uint64_t>(remaining))
        return Fail(name, "counts larger than the data");

    std::vector<char> vertexData, indexData;
    if (!ReadExactly(stream, vertexBytes, vertexData) || !ReadExactly(stream, indexBytes, indexData))
        return Fail(name, "data ends early");

    if (vertices > 0) {
        mesh.vertices = new MeshVertex[static_cast<std::size_t>(vertices)];
        std::memcpy(mesh.vertices, vertexData.data(), vertexData.size());
    }
    if (triangles > 0) {
        mesh.indices = new std::uint16_t[static_cast<std::size_t>(triangles) * 3];
        std::memcpy(mesh.indices, indexData.data(), indexData.size());
    }
    mesh.vertexCount = vertices;
    mesh.triangleCount = triangles;
    return true;
}

bool OpenMeshFile(const char* name, std::ifstream& file) {
    std::string why;
    if (platform::OpenAssetStream(name, file, why)) return true;
    std::fprintf(stderr, "meshes: cannot open %s (%s)\n", name, why.c_str());
    return false;
}

bool LoadMesh(const char* name, Mesh& mesh) {
    std::ifstream file;
    if (!OpenMeshFile(name, file)) {
        mesh.Release();
        return false;
    }
    return ReadMesh(file, mesh, name);
}
