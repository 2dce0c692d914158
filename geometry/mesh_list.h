// geometry/mesh_list.h — a mesh compiled into a GL display list.
#pragma once

#include <functional>

#include "geometry/mesh.h"
#include "platform/gl.h"

// Which of a vertex's own attributes go into the list besides its position; combine with |.
enum MeshListAttributes : unsigned {
    kMeshListPositions = 0,
    kMeshListTexCoords = 1u << 0,   // glTexCoord2f(s, t)
    kMeshListNormals = 1u << 1,     // glNormal3f(nx, ny, nz)
};

// Compiles one GL_TRIANGLES list of the mesh's drawable triangles (Mesh::IsDrawable; the others
// are skipped) and returns its name. Each corner sends, in this order: `beforeVertex(index)`
// when given, for what the mesh does not hold (a vertex weight, a second unit's coordinates);
// the texture coordinates and the normal when `attributes` asks for them; the position.
GLuint CompileMeshList(const Mesh& mesh, unsigned attributes,
                       const std::function<void(int vertex)>& beforeVertex = nullptr);
