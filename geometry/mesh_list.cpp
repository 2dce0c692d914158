// geometry/mesh_list.cpp — compiling a mesh's triangles into a display list.
#include "geometry/mesh_list.h"

GLuint CompileMeshList(const Mesh& mesh, unsigned attributes, const std::function<void(int vertex)>& beforeVertex) {
    const bool texCoords = (attributes & kMeshListTexCoords) != 0;
    const bool normals = (attributes & kMeshListNormals) != 0;
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < mesh.triangleCount; ++t) {
        if (!mesh.IsDrawable(t)) continue;
        for (int k = 0; k < 3; ++k) {
            const int i = mesh.indices[3 * t + k];
            const MeshVertex& v = mesh.vertices[i];
            if (beforeVertex) beforeVertex(i);
            if (texCoords) glTexCoord2f(v.s, v.t);
            if (normals) glNormal3f(v.nx, v.ny, v.nz);
            glVertex3f(v.x, v.y, v.z);
        }
    }
    glEnd();
    glEndList();
    return list;
}
