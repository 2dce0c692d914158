// The island scene's generated data: the island as the scene converts and views it, the tree
// standing on it, the loop around it, and the pictures of grass, bark and leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "geometry/mesh.h"
#include "geometry/path_points.h"
#include "geometry/tree.h"
#include "image/image_file.h"
#include "platform/asset_path.h"
#include "platform/random.h"
#include "support/gl_test_context.h"

namespace {

class IslandAssets : public testing::Test {
protected:
    void SetUp() override {
        previousRoot = platform::AssetRoot();
        platform::SetAssetRoot(testing_support::TestAssetRoot());
        if (platform::ResolveAssetPath("DANE\\otchlan.dat").empty()) GTEST_SKIP() << "the generated assets are missing";
    }
    void TearDown() override { platform::SetAssetRoot(previousRoot); }

    // The island as the scene holds it: scaled by 0.08 with y and z exchanged.
    static bool LoadIsland(Mesh& island) {
        std::ifstream file(platform::ResolveAssetPath("DANE\\otchlan.dat"), std::ios::binary);
        if (!ReadMesh(file, island, "DANE\\otchlan.dat")) return false;
        for (int i = 0; i < island.vertexCount; ++i) {
            MeshVertex& v = island.vertices[i];
            v.x *= 0.08f, v.y *= 0.08f, v.z *= 0.08f;
            std::swap(v.y, v.z);
            std::swap(v.ny, v.nz);
        }
        return true;
    }
    std::string previousRoot;
};

// Where the island section's camera puts a point of the island frame turned by `spin` degrees:
// normalised device x and y for a 60° perspective at 640 × 480.
bool Project(float x, float y, float z, float spin, float& sx, float& sy) {
    const float a = spin * 3.14159265f / 180.0f, tilt = 15.0f * 3.14159265f / 180.0f;
    const float x1 = x * std::cos(a) + z * std::sin(a), z1 = -x * std::sin(a) + z * std::cos(a);
    const float y2 = y * std::cos(tilt) - z1 * std::sin(tilt), z2 = y * std::sin(tilt) + z1 * std::cos(tilt);
    const float ex = x1, ey = y2 - 2.5f, ez = z2 - 9.0f;
    if (ez > -1.0f) return false;   // at or before the near plane
    const float f = 1.0f / std::tan(30.0f * 3.14159265f / 180.0f);
    sx = f / (640.0f / 480.0f) * ex / -ez;
    sy = f * ey / -ez;
    return true;
}

}  // namespace

TEST_F(IslandAssets, TheIslandFillsTheMiddleOfTheViewWithItsTopWhereTheTreeStands) {
    Mesh island;
    ASSERT_TRUE(LoadIsland(island));
    ASSERT_GT(island.triangleCount, 500);
    for (int t = 0; t < island.triangleCount; ++t) ASSERT_TRUE(island.IsDrawable(t)) << t;

    const MeshVertex* top = std::max_element(island.vertices, island.vertices + island.vertexCount,
                                             [](const MeshVertex& a, const MeshVertex& b) { return a.y < b.y; });
    const float maxY = top->y;
    EXPECT_LT(std::hypot(top->x, top->z), 0.1f) << "the highest point must be the middle, under the tree";
    float lowest = 1e9f, widest = 0;
    int grassUp = 0, grass = 0, rockDown = 0, rock = 0;
    for (int i = 0; i < island.vertexCount; ++i) {
        const MeshVertex& v = island.vertices[i];
        lowest = std::min(lowest, v.y);
        widest = std::max(widest, std::hypot(v.x, v.z));
        // The grass part of the picture covers the top; earth and rock the underside.
        if (v.t >= 0.375f) {
            ++grass;
            grassUp += v.ny > 0.7f;
        } else {
            ++rock;
            rockDown += v.ny < 0.2f;
        }
    }
    EXPECT_GT(maxY, 0.5f);
    EXPECT_LT(maxY - lowest, 6.0f);
    EXPECT_GT(maxY - lowest, 3.0f) << "the rock should hang well below the grass";
    EXPECT_GT(widest, 2.2f);
    EXPECT_LT(widest, 3.8f);
    EXPECT_GT(grassUp, grass * 9 / 10);
    EXPECT_GT(rockDown, rock * 9 / 10);

    // Whatever the spin, every vertex is on screen and the island spans the middle.
    for (float spin = 0; spin < 360; spin += 15) {
        SCOPED_TRACE(spin);
        float left = 1, right = -1, bottom = 1, upper = -1;
        for (int i = 0; i < island.vertexCount; ++i) {
            const MeshVertex& v = island.vertices[i];
            float sx, sy;
            ASSERT_TRUE(Project(v.x, v.y, v.z, spin, sx, sy));
            left = std::min(left, sx), right = std::max(right, sx);
            bottom = std::min(bottom, sy), upper = std::max(upper, sy);
        }
        EXPECT_GT(left, -0.95f);
        EXPECT_LT(right, 0.95f);
        EXPECT_GT(bottom, -1.0f);
        EXPECT_LT(left, -0.35f);
        EXPECT_GT(right, 0.35f);
        EXPECT_GT(upper, -0.4f);
    }

    // The scene's tree, rooted 0.5 below the top, stands on the island and inside the picture.
    Tree tree(7, 17);
    float root[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, maxY - 0.5f, 0, 1};
    platform::SRand(264);
    GrowBranch(tree, root, 0, nullptr, 0.0f);
    for (const TreePoint& leaf : tree.leaves->centres) {
        EXPECT_GT(leaf.y - 0.792f, maxY - 1.0f);
        for (float spin = 0; spin < 360; spin += 45) {
            float sx, sy;
            ASSERT_TRUE(Project(leaf.x, leaf.y + 0.099f, leaf.z, spin, sx, sy));
            EXPECT_LT(sy, 1.0f);
            EXPECT_LT(std::fabs(sx), 1.0f);
        }
    }
}

TEST_F(IslandAssets, TheLoopCirclesTheIslandAtCameraDistance) {
    std::ifstream file(platform::ResolveAssetPath("DANE\\track3.dat"), std::ios::binary | std::ios::ate);
    ASSERT_TRUE(file);
    EXPECT_EQ(static_cast<long long>(file.tellg()) % 12, 0);
    PathPoints track;
    track.LoadPath("DANE\\track3.dat", 0.08f);
    ASSERT_GT(track.points.size(), 100u);
    float largestStep = 0;
    for (std::size_t i = 0; i < track.points.size(); ++i) {
        const PathPoint& p = track.points[i];
        EXPECT_NEAR(std::hypot(p.x, p.z), 9.0f, 0.5f);
        EXPECT_GT(p.y, 1.0f);
        EXPECT_LT(p.y, 4.0f);
        const PathPoint& q = track.points[(i + 1) % track.points.size()];
        largestStep = std::max(largestStep, std::hypot(q.x - p.x, q.z - p.z));
    }
    EXPECT_LT(largestStep, 0.3f) << "the loop must close without a jump";
}

TEST_F(IslandAssets, LeavesBarkAndGrassFitHowTheyAreMapped) {
    Image leaves, bark, grass;
    ASSERT_TRUE(LoadTGA("TEKSTURY\\liscie.TGA", leaves));
    ASSERT_TRUE(LoadBMP("TEKSTURY\\kora.BMP", bark));
    ASSERT_TRUE(LoadBMP("TEKSTURY\\trawa.BMP", grass));
    ASSERT_EQ(leaves.bitsPerPixel, 32);
    ASSERT_EQ(leaves.width % 2, 0);
    ASSERT_EQ(leaves.height % 2, 0);

    // Each quadrant holds one sprig: a good share of it opaque, its border clear so quadrants do
    // not bleed into each other, and its top near 11% down the quadrant, where the branch tip is
    // (a leaf hangs from 0.099 above to 0.792 below its tip).
    const int half = leaves.width / 2, halfHeight = leaves.height / 2;
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        SCOPED_TRACE(quadrant);
        const int x0 = (quadrant % 2) * half, y0 = (quadrant / 2) * halfHeight;   // rows from the bottom
        int opaque = 0, border = 0, topRow = -1;
        for (int y = 0; y < halfHeight; ++y)
            for (int x = 0; x < half; ++x) {
                const std::uint8_t alpha = leaves.pixels[((y0 + y) * leaves.width + x0 + x) * 4 + 3];
                if (alpha <= 127) continue;
                ++opaque;
                border += x < 2 || y < 2 || x >= half - 2 || y >= halfHeight - 2;
                topRow = std::max(topRow, y);
            }
        EXPECT_GT(opaque, half * halfHeight / 6);
        EXPECT_EQ(border, 0);
        const float fromTop = static_cast<float>(halfHeight - 1 - topRow) / halfHeight;
        EXPECT_GT(fromTop, 0.04f);
        EXPECT_LT(fromTop, 0.16f);
    }

    // A branch ring closes s = 16/17 back onto s = 0: the bark must meet itself there.
    auto column = [&](const Image& image, int a, int b) {
        double sum = 0;
        for (int y = 0; y < image.height; ++y)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(image.pixels[(y * image.width + a) * 3 + c] - image.pixels[(y * image.width + b) * 3 + c]);
        return sum / (image.height * 3);
    };
    double neighbours = 0;
    for (int x = 0; x + 1 < bark.width; ++x) neighbours = std::max(neighbours, column(bark, x, x + 1));
    const int seam = static_cast<int>(std::lround(bark.width * 16.0 / 17.0));
    EXPECT_LE(column(bark, seam, 0), neighbours);
    EXPECT_LE(column(bark, bark.width - 1, 0), 1.25 * neighbours + 1.0);

    // The island picture: green meadow in its upper part, no green cast in its lower part.
    auto meanGreenLead = [&](int fromRow, int toRow) {   // rows counted from the bottom
        double lead = 0;
        for (int y = fromRow; y < toRow; ++y)
            for (int x = 0; x < grass.width; ++x) {
                const std::uint8_t* p = &grass.pixels[(y * grass.width + x) * 3];
                lead += p[1] - std::max(p[0], p[2]);
            }
        return lead / ((toRow - fromRow) * grass.width);
    };
    const int rockRows = static_cast<int>(grass.height * 0.355f);
    const int grassRows = static_cast<int>(std::ceil(grass.height * 0.375f));
    EXPECT_GT(meanGreenLead(grassRows, grass.height), 20.0);
    EXPECT_LT(meanGreenLead(0, rockRows - 16), 5.0);
}
