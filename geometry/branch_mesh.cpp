// geometry/branch_mesh.cpp — branch vertices and their strips.
#include "geometry/branch_mesh.h"

#include "platform/gl.h"

BranchMesh::BranchMesh(int sides) : sides(sides) {}

std::uint16_t BranchMesh::AddVertex(const TreePoint& position, const TreePoint& normal, const TreeTexCoord& texCoord) {
    const std::uint16_t index = static_cast<std::uint16_t>(positions.size());
    positions.push_back(position);
    normals.push_back(normal);
    texCoords.push_back(texCoord);
    return index;
}

void BranchMesh::AddIndex(std::uint16_t index) { indices.push_back(index); }

void BranchMesh::DrawBranches() const {}
