// Shapes, morphing and motion of scene two's cube cloud.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "platform/random.h"
#include "scenes/morph_timer.h"
#include "scenes/point_set.h"

namespace {

struct Vec {
    float x, y, z;
};

Vec Sub(const CloudPoint& a, const CloudPoint& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

TEST(PointSet, ShapeCountsAtEachDetailLevel) {
    struct Expected {
        int level, c;
        std::uint32_t lattice, cylinder, plane;
    };
    // Each cylinder layer holds rings of ceil(5.58·j) points for j = 1..c/2.
    const Expected cases[] = {{0, 12, 2197, 13 * 120, 2401}, {1, 16, 4913, 17 * 205, 4225}, {2, 20, 9261, 6552, 6561}};
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.level);
        ASSERT_EQ(CloudDetail(e.level), e.c);
        PointSet lattice, cylinder, plane, scatter;
        BuildLattice(lattice, e.c);
        BuildCylinder(cylinder, e.c);
        BuildWavePlane(plane, e.c);
        BuildScatter(scatter, std::max(lattice.count, cylinder.count), e.c);
        EXPECT_EQ(lattice.count, e.lattice);
        EXPECT_EQ(cylinder.count, e.cylinder);
        EXPECT_EQ(plane.count, e.plane);
        EXPECT_EQ(scatter.count, e.lattice);
        for (const PointSet* set : {&lattice, &cylinder, &plane, &scatter}) {
            EXPECT_EQ(set->points.size(), set->count);
            EXPECT_FLOAT_EQ(set->halfSize, 6.0f / static_cast<float>(e.c));
        }
    }
}

TEST(PointSet, ShapesSpanTheirVolumesWithTheirColours) {
    PointSet lattice, cylinder, plane;
    BuildLattice(lattice, 20);
    BuildCylinder(cylinder, 20);
    BuildWavePlane(plane, 20);

    const CloudPoint& first = lattice.points.front();
    const CloudPoint& last = lattice.points.back();
    EXPECT_FLOAT_EQ(first.x, -8.0f);
    EXPECT_FLOAT_EQ(first.z, -8.0f);
    EXPECT_FLOAT_EQ(last.x, 8.0f);
    EXPECT_FLOAT_EQ(last.y, 8.0f);
    EXPECT_EQ(first.r, 10);   // (0 + 8)·1 + 2
    EXPECT_EQ(last.b, 30);    // (20 + 8)·1 + 2
    // x runs fastest, z slowest.
    EXPECT_FLOAT_EQ(lattice.points[1].x, -7.2f);
    EXPECT_FLOAT_EQ(lattice.points[21].y, -7.2f);
    EXPECT_FLOAT_EQ(lattice.points[441].z, -7.2f);

    // The first cylinder point starts ring 1 (radius 0.8) of the bottom layer; ring 0 is empty.
    EXPECT_NEAR(cylinder.points[0].x, 0.8f, 1e-5f);
    EXPECT_NEAR(cylinder.points[0].y, 0.0f, 1e-5f);
    EXPECT_FLOAT_EQ(cylinder.points[0].z, -8.0f);
    EXPECT_EQ(cylinder.points[0].r, 8);
    EXPECT_EQ(cylinder.points[0].b, 3);
    float widest = 0.0f;
    for (const CloudPoint& p : cylinder.points) {
        const float radius = std::sqrt(p.x * p.x + p.y * p.y);
        widest = std::max(widest, radius);
        ASSERT_GE(p.z, -8.0f);
        ASSERT_LE(p.z, 8.0f);
    }
    EXPECT_NEAR(widest, 8.0f, 1e-4f);
    EXPECT_EQ(cylinder.points.back().r, 56);   // top layer: 48 + 8

    EXPECT_FLOAT_EQ(plane.points.front().x, -16.0f);
    EXPECT_FLOAT_EQ(plane.points.back().y, 16.0f);
    EXPECT_EQ(plane.points[100].b, 32);
}

TEST(PointSet, ScatterComesFromTheProgramWideSequence) {
    platform::SRand(1);
    PointSet scatter;
    BuildScatter(scatter, 500, 20);
    EXPECT_FLOAT_EQ(scatter.points[0].x, 41 / 4.0f - 32.0f);          // first rand() is 41
    EXPECT_FLOAT_EQ(scatter.points[0].y, (18467 % 257) / 4.0f - 32.0f);
    for (const CloudPoint& p : scatter.points) {
        for (float v : {p.x, p.y, p.z}) {
            ASSERT_GE(v, -32.0f);
            ASSERT_LE(v, 32.0f);
            ASSERT_FLOAT_EQ(v * 4.0f, std::round(v * 4.0f));
        }
        ASSERT_EQ(p.r + p.g + p.b, 0);
    }
}

TEST(PointSet, MorphTakesTheSmallerCountAndClampsT) {
    PointSet lattice, cylinder, plane, scatter, morphed;
    BuildLattice(lattice, 20);
    BuildCylinder(cylinder, 20);
    BuildWavePlane(plane, 20);
    BuildScatter(scatter, lattice.count, 20);
    morphed.points.resize(scatter.count);

    MorphPointSets(morphed, plane, scatter, 0.5f);
    EXPECT_EQ(morphed.count, 6561u);
    MorphPointSets(morphed, cylinder, scatter, 0.5f);
    EXPECT_EQ(morphed.count, 6552u);
    MorphPointSets(morphed, lattice, scatter, 0.5f);
    EXPECT_EQ(morphed.count, 9261u);

    scatter.halfSize = 99.0f;
    MorphPointSets(morphed, lattice, scatter, 0.25f);
    EXPECT_FLOAT_EQ(morphed.halfSize, lattice.halfSize);
    const CloudPoint& a = lattice.points[1234];
    const CloudPoint& b = scatter.points[1234];
    EXPECT_FLOAT_EQ(morphed.points[1234].x, a.x + (b.x - a.x) * 0.25f);
    EXPECT_EQ(morphed.points[1234].g, static_cast<int>(a.g * 0.75f));   // towards black, truncated

    MorphPointSets(morphed, lattice, scatter, 3.0f);
    EXPECT_FLOAT_EQ(morphed.points[1234].z, b.z);
    EXPECT_EQ(morphed.points[1234].r, 0);
    MorphPointSets(morphed, lattice, scatter, -2.0f);
    EXPECT_FLOAT_EQ(morphed.points[1234].y, a.y);
    EXPECT_EQ(morphed.points[1234].b, a.b);
}

TEST(PointSet, WaveMovesOnlyHeightAndGreen) {
    PointSet plane;
    BuildWavePlane(plane, 12);
    float wavePhase = 6.0f;
    AnimateWave(plane, wavePhase, 0.2f);
    EXPECT_NEAR(wavePhase, 6.0f + 0.628f - 6.28f, 1e-5f);   // wrapped once
    const float s = std::sin(wavePhase);
    EXPECT_NEAR(plane.points[0].z, s * s, 1e-5f);   // corner (−16, −16)
    for (const CloudPoint& p : plane.points) {
        ASSERT_GE(p.z, -1.0f);
        ASSERT_LE(p.z, 1.0f);
        ASSERT_EQ(p.g, static_cast<int>((p.z + 1.0f) / 2.0f * 64.0f));
        ASSERT_EQ(p.r, 16);
        ASSERT_EQ(p.b, 32);
    }
    EXPECT_FLOAT_EQ(plane.points[50].x, plane.points[50 + 49].x);   // the grid stays put
}

TEST(PointSet, RepelFromBallLimits) {
    auto pushed = [](float distance) {
        CloudPoint p{distance, 0.0f, 0.0f, 0, 0, 0, 0};
        RepelFromBall(p, 0.0f, 0.0f, 0.0f);
        return p.x - distance;
    };
    EXPECT_EQ(pushed(300.0f), 0.0f);            // beyond 225: no push at all
    EXPECT_NEAR(pushed(100.0f), 1.5f, 1e-5f);   // 15·sqrt(1/100)
    EXPECT_NEAR(pushed(25.0f), 3.0f, 1e-5f);
    EXPECT_NEAR(pushed(6.0f), 6.0f, 1e-5f);     // within 6.25: the full 6
    EXPECT_NEAR(pushed(0.01f), 6.0f, 1e-5f);

    CloudPoint centre{1.0f, 2.0f, 3.0f, 7, 8, 9, 0};
    RepelFromBall(centre, 1.0f, 2.0f, 3.0f);   // at the centre: no direction, no push
    EXPECT_EQ(centre.x, 1.0f);
    EXPECT_EQ(centre.z, 3.0f);

    // Away from an off-axis centre, along the line through it.
    CloudPoint p{3.0f, 4.0f, 10.0f, 0, 0, 0, 0};
    RepelFromBall(p, 0.0f, 0.0f, 10.0f);   // distance 5
    EXPECT_NEAR(p.x, 3.0f + 0.6f * 6.0f, 1e-5f);
    EXPECT_NEAR(p.y, 4.0f + 0.8f * 6.0f, 1e-5f);
    EXPECT_EQ(p.z, 10.0f);
}

TEST(PointSet, CubeCornersAndIndexTable) {
    CloudPoint corners[8];
    EmitCube(corners, CloudPoint{10.0f, 20.0f, 30.0f, 1, 2, 3, 0}, 0.5f);
    const float expected[8][3] = {{9.5f, 19.5f, 29.5f}, {10.5f, 19.5f, 29.5f}, {10.5f, 19.5f, 30.5f},
                                  {9.5f, 19.5f, 30.5f}, {9.5f, 20.5f, 29.5f}, {10.5f, 20.5f, 29.5f},
                                  {10.5f, 20.5f, 30.5f}, {9.5f, 20.5f, 30.5f}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(corners[i].x, expected[i][0]);
        EXPECT_EQ(corners[i].y, expected[i][1]);
        EXPECT_EQ(corners[i].z, expected[i][2]);
        EXPECT_EQ(corners[i].r, 1);
        EXPECT_EQ(corners[i].g, 2);
        EXPECT_EQ(corners[i].b, 3);
    }

    std::vector<std::uint16_t> indices(1000 * kCubeIndices);
    FillCubeIndices(indices.data(), 1000);
    const std::uint16_t firstCube[24] = {3, 2, 1, 0, 4, 5, 6, 7, 0, 1, 5, 4, 2, 3, 7, 6, 1, 2, 6, 5, 3, 0, 4, 7};
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(indices[i], firstCube[i]);
        EXPECT_EQ(indices[999 * 24 + i], 7992 + firstCube[i]);
    }
    // Every face is a real face of the cube, seen clockwise from outside (its counter-clockwise
    // normal points into the cube), and every corner belongs to three faces.
    int uses[8] = {};
    for (int face = 0; face < 6; ++face) {
        const std::uint16_t* q = &indices[face * 4];
        std::set<int> distinct(q, q + 4);
        ASSERT_EQ(distinct.size(), 4u);
        for (int i = 0; i < 4; ++i) ++uses[q[i]];
        const Vec normal = Cross(Sub(corners[q[1]], corners[q[0]]), Sub(corners[q[2]], corners[q[0]]));
        const Vec outward = Sub(corners[q[0]], CloudPoint{10.0f, 20.0f, 30.0f, 0, 0, 0, 0});
        EXPECT_LT(Dot(normal, outward), 0.0f) << "face " << face;
    }
    for (int use : uses) EXPECT_EQ(use, 3);
}

TEST(MorphTimer, HoldDissolveScatterCondenseHold) {
    MorphTimer timer;
    const float step = 0.01f;
    float time = 0.0f;
    auto runUntil = [&](float end) {
        while (time < end - 1e-4f) {
            timer.Step(step);
            time += step;
        }
    };
    runUntil(9.9f);
    EXPECT_EQ(timer.morphPhase, 0.0f);
    runUntil(11.0f);
    EXPECT_NEAR(timer.morphPhase, 0.5f, 0.02f);   // 1 s into the 2 s dissolve
    EXPECT_EQ(timer.shapeCounter, 0);
    runUntil(12.1f);
    EXPECT_EQ(timer.shapeCounter, 1);             // chosen at full scatter
    EXPECT_EQ(timer.morphPhase, 1.0f);
    runUntil(12.9f);
    EXPECT_EQ(timer.morphPhase, 1.0f);            // the scatter holds 1 s
    runUntil(14.0f);
    EXPECT_NEAR(timer.morphPhase, 0.5f, 0.03f);
    runUntil(15.2f);
    EXPECT_EQ(timer.morphPhase, 0.0f);
    EXPECT_EQ(timer.legCounter, 2);
    runUntil(22.4f);
    EXPECT_EQ(timer.morphPhase, 0.0f);            // 7.5 s hold
    runUntil(23.5f);
    EXPECT_GT(timer.morphPhase, 0.0f);
    EXPECT_EQ(timer.shapeCounter, 1);
}

TEST(MorphTimer, OneHugeFrameEndsOneLegOnly) {
    MorphTimer timer;
    timer.Step(10.5f);   // through the hold, then far past full scatter in one step
    EXPECT_EQ(timer.shapeCounter, 1);
    EXPECT_EQ(timer.legCounter, 1);
    EXPECT_EQ(timer.morphPhase, 1.0f);
    EXPECT_EQ(timer.holdTimer, 1.0f);
    timer.Step(100.0f);   // condensing: far below 0, shape unchanged
    EXPECT_EQ(timer.shapeCounter, 1);
    EXPECT_EQ(timer.legCounter, 2);
    EXPECT_EQ(timer.morphPhase, 0.0f);
    EXPECT_EQ(timer.holdTimer, 7.5f);
}
