// The water sheet: its flat layout and normals, the two disturbance patches, how a ripple
// spreads from rest, and the edge rows.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "effects/water_surface.h"

namespace {

constexpr int N = WaterSurface::kSize;

std::unique_ptr<WaterSurface> RestingSheet() {
    auto sheet = std::make_unique<WaterSurface>();
    sheet->Init(32.0f, 32.0f);
    return sheet;
}

// The patch a Disturb call raised: true for rows 40–41 × columns 54–55, false for 20–21 × 5–6.
bool RaisedFarPatch(const WaterSurface& sheet) {
    const bool far = sheet.At(40, 54).y != 0.0f;
    const bool near = sheet.At(20, 5).y != 0.0f;
    EXPECT_NE(far, near) << "exactly one patch should be raised";
    return far;
}

}  // namespace

TEST(WaterSurface, InitLaysAFlatCentredGridWhoseNormalsPointDown) {
    auto sheet = RestingSheet();
    EXPECT_FLOAT_EQ(sheet->At(0, 0).x, -16.0f);
    EXPECT_FLOAT_EQ(sheet->At(0, 0).z, -16.0f);
    EXPECT_NEAR(sheet->At(59, 59).x, 16.0f, 1e-5f);
    EXPECT_NEAR(sheet->At(59, 0).z, 16.0f, 1e-5f);
    EXPECT_NEAR(sheet->At(0, 1).x - sheet->At(0, 0).x, 32.0f / 59.0f, 1e-5f);
    EXPECT_FLOAT_EQ(sheet->At(30, 30).ny, 1.0f);   // as laid out

    // Every branch of the normal rule gives (0, -1, 0) on a flat sheet, corners included.
    sheet->ComputeNormals();
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) {
            const WaterVertex& v = sheet->At(i, j);
            ASSERT_NEAR(v.nx, 0.0f, 1e-6f) << i << "," << j;
            ASSERT_NEAR(v.ny, -1.0f, 1e-6f) << i << "," << j;
            ASSERT_NEAR(v.nz, 0.0f, 1e-6f) << i << "," << j;
        }
}

TEST(WaterSurface, DisturbAlternatesPatchesAndOnlySetsHeights) {
    auto sheet = RestingSheet();
    sheet->Disturb();
    const bool first = RaisedFarPatch(*sheet);
    const float firstHeight = first ? 0.75f : 0.5f;
    const int row = first ? 40 : 20, column = first ? 54 : 5;
    for (int i = row; i < row + 2; ++i)
        for (int j = column; j < column + 2; ++j) EXPECT_FLOAT_EQ(sheet->At(i, j).y, firstHeight);
    EXPECT_EQ(sheet->At(row + 2, column).y, 0.0f);
    EXPECT_EQ(sheet->At(row - 1, column).y, 0.0f);
    for (float v : sheet->velocities) ASSERT_EQ(v, 0.0f);

    auto other = RestingSheet();
    other->Disturb();
    EXPECT_NE(RaisedFarPatch(*other), first) << "the next call raises the other patch";
    EXPECT_FLOAT_EQ(other->At(first ? 20 : 40, first ? 5 : 54).y, first ? 0.5f : 0.75f);
}

TEST(WaterSurface, ARippleSpreadsFromThePatchAtTheNextStep) {
    auto sheet = RestingSheet();
    sheet->Disturb();
    const bool far = RaisedFarPatch(*sheet);
    const int row = far ? 40 : 20, column = far ? 54 : 5;
    const float h = far ? 0.75f : 0.5f;
    sheet->Step();
    // The patch sinks and the ring around it rises.
    EXPECT_LT(sheet->At(row, column).y, h * 0.999f);
    EXPECT_GT(sheet->At(row - 1, column).y, 0.0f);
    EXPECT_GT(sheet->At(row - 1, column - 1).y, 0.0f);
    EXPECT_LT(sheet->At(row - 1, column - 1).y, sheet->At(row - 1, column).y) << "diagonals pull by 1/sqrt(2)";
    EXPECT_EQ(sheet->At(row - 2, column).y, 0.0f) << "one ring per step";
    // Exactly: the corner (row, column) has 5 neighbours at 0 (two straight, three diagonal),
    // each spring acting from both sides when the neighbour is interior.
    const float expectedForce = -2.0f * (2.0f * h + 3.0f * h / 1.4142135f);
    EXPECT_NEAR(sheet->velocities[row * N + column], expectedForce * 0.001f, 1e-6f);
    EXPECT_NEAR(sheet->At(row, column).y, (h + expectedForce * 0.001f) * 0.999f, 1e-6f);

    // Left alone the ripple keeps spreading and the sheet never blows up.
    for (int i = 0; i < 400; ++i) sheet->Step();
    float highest = 0.0f;
    for (const WaterVertex& v : sheet->vertices) {
        ASSERT_TRUE(std::isfinite(v.y));
        highest = std::max(highest, std::fabs(v.y));
    }
    EXPECT_LT(highest, h);
    EXPECT_NE(sheet->At(30, 30).y, 0.0f) << "the ripple should have crossed to the middle";
}

TEST(WaterSurface, EdgeRowsAndColumnsMoveUnderTheirNeighboursSprings) {
    auto sheet = RestingSheet();
    sheet->At(1, 1).y = 1.0f;
    sheet->At(58, 30).y = 1.0f;
    sheet->Step();
    // The edges are never centres, so only the interior neighbour's pull acts on them, once.
    EXPECT_NEAR(sheet->velocities[0 * N + 1], 0.001f, 1e-7f);
    EXPECT_NEAR(sheet->velocities[1 * N + 0], 0.001f, 1e-7f);
    EXPECT_NEAR(sheet->velocities[0 * N + 0], 0.001f / 1.4142135f, 1e-7f);
    EXPECT_NEAR(sheet->velocities[59 * N + 30], 0.001f, 1e-7f);
    EXPECT_GT(sheet->At(0, 0).y, 0.0f);
    EXPECT_GT(sheet->At(59, 30).y, 0.0f);
    EXPECT_GT(sheet->At(59, 31).y, 0.0f);
}

TEST(WaterSurface, NormalsLeanAwayFromARiseAndStayUnitLength) {
    auto sheet = RestingSheet();
    sheet->At(30, 31).y = 0.5f;   // higher towards +x of (30, 30)
    sheet->At(59, 58).y = 0.5f;   // a rise beside the last row's branch
    sheet->ComputeNormals();
    const WaterVertex& v = sheet->At(30, 30);
    EXPECT_NEAR(std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz), 1.0f, 1e-5f);
    EXPECT_LT(v.ny, -0.5f);
    EXPECT_GT(v.nx, 0.1f) << "the downward normal tilts towards the rise";
    const WaterVertex& e = sheet->At(59, 59);
    EXPECT_NEAR(std::sqrt(e.nx * e.nx + e.ny * e.ny + e.nz * e.nz), 1.0f, 1e-5f);
    EXPECT_NE(e.nx, 0.0f);
}
