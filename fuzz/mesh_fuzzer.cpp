// fuzz/mesh_fuzzer.cpp — meshes read one after another from one stream, as the cave scene reads
// its four: each read takes exactly the bytes its header asks for, or fails leaving the mesh
// empty, and the stream stands just after every mesh read whole.
#include <cstring>
#include <sstream>

#include "fuzz_support.h"
#include "geometry/mesh.h"
#include "image/little_endian.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    fuzz::StderrCapture quiet;
    Mesh mesh;
    std::size_t at = 0;
    for (int read = 0; read < 8; ++read) {
        bool whole = false;
        std::int64_t triangles = 0, vertices = 0, bytes = 0;
        if (size - at >= 112) {
            triangles = LittleEndianI32(data + at + 100);
            vertices = LittleEndianI32(data + at + 104);
            bytes = 112 + 32 * vertices + 6 * triangles;
            whole = triangles >= 0 && vertices >= 0 && static_cast<std::uint64_t>(bytes) <= size - at;
        }
        const bool ok = ReadMesh(stream, mesh, "DANE\\jaskinia.dat");
        FUZZ_CHECK(ok == whole);
        if (!ok) {
            FUZZ_CHECK(mesh.vertexCount == 0 && mesh.triangleCount == 0);
            FUZZ_CHECK(mesh.vertices == nullptr && mesh.indices == nullptr);
            break;
        }
        FUZZ_CHECK(mesh.triangleCount == triangles && mesh.vertexCount == vertices);
        FUZZ_CHECK((mesh.vertices == nullptr) == (vertices == 0));
        FUZZ_CHECK((mesh.indices == nullptr) == (triangles == 0));
        if (vertices > 0) FUZZ_CHECK(std::memcmp(mesh.vertices, data + at + 112, 32 * vertices) == 0);
        if (triangles > 0)
            FUZZ_CHECK(std::memcmp(mesh.indices, data + at + 112 + 32 * vertices, 6 * triangles) == 0);
        for (int t = 0; t < mesh.triangleCount; ++t) {
            const bool inside = mesh.indices[3 * t] < vertices && mesh.indices[3 * t + 1] < vertices &&
                                mesh.indices[3 * t + 2] < vertices;
            FUZZ_CHECK(mesh.IsDrawable(t) == inside);
        }
        at += static_cast<std::size_t>(bytes);
        FUZZ_CHECK(static_cast<std::size_t>(stream.tellg()) == at);
    }
    return 0;
}
