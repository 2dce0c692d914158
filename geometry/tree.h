// geometry/tree.h — a branching tree grown once from a seed, drawn without a transform of its own.
#pragma once

#include <cstdint>
#include <memory>

#include "geometry/branch_mesh.h"
#include "geometry/leaf_set.h"

// Branch segments down to level maxDepth; level maxDepth + 1 holds the leaves.
class Tree {
public:
    // sides is kept within 2..128 (the ring of a segment holds at most 128 vertices).
    Tree(int maxDepth, int sides);
    virtual ~Tree();

    void SetBarkTexture(unsigned texture) { barkTexture = texture; }
    void SetLeafTexture(unsigned texture) { leafTexture = texture; }

    // Branches, then leaves through an alpha test. Needs the vertex, texture-coordinate and
    // normal client arrays enabled. Leaves GL_FRONT_FACE at GL_CW and lighting off.
    void DrawTree();

    int maxDepth;
    int sides;
    unsigned barkTexture = 0;
    unsigned leafTexture = 0;
    std::unique_ptr<BranchMesh> trunk;
    std::unique_ptr<LeafSet> leaves;
};

// Grows the segment with column-major transform `transform` at `level` and, recursively, its
// two children, drawing angles from the program's generator (platform::Rand). parentTop is the
// parent's top ring (sides indices) or null for the root; t is the texture row reached so far.
// The caller starts it with the root transform, level 0, no parent ring and t = 0. The child
// transforms are computed in single precision exactly as the GL matrix stack forms them, so
// no GL context is needed and the tree is the same on every machine.
void GrowBranch(Tree& tree, const float transform[16], int level, const std::uint16_t* parentTop, float t);

// The transform of a child segment: m · Translate(0, 1, 0) · Rotate(angleX about x) ·
// Rotate(45 about y) · Scale(scale), as glTranslatef, glRotatef and glScalef form it.
void ChildTransform(const float m[16], float angleX, float scale, float out[16]);
