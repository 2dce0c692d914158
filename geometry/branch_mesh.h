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
//
// The strips are drawn as one list of their triangles, in the strips' order and with the
// vertices in the order GL takes them from a strip, so the picture is the strips' own; one call
// instead of one a strip spares a layer or a browser that pays for every call.
class BranchMesh {
public:
    explicit BranchMesh(int sides);

    // Appends a vertex and returns its index (the number of vertices before the call).
    std::uint16_t AddVertex(const TreePoint& position, const TreePoint& normal, const TreeTexCoord& texCoord);
    void AddIndex(std::uint16_t index);

    // Every run's triangles in one glDrawElements; needs the vertex, normal and
    // texture-coordinate client arrays enabled.
    void DrawBranches() const;

    std::vector<TreePoint> positions;
    std::vector<TreePoint> normals;
    std::vector<TreeTexCoord> texCoords;
    std::vector<std::uint16_t> indices;
    std::vector<std::uint16_t> triangles;   // three indices a triangle of the finished runs
    int sides;
};
