// geometry/branch_mesh.h — the branches of a tree as textured, lit triangle strips.
#pragma once

#include <cstdint>
#include <vector>

// A point or direction in scene coordinates.
struct TreePoint {
    float x, y, z;
};

// A texture coordinate.
struct TreeTexCoord {
    float s, t;
};

// Vertices in scene coordinates and runs of 2 × sides indices, each run one triangle strip.
// Normals are not normalised: the owner enables GL_NORMALIZE.
class BranchMesh {
public:
    explicit BranchMesh(int sides);

    // Appends a vertex and returns its index (the number of vertices before the call).
    std::uint16_t AddVertex(const TreePoint& position, const TreePoint& normal, const TreeTexCoord& texCoord);
    void AddIndex(std::uint16_t index);

    // One glDrawElements strip per run; needs the vertex, normal and texture-coordinate
    // client arrays enabled.
    void DrawBranches() const;

    std::vector<TreePoint> positions;
    std::vector<TreePoint> normals;
    std::vector<TreeTexCoord> texCoords;
    std::vector<std::uint16_t> indices;
    int sides;
};
