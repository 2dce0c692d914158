// geometry/outward_faces.h — which triangles of a mesh can be drawn without their back faces.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/mesh.h"

// Per triangle: the winding (seen from in front) in which it faces out of a piece of the mesh
// whose front faces cover its back faces, so that culling back faces with that winding as the
// front leaves the picture as it is; kEitherSide where that does not hold.
enum FaceOut : std::uint8_t { kEitherSide = 0, kOutCounterClockwise = 1, kOutClockwise = 2 };

// For a still mesh under the model-view matrix `view` (column-major): a piece counts when it
// lies wholly beyond eye depth `nearDepth` (the eye is then outside it, and nothing of it is
// clipped away) and is closed, or open only where the eye sees the opening's far side: closed
// up by a fan from the centre of its open edges, every triangle of the fan faces away from the
// eye, or has next to no area (open edges along one line).
std::vector<FaceOut> FindOutwardFaces(const Mesh& mesh, const float view[16], float nearDepth);
