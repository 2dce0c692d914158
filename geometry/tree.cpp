// geometry/tree.cpp — growing the tree and drawing it.
#include "geometry/tree.h"

#include "platform/gl.h"

Tree::Tree(int maxDepth, int sides)
    : maxDepth(maxDepth), sides(sides), trunk(new BranchMesh(sides)), leaves(new LeafSet) {}

Tree::~Tree() = default;

void Tree::DrawTree() {}

void GrowBranch(Tree& tree, const float transform[16], int level, const std::uint16_t* parentTop, float t) {
    (void)tree;
    (void)transform;
    (void)level;
    (void)parentTop;
    (void)t;
}

void ChildTransform(const float m[16], float angleX, float scale, float out[16]) {
    (void)angleX;
    (void)scale;
    for (int i = 0; i < 16; ++i) out[i] = m[i];
}
