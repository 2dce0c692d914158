// geometry/branch_mesh.cpp — branch vertices and their strips.
#include "geometry/branch_mesh.h"

#include "platform/gl.h"

BranchMesh::BranchMesh(int sides) : sides(sides) {}

// Past 65536 vertices the 16-bit index wraps; it then still names an existing vertex, so a
// tree too large for the format draws wrongly but never outside the arrays.
std::uint16_t BranchMesh::AddVertex(const TreePoint& position, const TreePoint& normal, const TreeTexCoord& texCoord) {
    const std::uint16_t index = static_cast<std::uint16_t>(positions.size());
    positions.push_back(position);
    normals.push_back(normal);
    texCoords.push_back(texCoord);
    return index;
}

// A finished run adds its strip's triangles; every other one has its first two vertices
// swapped, as GL does, so that all keep the strip's facing.
void BranchMesh::AddIndex(std::uint16_t index) {
    indices.push_back(index);
    const std::size_t run = 2 * static_cast<std::size_t>(sides);
    if (sides < 1 || indices.size() % run != 0) return;
    const std::uint16_t* strip = indices.data() + indices.size() - run;
    for (std::size_t k = 0; k + 2 < run; ++k) {
        const bool odd = k % 2 != 0;
        triangles.push_back(strip[odd ? k + 1 : k]);
        triangles.push_back(strip[odd ? k : k + 1]);
        triangles.push_back(strip[k + 2]);
    }
}

void BranchMesh::DrawBranches() const {
    if (positions.empty() || triangles.empty()) return;
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(triangles.size()), GL_UNSIGNED_SHORT, triangles.data());
}
