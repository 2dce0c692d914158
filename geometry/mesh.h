// geometry/mesh.h — static triangle meshes and the reader of the binary mesh files.
//
// A mesh file holds a 112-byte header (triangle count at offset 100, vertex count at 104),
// then the 32-byte vertex records, then three 16-bit indices per triangle, all little-endian.
// Several meshes may follow one another in one file.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>

// One vertex exactly as stored in the file, so the records are read in bulk and used in place.
struct MeshVertex {
    float x, y, z;      // position
    float nx, ny, nz;   // normal
    float s, t;         // texture coordinates
};
static_assert(sizeof(MeshVertex) == 32, "MeshVertex must match the 32-byte file record");

// A vertex array and a triangle index array (three indices per triangle), both owned.
class Mesh {
public:
    Mesh() = default;
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Frees both arrays and zeroes the counts; harmless on an empty mesh.
    void Release();

    // True when all three indices of triangle `triangle` name existing vertices. The reader
    // keeps the file's triangles as they are; whoever draws a mesh skips the ones this rejects.
    bool IsDrawable(int triangle) const;

    std::int32_t triangleCount = 0;
    std::int32_t vertexCount = 0;
    MeshVertex* vertices = nullptr;     // vertexCount records; null when empty
    std::uint16_t* indices = nullptr;   // 3 × triangleCount entries; null when empty
};

constexpr int kMeshHeaderBytes = 112;

// Reads one mesh from the stream's current position into `mesh`, releasing what it held, and
// leaves the stream just after the mesh. On a short or malformed mesh it leaves `mesh` empty,
// prints one line naming `name` and returns false; the stream is then not fit for more reads.
bool ReadMesh(std::istream& stream, Mesh& mesh, const char* name = "mesh");

// Opens asset file `name` for reading meshes from it. False, with one line naming the file and
// saying why (missing, a folder, unreadable), when it cannot be opened.
bool OpenMeshFile(const char* name, std::ifstream& file);

// Reads the one mesh of asset file `name` into `mesh`; a file that cannot be opened or read
// leaves `mesh` empty and is named in one line.
bool LoadMesh(const char* name, Mesh& mesh);
