// scenes/nearest_leaves.h — the island's tree with its leaves drawn nearest first.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/tree.h"

// Draws what Tree::DrawTree draws, in the same state, with the leaf quads in order of their
// distance from the eye, nearest first. The leaves are alpha-tested and write depth without
// blending, so each pixel shows the nearest leaf that passes the test whatever the order; drawn
// nearest first, the leaves behind fail the depth test before they are textured.
class NearestLeavesFirst {
public:
    void Draw(Tree& tree);

private:
    std::vector<std::pair<float, std::uint32_t>> order;   // kept between frames: no allocation per frame
    std::vector<std::uint16_t> indices;
};
