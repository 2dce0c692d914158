// geometry/leaf_set.h — the leaves of a tree: vertical quads that turn towards the camera.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/branch_mesh.h"

// One quad per leaf, hanging from the branch tip it grew on. The corners follow the camera's
// right axis and are recomputed at every draw; the texture quadrant of each leaf is fixed.
class LeafSet {
public:
    // Adds a leaf at `centre`; two values of the program's generator pick its quadrant of the
    // leaf texture (the first the row, the second the column).
    void AddLeaf(const TreePoint& centre);

    // Recomputes the corners from the current modelview matrix and draws every leaf with one
    // glDrawElements call; needs the vertex and texture-coordinate client arrays enabled.
    void DrawLeaves();

    // Places the corners for a camera whose right axis has the given x and z (times 0.33 is
    // taken here); DrawLeaves calls it with the modelview's first row.
    void PlaceCorners(float rightX, float rightZ);

    TreePoint rightVector{0, 0, 0};
    std::vector<TreePoint> centres;
    std::vector<TreePoint> corners;       // four per leaf
    std::vector<TreeTexCoord> texCoords;  // four per leaf
    std::vector<std::uint16_t> indices;   // four per leaf
};
