// The terrain: grid size, sampled heights, the two refinement passes, normals, texture
// coordinates, and what a heightmap that cannot be used leaves.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "effects/terrain.h"
#include "geometry/catmull_rom.h"
#include "platform/asset_path.h"
#include "support/bmp_files.h"

using testing_support::GreyBMP;
using testing_support::WriteFile;

namespace {

// The heightmap of the island scene's sea: 24 cells of subdivision 4 over 75 units.
TerrainParams SeaParams(const char* file) {
    TerrainParams params;
    params.fileName = file;
    params.cellsX = params.cellsZ = 24;
    params.subdivX = params.subdivZ = 4;
    params.sizeX = params.sizeZ = 75.0f;
    params.heightScale = 0.05f;
    params.baseLevel = 0.5f;
    return params;
}

float Height(int grey) { return static_cast<float>(grey) * 0.05f - 0.05f * 255.0f * 0.5f; }

class TerrainTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = testing_support::MakeTempFolder("terrain");
        ::mkdir((root + "/TEKSTURY").c_str(), 0755);
        platform::SetAssetRoot(root);
    }
    std::string Put(const char* name, const std::vector<std::uint8_t>& bytes) {
        WriteFile(root + "/TEKSTURY/" + name, bytes);
        return std::string("TEKSTURY\\") + name;
    }
    // Builds from `bytes` and returns what the build printed on stderr.
    std::string BuildFrom(Terrain& terrain, const std::vector<std::uint8_t>& bytes) {
        const std::string name = Put("map.BMP", bytes);
        TerrainParams params = SeaParams(name.c_str());
        testing::internal::CaptureStderr();
        terrain.Build(params);
        return testing::internal::GetCapturedStderr();
    }
    static const TerrainVertex& At(const Terrain& t, std::uint32_t row, std::uint32_t column) {
        return t.vertices[row * t.columns + column];
    }
    std::string root;
};

}  // namespace

TEST_F(TerrainTest, GridSizeAndCornersKeepTheirSampledHeights) {
    // Each corner of the picture has a grey of its own; everything else is mid grey.
    const std::string name = Put("corners.BMP", GreyBMP(100, 100, [](int c, int r) {
        if (c == 0 && r == 0) return 10;
        if (c == 99 && r == 0) return 80;
        if (c == 0 && r == 99) return 160;
        if (c == 99 && r == 99) return 240;
        return 128;
    }));
    TerrainParams params = SeaParams(name.c_str());
    Terrain terrain;
    terrain.Build(params);
    ASSERT_EQ(terrain.columns, 73u);
    ASSERT_EQ(terrain.rows, 73u);
    ASSERT_EQ(terrain.vertices.size(), 73u * 73u);
    EXPECT_EQ(params.imageWidth, 100);
    EXPECT_EQ(params.imageHeight, 100);
    EXPECT_EQ(terrain.sizeX, 75.0f);

    // The last coarse row and column reach the picture's last row and column.
    EXPECT_EQ(At(terrain, 0, 0).y, Height(10));
    EXPECT_EQ(At(terrain, 0, 72).y, Height(80));
    EXPECT_EQ(At(terrain, 72, 0).y, Height(160));
    EXPECT_EQ(At(terrain, 72, 72).y, Height(240));
    EXPECT_EQ(At(terrain, 36, 36).y, Height(128));

    // Row 0 lies at z = −37.5, columns grow towards +x, rows towards +z.
    EXPECT_FLOAT_EQ(At(terrain, 0, 0).x, -37.5f);
    EXPECT_FLOAT_EQ(At(terrain, 0, 0).z, -37.5f);
    EXPECT_NEAR(At(terrain, 72, 72).x, 37.5f, 1e-3f);
    EXPECT_NEAR(At(terrain, 72, 72).z, 37.5f, 1e-3f);
    for (std::uint32_t c = 1; c < 73; ++c) {
        EXPECT_NEAR(At(terrain, 5, c).x - At(terrain, 5, c - 1).x, 75.0f / 72.0f, 1e-3f) << c;
        EXPECT_EQ(At(terrain, 5, c).z, At(terrain, 5, 0).z);
        EXPECT_NEAR(At(terrain, c, 5).z - At(terrain, c - 1, 5).z, 75.0f / 72.0f, 1e-3f) << c;
        EXPECT_EQ(At(terrain, c, 5).x, At(terrain, 0, 5).x);
    }
}

TEST_F(TerrainTest, RowsAndColumnsAreRefinedAlikeWithClampedWindowsAtBothEnds) {
    // Grey steps that change once per coarse cell, so a sample one pixel off lands on the same
    // grey; the same profile once along x and once along z.
    const int greys[25] = {0, 200, 30, 90, 255, 10, 120, 60, 180, 40, 220, 70, 5,
                           150, 100, 250, 20, 130, 80, 190, 45, 210, 15, 170, 240};
    auto step = [&](int pixel) { return greys[static_cast<int>(std::lround(pixel * 24.0 / 99.0))]; };
    Terrain alongX, alongZ;
    ASSERT_EQ(BuildFrom(alongX, GreyBMP(100, 100, [&](int c, int) { return step(c); })), "");
    ASSERT_EQ(BuildFrom(alongZ, GreyBMP(100, 100, [&](int, int r) { return step(r); })), "");
    ASSERT_EQ(alongX.rows, 73u);
    ASSERT_EQ(alongZ.rows, 73u);

    for (std::uint32_t r = 0; r < 73; ++r)
        for (std::uint32_t c = 0; c < 73; ++c) {
            // Each coarse vertex keeps its sample; the column pass turns the x profile into
            // the z profile exactly as the row pass forms it.
            ASSERT_NEAR(At(alongX, r, c).y, At(alongZ, c, r).y, 1e-5f) << r << "," << c;
            ASSERT_NEAR(At(alongX, r, c).y, At(alongX, 0, c).y, 1e-5f) << r << "," << c;
        }
    for (int k = 0; k <= 24; ++k) EXPECT_EQ(At(alongX, 40, 3 * k).y, Height(greys[k])) << k;

    const float third = 1.0f / 3.0f, twoThirds = 2.0f / 3.0f;
    // First cell: its window repeats the first vertex. Last cell: it repeats the last one.
    EXPECT_FLOAT_EQ(At(alongX, 0, 1).y, CatmullRom(third, Height(greys[0]), Height(greys[0]), Height(greys[1]), Height(greys[2])));
    EXPECT_FLOAT_EQ(At(alongX, 0, 71).y,
                    CatmullRom(twoThirds, Height(greys[22]), Height(greys[23]), Height(greys[24]), Height(greys[24])));
    EXPECT_FLOAT_EQ(At(alongX, 0, 31).y,
                    CatmullRom(third, Height(greys[9]), Height(greys[10]), Height(greys[11]), Height(greys[12])));
    EXPECT_FLOAT_EQ(At(alongZ, 71, 0).y,
                    CatmullRom(twoThirds, Height(greys[22]), Height(greys[23]), Height(greys[24]), Height(greys[24])));
}

TEST_F(TerrainTest, FlatPictureGivesAFlatTerrainFacingUpWithRepeatedTexture) {
    Terrain terrain;
    ASSERT_EQ(BuildFrom(terrain, GreyBMP(37, 23, [](int, int) { return 90; })), "");
    terrain.SetTextureRepeat(7.0f, 7.0f);
    terrain.ComputeNormals();
    ASSERT_EQ(terrain.vertices.size(), 73u * 73u);
    for (const TerrainVertex& v : terrain.vertices) {
        ASSERT_NEAR(v.y, 90 * 0.05f - 6.375f, 1e-5f);
        ASSERT_NEAR(v.nx, 0.0f, 1e-6f);
        ASSERT_NEAR(v.ny, 1.0f, 1e-6f);
        ASSERT_NEAR(v.nz, 0.0f, 1e-6f);
        ASSERT_NEAR(v.u, (v.x + 37.5f) * 7.0f / 75.0f, 1e-4f);
    }
    EXPECT_FLOAT_EQ(At(terrain, 0, 0).u, 0.0f);
    EXPECT_FLOAT_EQ(At(terrain, 0, 0).v, 0.0f);
    EXPECT_NEAR(At(terrain, 72, 72).u, 7.0f, 1e-3f);
    EXPECT_NEAR(At(terrain, 72, 72).v, 7.0f, 1e-3f);
}

TEST_F(TerrainTest, NormalsLeanAwayFromTheSlopeAndAreUnitLength) {
    // Ground rising towards +x by ten grey levels a coarse cell (constant around each sample
    // point, so a sample one pixel off finds the same grey): every normal tilts towards −x.
    Terrain terrain;
    auto ramp = [](int c, int) { return 10 * static_cast<int>(std::lround(c * 24.0 / 99.0)); };
    ASSERT_EQ(BuildFrom(terrain, GreyBMP(100, 100, ramp)), "");
    terrain.ComputeNormals();
    for (std::uint32_t r = 0; r < 73; r += 8)
        for (std::uint32_t c = 0; c < 73; c += 8) {
            const TerrainVertex& v = At(terrain, r, c);
            EXPECT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1.0f, 1e-5f);
            EXPECT_LT(v.nx, 0.0f) << r << "," << c;
            EXPECT_GT(v.ny, 0.5f);
            EXPECT_NEAR(v.nz, 0.0f, 1e-4f);
        }
}

TEST_F(TerrainTest, UnusableHeightmapsLeaveTheTerrainEmptyAndNameTheFile) {
    // The reader's own refusals are tested with it; here, what the terrain makes of one.
    std::vector<std::uint8_t> truncated = GreyBMP(40, 40, [](int, int) { return 1; });
    truncated.resize(truncated.size() - 500);
    Terrain terrain;
    const std::string message = BuildFrom(terrain, truncated);
    EXPECT_EQ(terrain.columns, 0u);
    EXPECT_EQ(terrain.rows, 0u);
    EXPECT_TRUE(terrain.vertices.empty());
    EXPECT_NE(message.find("TEKSTURY\\map.BMP"), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    terrain.SetTextureRepeat(7.0f, 7.0f);   // the owner goes on with an empty terrain
    terrain.ComputeNormals();

    Terrain missing;
    TerrainParams params = SeaParams("TEKSTURY\\none.BMP");
    testing::internal::CaptureStderr();
    missing.Build(params);
    const std::string missingMessage = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(missing.vertices.empty());
    EXPECT_EQ(params.imageWidth, 0);
    EXPECT_NE(missingMessage.find("TEKSTURY\\none.BMP (no such file)"), std::string::npos) << missingMessage;
}

TEST_F(TerrainTest, TooFewCellsLeaveTheTerrainEmptyWithoutReading) {
    const std::string name = Put("flat.BMP", GreyBMP(8, 8, [](int, int) { return 50; }));
    TerrainParams params = SeaParams(name.c_str());
    params.cellsZ = 3;
    Terrain terrain;
    terrain.Build(params);
    EXPECT_EQ(terrain.columns, 0u);
    EXPECT_TRUE(terrain.vertices.empty());
    EXPECT_EQ(params.imageWidth, 0);   // returned before the load
    params.cellsZ = 4;
    terrain.Build(params);
    EXPECT_EQ(terrain.columns, 73u);
    EXPECT_EQ(terrain.rows, 13u);
}
