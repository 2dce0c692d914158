// The procedural tree: counts for the island scene's tree, the shape of a segment and its
// children, the same tree from the same seed, the child transforms against the GL matrix stack,
// and drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "geometry/tree.h"
#include "platform/gl.h"
#include "platform/random.h"
#include "support/gl_test_context.h"

namespace {

// The root transform: a translation up by `height`.
void Root(float height, float m[16]) {
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::memcpy(m, identity, sizeof identity);
    m[13] = height;
}

std::unique_ptr<Tree> Grow(int depth, int sides, unsigned seed, float height = 0.0f) {
    std::unique_ptr<Tree> tree(new Tree(depth, sides));
    float root[16];
    Root(height, root);
    platform::SRand(seed);
    GrowBranch(*tree, root, 0, nullptr, 0.0f);
    return tree;
}

float Distance(const TreePoint& a, const TreePoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

// The centre of the ring of n vertices starting at `first` (its last vertex repeats the first).
TreePoint RingCentre(const BranchMesh& mesh, std::size_t first, int n) {
    TreePoint sum{0, 0, 0};
    for (int i = 0; i < n - 1; ++i) {
        sum.x += mesh.positions[first + i].x;
        sum.y += mesh.positions[first + i].y;
        sum.z += mesh.positions[first + i].z;
    }
    return TreePoint{sum.x / (n - 1), sum.y / (n - 1), sum.z / (n - 1)};
}

// Leaf centres as the GL stack forms them, drawing the generator in the tree's order.
void LeafCentresOnTheGLStack(int level, int maxDepth, std::vector<TreePoint>& out) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    if (level > maxDepth) {
        out.push_back(TreePoint{m[12], m[13], m[14]});
        platform::Rand();   // the leaf's quadrant
        platform::Rand();
        return;
    }
    const int a = platform::Rand() % 45 + 15;
    glPushMatrix();
    glTranslatef(0, 1, 0);
    glRotatef(static_cast<float>(a), 1, 0, 0);
    glRotatef(45, 0, 1, 0);
    glScalef(0.7f, 0.7f, 0.7f);
    LeafCentresOnTheGLStack(level + 1, maxDepth, out);
    glPopMatrix();
    const int b = platform::Rand() % 30;
    glPushMatrix();
    glTranslatef(0, 1, 0);
    glRotatef(static_cast<float>(-b), 1, 0, 0);
    glRotatef(45, 0, 1, 0);
    glScalef(0.85f, 0.85f, 0.85f);
    LeafCentresOnTheGLStack(level + 1, maxDepth, out);
    glPopMatrix();
}

}  // namespace

TEST(Tree, TheIslandTreeHasItsSegmentsJointsAndLeaves) {
    const auto tree = Grow(7, 17, 264, 1.5f);
    const BranchMesh& mesh = *tree->trunk;
    EXPECT_EQ(mesh.sides, 17);
    EXPECT_EQ(mesh.positions.size(), 255u * 34u);
    EXPECT_EQ(mesh.normals.size(), mesh.positions.size());
    EXPECT_EQ(mesh.texCoords.size(), mesh.positions.size());
    EXPECT_EQ(mesh.indices.size(), 255u * 34u + 254u * 34u);
    for (std::uint16_t index : mesh.indices) ASSERT_LT(index, mesh.positions.size());

    const LeafSet& leaves = *tree->leaves;
    EXPECT_EQ(leaves.centres.size(), 256u);
    EXPECT_EQ(leaves.corners.size(), 1024u);
    EXPECT_EQ(leaves.texCoords.size(), 1024u);
    ASSERT_EQ(leaves.indices.size(), 1024u);
    for (std::size_t i = 0; i < leaves.indices.size(); ++i) EXPECT_EQ(leaves.indices[i], i);
    // Every leaf shows one whole quadrant, and all four quadrants occur.
    bool seen[2][2] = {};
    for (std::size_t leaf = 0; leaf < 256; ++leaf) {
        const TreeTexCoord* q = &leaves.texCoords[4 * leaf];
        ASSERT_TRUE(q[0].s == 0.0f || q[0].s == 0.5f);
        ASSERT_TRUE(q[0].t == 0.0f || q[0].t == 0.5f);
        EXPECT_EQ(q[1].s, q[0].s + 0.5f);
        EXPECT_EQ(q[2].t, q[0].t + 0.5f);
        EXPECT_EQ(q[3].s, q[0].s);
        seen[q[0].s > 0][q[0].t > 0] = true;
    }
    EXPECT_TRUE(seen[0][0] && seen[0][1] && seen[1][0] && seen[1][1]);
    // The crown stands above the root and spreads round it.
    float lowest = 1e9f, highest = -1e9f;
    for (const TreePoint& c : leaves.centres) {
        lowest = std::min(lowest, c.y);
        highest = std::max(highest, c.y);
    }
    EXPECT_GT(lowest, 1.5f + 1.0f);
    EXPECT_LT(highest, 1.5f + 8.0f);
}

TEST(Tree, DepthZeroIsOneSleeveWithTwoLeavesAtItsTop) {
    const auto tree = Grow(0, 17, 1, 2.0f);
    const BranchMesh& mesh = *tree->trunk;
    ASSERT_EQ(mesh.positions.size(), 34u);
    ASSERT_EQ(mesh.indices.size(), 34u);   // the sleeve only: no joint
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(mesh.indices[2 * i], i);
        EXPECT_EQ(mesh.indices[2 * i + 1], 17 + i);
        // The root's bottom ring starts at the root, its top 0.85 above, radius 0.15.
        EXPECT_FLOAT_EQ(mesh.positions[i].y, 2.0f);
        EXPECT_FLOAT_EQ(mesh.positions[17 + i].y, 2.85f);
        EXPECT_NEAR(std::hypot(mesh.positions[i].x, mesh.positions[i].z), 0.15f, 1e-6f);
        EXPECT_FLOAT_EQ(mesh.texCoords[i].s, i / 17.0f);
        EXPECT_FLOAT_EQ(mesh.texCoords[i].t, 0.3f);
        EXPECT_FLOAT_EQ(mesh.texCoords[17 + i].t, 1.15f);
        // Normals point outwards from the axis, unnormalised.
        EXPECT_FLOAT_EQ(mesh.normals[i].x, mesh.positions[i].x);
        EXPECT_FLOAT_EQ(mesh.normals[i].y, 0.0f);
    }
    // 6.28 per turn: the last vertex of a ring lies (almost) on the first.
    EXPECT_NEAR(Distance(mesh.positions[0], mesh.positions[16]), 0.0f, 1e-3f);
    EXPECT_GT(Distance(mesh.positions[0], mesh.positions[16]), 0.0f);
    const LeafSet& leaves = *tree->leaves;
    ASSERT_EQ(leaves.centres.size(), 2u);
    for (const TreePoint& c : leaves.centres) {
        EXPECT_FLOAT_EQ(c.x, 0.0f);
        EXPECT_FLOAT_EQ(c.y, 3.0f);
        EXPECT_FLOAT_EQ(c.z, 0.0f);
    }
}

TEST(Tree, ChildrenStartAboveTheirParentScaledAndTiltedWithAJoint) {
    const auto tree = Grow(1, 9, 77);
    const BranchMesh& mesh = *tree->trunk;
    ASSERT_EQ(mesh.positions.size(), 3u * 18u);
    ASSERT_EQ(mesh.indices.size(), 3u * 18u + 2u * 18u);
    // Segment order: root, first child, second child. The joint of the first child pairs the
    // root's top ring with the child's bottom ring, and comes before the child's sleeve.
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(mesh.indices[18 + 2 * i], 9 + i);
        EXPECT_EQ(mesh.indices[18 + 2 * i + 1], 18 + i);
    }
    const TreePoint joint{0, 1, 0};
    const float scales[2] = {0.7f, 0.85f};
    for (int child = 0; child < 2; ++child) {
        const std::size_t first = 18 + 18 * child;
        // A child's rings start at 0.15 of its frame, which is scaled with the child.
        const TreePoint bottom = RingCentre(mesh, first, 9), top = RingCentre(mesh, first + 9, 9);
        EXPECT_NEAR(Distance(bottom, joint), 0.15f * scales[child], 2e-3f) << child;
        EXPECT_NEAR(Distance(top, joint), 0.85f * scales[child], 2e-3f) << child;
        EXPECT_NEAR(Distance(mesh.positions[first], bottom), 0.15f * scales[child], 2e-3f) << child;
        EXPECT_FLOAT_EQ(mesh.texCoords[first].t, 1.45f);
        EXPECT_FLOAT_EQ(mesh.texCoords[first + 9].t, 2.3f);
        // Tilt from the vertical: 15..59 degrees for the first child, 0..29 for the second, to
        // opposite sides.
        const float tilt = std::acos((top.y - bottom.y) / Distance(top, bottom)) * 180.0f / 3.14159265f;
        if (child == 0) {
            EXPECT_GE(tilt, 15.0f - 0.5f);
            EXPECT_LE(tilt, 59.0f + 0.5f);
        } else {
            EXPECT_LE(tilt, 29.0f + 0.5f);
        }
    }
    const TreePoint a = RingCentre(mesh, 18 + 9, 9), b = RingCentre(mesh, 36 + 9, 9);
    EXPECT_LE((a.z - joint.z) * (b.z - joint.z), 0.0f);
}

TEST(Tree, TheSameSeedGrowsTheSameTreeVertexForVertex) {
    const auto first = Grow(7, 17, 264);
    const auto second = Grow(7, 17, 264);
    const auto other = Grow(7, 17, 265);
    const BranchMesh &a = *first->trunk, &b = *second->trunk;
    ASSERT_EQ(a.positions.size(), b.positions.size());
    EXPECT_EQ(std::memcmp(a.positions.data(), b.positions.data(), a.positions.size() * sizeof(TreePoint)), 0);
    EXPECT_EQ(std::memcmp(a.normals.data(), b.normals.data(), a.normals.size() * sizeof(TreePoint)), 0);
    EXPECT_EQ(std::memcmp(a.texCoords.data(), b.texCoords.data(), a.texCoords.size() * sizeof(TreeTexCoord)), 0);
    EXPECT_EQ(a.indices, b.indices);
    EXPECT_EQ(std::memcmp(first->leaves->centres.data(), second->leaves->centres.data(), 256 * sizeof(TreePoint)), 0);
    EXPECT_EQ(std::memcmp(first->leaves->texCoords.data(), second->leaves->texCoords.data(),
                          1024 * sizeof(TreeTexCoord)),
              0);
    EXPECT_NE(std::memcmp(a.positions.data(), other->trunk->positions.data(), a.positions.size() * sizeof(TreePoint)), 0);
}

TEST(Tree, ChildTransformsAreTheProductsOfTheGLMatrixStack) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    glMatrixMode(GL_MODELVIEW);
    // Single steps from assorted frames, both children's angles and scales.
    platform::SRand(9);
    for (int trial = 0; trial < 200; ++trial) {
        float m[16];
        for (float& v : m) v = (platform::Rand() - 16384) / 4096.0f;
        const float angle = static_cast<float>(trial % 2 ? -(platform::Rand() % 30) : platform::Rand() % 45 + 15);
        const float scale = trial % 2 ? 0.85f : 0.7f;
        float expected[16], mine[16];
        glPushMatrix();
        glLoadMatrixf(m);
        glTranslatef(0, 1, 0);
        glRotatef(angle, 1, 0, 0);
        glRotatef(45, 0, 1, 0);
        glScalef(scale, scale, scale);
        glGetFloatv(GL_MODELVIEW_MATRIX, expected);
        glPopMatrix();
        ChildTransform(m, angle, scale, mine);
        for (int i = 0; i < 16; ++i) ASSERT_EQ(mine[i], expected[i]) << "trial " << trial << " element " << i;
    }
    // The whole island tree: its 256 leaf centres are the translations of the deepest frames.
    const auto tree = Grow(7, 17, 264, 1.25f);
    std::vector<TreePoint> centres;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, 1.25f, 0);
    platform::SRand(264);
    LeafCentresOnTheGLStack(0, 7, centres);
    glPopMatrix();
    ASSERT_EQ(centres.size(), tree->leaves->centres.size());
    for (std::size_t i = 0; i < centres.size(); ++i) {
        ASSERT_EQ(centres[i].x, tree->leaves->centres[i].x) << i;
        ASSERT_EQ(centres[i].y, tree->leaves->centres[i].y) << i;
        ASSERT_EQ(centres[i].z, tree->leaves->centres[i].z) << i;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(Tree, DrawingFacesLeavesToTheCameraAndLeavesTheStateItNames) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const auto tree = Grow(4, 17, 264, -2.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 640.0 / 480.0, 1, 256);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, -1, -9);
    glRotatef(90, 0, 1, 0);   // the camera's right axis is now the tree's −z
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
    tree->DrawTree();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const LeafSet& leaves = *tree->leaves;
    EXPECT_NEAR(leaves.rightVector.x, 0.0f, 1e-6f);
    EXPECT_NEAR(leaves.rightVector.z, 0.33f, 1e-6f);
    const TreePoint& c = leaves.centres[5];
    const TreePoint* q = &leaves.corners[20];
    EXPECT_FLOAT_EQ(q[0].z, c.z - 0.33f);
    EXPECT_FLOAT_EQ(q[0].y, c.y - 0.792f);
    EXPECT_FLOAT_EQ(q[2].z, c.z + 0.33f);
    EXPECT_FLOAT_EQ(q[2].y, c.y + 0.099f);
    EXPECT_FLOAT_EQ(q[3].x, c.x);

    GLint frontFace = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    EXPECT_EQ(frontFace, GL_CW);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));

    // Something was drawn where the tree stands (the middle of the picture), nothing in a corner.
    const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
    auto lit = [&](int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) count += frame[(y * 640 + x) * 3] > 0;
        return count;
    };
    EXPECT_GT(lit(220, 140, 420, 400), 500);
    EXPECT_EQ(lit(0, 0, 60, 60), 0);
    glFrontFace(GL_CCW);
}
