// scenes/point_set.h — the cube cloud of scene two: its points, its shapes and how they move.
#pragma once

#include <cstdint>
#include <vector>

// A point of a shape and, unchanged, a vertex as GL reads it: three floats of position at
// byte 0 and three colour bytes at byte 12 (stride 16).
struct CloudPoint {
    float x, y, z;
    std::uint8_t r, g, b;
    std::uint8_t unused;   // colour arrays read three components; kept zero
};
static_assert(sizeof(CloudPoint) == 16, "GL reads the points with a stride of 16 bytes");

// A shape: `count` points, each drawn as a cube of half edge `halfSize`.
struct PointSet {
    std::vector<CloudPoint> points;
    std::uint32_t count = 0;
    float halfSize = 0.0f;
    float colourScale = 0.0f;   // only the lattice uses it, while it is built
};

// Corners written per cube and indices per cube (six quads).
constexpr int kCubeVertices = 8;
constexpr int kCubeIndices = 24;

// Corner k of a cube lies on the low (0) or high (1) side of x, y and z as kCubeCorners[k] says.
inline constexpr std::uint8_t kCubeCorners[kCubeVertices][3] = {
    {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1},
};

// Six quads of corners, wound clockwise seen from outside.
inline constexpr std::uint8_t kCubeFaces[kCubeIndices] = {3, 2, 1, 0, 4, 5, 6, 7, 0, 1, 5, 4,
                                                          2, 3, 7, 6, 1, 2, 6, 5, 3, 0, 4, 7};

// Points per edge and ring of the shapes: 12, 16 or 20 for detail levels 0, 1, 2.
int CloudDetail(int detailLevel);

// (c+1)³ points on a cube from −8 to 8, coloured by position.
void BuildLattice(PointSet& set, int c);
// Discs of rings stacked from z = −8 to 8, rings up to radius 8.
void BuildCylinder(PointSet& set, int c);
// A (4c+1)² grid from −16 to 16 in the plane z = 0; AnimateWave moves it.
void BuildWavePlane(PointSet& set, int c);
// `count` black points at random in −32..32 (three calls of the program-wide rand each).
void BuildScatter(PointSet& set, std::uint32_t count, int c);

// out = a + (b − a)·t for the first min(a.count, b.count) points, t clamped to 0..1; out takes
// a's halfSize. `out` must hold that many points.
void MorphPointSets(PointSet& out, const PointSet& a, const PointSet& b, float t);

// Advances `wavePhase` by 3.14·frameTime (wrapped at 6.28) and sets z and green of every point.
void AnimateWave(PointSet& plane, float& wavePhase, float frameTime);

// Pushes p away from the ball centre (cx, cy, cz) by 15·sqrt(1/distance), clamped: no push
// beyond 225 units, 6 units within 6.25.
void RepelFromBall(CloudPoint& p, float cx, float cy, float cz);

// Corner `corner` of the cube of half edge h around p, in p's colour.
CloudPoint CubeCorner(const CloudPoint& p, float h, int corner);

// Writes the 8 corners of the cube of half edge h around p, all in p's colour, into out[0..7].
void EmitCube(CloudPoint* out, const CloudPoint& p, float h);

// Fills 24 indices per cube for `cubes` cubes of 8 consecutive vertices each.
void FillCubeIndices(std::uint16_t* indices, int cubes);
