// scenes/cube_outline.h — what of an axis-aligned cube a point of view sees: the outline of its
// picture and its visible faces, as corner loops wound the way GL_CW front faces are.
#pragma once

#include <cstdint>

#include "scenes/point_set.h"

// Up to six corners (numbered as EmitCube writes them) around a convex picture.
struct CornerLoop {
    std::uint8_t count = 0;
    std::uint8_t corners[6] = {};
};

// All that can be seen of a cube from one of the 27 regions around it (below, within or above
// its span on each axis): the outline and the faces inside it.
struct CubeView {
    CornerLoop outline;        // 0 corners from inside the cube, 4 for one face, else 6
    CornerLoop faces[3];       // the visible faces, four corners each
    std::uint8_t faceCount = 0;
};

// The region of `eye` around the cube of half edge h at p: 0 to 26, base three per axis (x the
// lowest digit), 0 below the cube's span, 1 within, 2 above.
int EyeRegion(const CloudPoint& p, float h, const float eye[3]);

// What is seen from `region`.
const CubeView& CubeViewFrom(int region);

// Writes the loop's corners of the cube of half edge h at p, in p's colour, into out[0..5];
// a loop of four repeats its last corner, an empty loop writes nothing. Drawn as the fan 0-1-2, 0-2-3, 0-3-4, 0-4-5 the six
// cover exactly the pixels of the loop's corners joined in order.
void EmitCornerLoop(CloudPoint* out, const CloudPoint& p, float h, const CornerLoop& loop);

// The fan's indices for `loops` loops of six consecutive vertices: 12 per loop.
constexpr int kLoopVertices = 6;
constexpr int kLoopIndices = 12;
void FillLoopIndices(std::uint16_t* indices, int loops);
