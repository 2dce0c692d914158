// geometry/leaf_set.cpp — leaf quads and their camera-facing corners.
#include "geometry/leaf_set.h"

#include "platform/gl.h"

void LeafSet::AddLeaf(const TreePoint& centre) { centres.push_back(centre); }

void LeafSet::PlaceCorners(float rightX, float rightZ) {
    (void)rightX;
    (void)rightZ;
}

void LeafSet::DrawLeaves() {}
