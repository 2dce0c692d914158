// scenes/nearest_leaves.cpp — sorting the tree's leaves by their distance from the eye.
#include "scenes/nearest_leaves.h"

#include <algorithm>

#include "platform/gl.h"

void NearestLeavesFirst::Draw(Tree& tree) {
    // The state of Tree::DrawTree, step by step.
    glBindTexture(GL_TEXTURE_2D, tree.barkTexture);
    glFrontFace(GL_CW);
    tree.trunk->DrawBranches();

    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glBindTexture(GL_TEXTURE_2D, tree.leafTexture);
    glDisable(GL_CULL_FACE);
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_LIGHTING);

    LeafSet& leaves = *tree.leaves;
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    leaves.PlaceCorners(m[0], m[8]);
    if (!leaves.centres.empty()) {
        order.clear();
        for (std::size_t i = 0; i < leaves.centres.size(); ++i) {
            const TreePoint& c = leaves.centres[i];
            const float depth = -(m[2] * c.x + m[6] * c.y + m[10] * c.z + m[14]);
            order.emplace_back(depth, static_cast<std::uint32_t>(i));
        }
        std::sort(order.begin(), order.end());
        indices.clear();
        for (const auto& leaf : order)
            for (std::size_t k = 0; k < 4; ++k) indices.push_back(leaves.indices[4 * leaf.second + k]);
        glVertexPointer(3, GL_FLOAT, 0, leaves.corners.data());
        glTexCoordPointer(2, GL_FLOAT, 0, leaves.texCoords.data());
        glDrawElements(GL_QUADS, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
    }

    glEnableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_ALPHA_TEST);
}
