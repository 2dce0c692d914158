// The generated cave file: four meshes in a row that the scene reads, shaped around the fixed
// camera, the two lights and the fountain once the scene has turned them into its own units.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "geometry/mesh.h"
#include "support/gl_test_context.h"

namespace {

struct Point {
    float x, y, z;
};

// The scene's scale by 0.05 and quarter turn about x.
Point InScene(const MeshVertex& v) { return {v.x * 0.05f, v.z * 0.05f, -v.y * 0.05f}; }
Point NormalInScene(const MeshVertex& v) { return {v.nx, v.nz, -v.ny}; }

float Distance(Point a, Point b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); }

class CaveFile : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream in(testing_support::TestAssetRoot() + "/DANE/jaskinia.dat", std::ios::binary);
        read_ = true;
        for (Mesh& mesh : meshes_) read_ = read_ && ReadMesh(in, mesh, "jaskinia.dat");
        atEnd_ = in.peek() == std::char_traits<char>::eof();
    }
    static Mesh meshes_[4];
    static bool read_, atEnd_;
};
Mesh CaveFile::meshes_[4];
bool CaveFile::read_ = false;
bool CaveFile::atEnd_ = false;

}  // namespace

TEST_F(CaveFile, HoldsFourWellFormedMeshesAndNothingAfter) {
    ASSERT_TRUE(read_);
    EXPECT_TRUE(atEnd_) << "bytes after the fourth mesh";
    for (int m = 0; m < 4; ++m) {
        SCOPED_TRACE(m);
        const Mesh& mesh = meshes_[m];
        ASSERT_GT(mesh.triangleCount, 0);
        ASSERT_LE(mesh.vertexCount, 65536);
        for (int i = 0; i < 3 * mesh.triangleCount; ++i) ASSERT_LT(mesh.indices[i], mesh.vertexCount);
        for (int v = 0; v < mesh.vertexCount; ++v) {
            const MeshVertex& p = mesh.vertices[v];
            for (float value : {p.x, p.y, p.z, p.nx, p.ny, p.nz, p.s, p.t}) ASSERT_TRUE(std::isfinite(value)) << "vertex " << v;
            ASSERT_NEAR(std::sqrt(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz), 1.0, 1e-3) << "vertex " << v;
        }
    }
    // The walls are drawn twice a frame: they should stay a modest load for a software renderer.
    EXPECT_LT(meshes_[0].triangleCount + meshes_[2].triangleCount + meshes_[3].triangleCount, 20000);
}

TEST_F(CaveFile, TheShellSurroundsTheCameraTheLightsAndTheFountain) {
    ASSERT_TRUE(read_);
    const Mesh& shell = meshes_[0];
    // Camera (from the scene's view transform), main light and fountain, second light.
    const Point inside[] = {{0.0f, 3.26f, 5.74f}, {-4.5f, 3.0f, -6.05f}, {-4.0f, 3.0f, -28.0f}};
    float lowest = 1e9f;
    for (const Point& p : inside) {
        SCOPED_TRACE(p.z);
        float left = 1e9f, right = -1e9f, roof = -1e9f;
        for (int v = 0; v < shell.vertexCount; ++v) {
            const Point q = InScene(shell.vertices[v]);
            lowest = std::min(lowest, q.y);
            if (std::fabs(q.z - p.z) > 0.6f) continue;
            if (std::fabs(q.y - p.y) < 1.0f) {
                left = std::min(left, q.x);
                right = std::max(right, q.x);
            }
            if (std::fabs(q.x - p.x) < 1.0f) roof = std::max(roof, q.y);
        }
        EXPECT_LT(left, p.x - 1.0f) << "no wall to the left";
        EXPECT_GT(right, p.x + 1.0f) << "no wall to the right";
        EXPECT_GT(roof, p.y + 1.5f) << "no roof above";
    }
    EXPECT_LT(lowest, -0.5f) << "the walls must reach below the sea floor";

    // Lit from inside: the wall nearest the main light faces it.
    int nearest = 0;
    for (int v = 1; v < shell.vertexCount; ++v)
        if (Distance(InScene(shell.vertices[v]), inside[1]) < Distance(InScene(shell.vertices[nearest]), inside[1]))
            nearest = v;
    const Point q = InScene(shell.vertices[nearest]), n = NormalInScene(shell.vertices[nearest]);
    EXPECT_GT(n.x * (inside[1].x - q.x) + n.y * (inside[1].y - q.y) + n.z * (inside[1].z - q.z), 0.0f);
    EXPECT_GT(Distance(q, inside[1]), 1.0f) << "the light sits in the rock";
}

TEST_F(CaveFile, RockFormationsKeepClearOfTheFountainAndTheWallTexturesRunOnWithoutSeams) {
    ASSERT_TRUE(read_);
    const Point fountain{-4.5f, 3.0f, -6.05f};
    for (int m : {2, 3}) {
        for (int v = 0; v < meshes_[m].vertexCount; ++v)
            ASSERT_GT(Distance(InScene(meshes_[m].vertices[v]), fountain), 1.2f) << "mesh " << m << " vertex " << v;
    }
    // The caustics use the walls' own coordinates: along every edge they change by a small
    // step, and over the cave they repeat many times.
    const Mesh& shell = meshes_[0];
    float largestStep = 0, smallestT = 1e9f, largestT = -1e9f;
    for (int t = 0; t < shell.triangleCount; ++t)
        for (int k = 0; k < 3; ++k) {
            const MeshVertex& a = shell.vertices[shell.indices[3 * t + k]];
            const MeshVertex& b = shell.vertices[shell.indices[3 * t + (k + 1) % 3]];
            largestStep = std::max({largestStep, std::fabs(a.s - b.s), std::fabs(a.t - b.t)});
            smallestT = std::min(smallestT, a.t);
            largestT = std::max(largestT, a.t);
        }
    // A seam would jump by a whole repeat; where the arch grows between two rings the
    // coordinates at its far foot shear by a few tenths.
    EXPECT_LT(largestStep, 0.5f);
    EXPECT_GT(largestT - smallestT, 4.0f);
}
