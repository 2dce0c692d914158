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

void BranchMesh::AddIndex(std::uint16_t index) { indices.push_back(index); }

void BranchMesh::DrawBranches() const {
    if (positions.empty() || sides < 1) return;
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    const std::size_t run = 2 * static_cast<std::size_t>(sides);
    for (std::size_t at = 0; at + run <= indices.size(); at += run)
        glDrawElements(GL_TRIANGLE_STRIP, static_cast<GLsizei>(run), GL_UNSIGNED_SHORT, indices.data() + at);
}
