// Which triangles may lose their back faces: closed pieces seen from outside, open ones only
// where the eye sees the far side of the opening.
#include "geometry/outward_faces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A mesh of the given corners and triangles (three indices each).
void Fill(Mesh& mesh, const std::vector<MeshVertex>& corners, const std::vector<std::uint16_t>& triangles) {
    mesh.Release();
    mesh.vertexCount = static_cast<std::int32_t>(corners.size());
    mesh.vertices = new MeshVertex[corners.size()];
    std::copy(corners.begin(), corners.end(), mesh.vertices);
    mesh.triangleCount = static_cast<std::int32_t>(triangles.size() / 3);
    mesh.indices = new std::uint16_t[triangles.size()];
    std::copy(triangles.begin(), triangles.end(), mesh.indices);
}

MeshVertex At(float x, float y, float z) { return MeshVertex{x, y, z, 0, 0, 0, 0, 0}; }

// A tetrahedron at depth `z` in front of the eye, its faces counter-clockwise from outside; the
// last face (0, 1, 2) is the one turned towards the eye.
std::vector<MeshVertex> Corners(float z) { return {At(-1, -1, z), At(1, -1, z), At(0, 1, z), At(0, 0, z - 1.5f)}; }
const std::vector<std::uint16_t> kFaces = {0, 3, 1, 1, 3, 2, 2, 3, 0, 0, 1, 2};

}  // namespace

TEST(OutwardFaces, ClosedPiecesOutsideTheEyeAndBeyondTheNearPlane) {
    Mesh mesh;
    Fill(mesh, Corners(-5), kFaces);
    EXPECT_EQ(FindOutwardFaces(mesh, kIdentity, 1.0f), std::vector<FaceOut>(4, kOutCounterClockwise));

    // One face stored the other way round faces out clockwise; a corner duplicated (as for
    // its texture coordinates) still closes the piece.
    std::vector<MeshVertex> corners = Corners(-5);
    corners.push_back(corners[2]);
    Fill(mesh, corners, {0, 3, 1, 1, 3, 4, 2, 0, 3, 0, 1, 2});
    EXPECT_EQ(FindOutwardFaces(mesh, kIdentity, 1.0f),
              (std::vector<FaceOut>{kOutCounterClockwise, kOutCounterClockwise, kOutClockwise, kOutCounterClockwise}));

    // Stored inside out, every face faces out clockwise.
    Fill(mesh, Corners(-5), {0, 1, 3, 1, 2, 3, 2, 0, 3, 0, 2, 1});
    EXPECT_EQ(FindOutwardFaces(mesh, kIdentity, 1.0f), std::vector<FaceOut>(4, kOutClockwise));

    // Cut by the near plane: both sides stay.
    Fill(mesh, Corners(-0.5f), kFaces);
    EXPECT_EQ(FindOutwardFaces(mesh, kIdentity, 1.0f), std::vector<FaceOut>(4, kEitherSide));

    // An edge of three faces.
    Fill(mesh, Corners(-5), {0, 3, 1, 1, 3, 2, 2, 3, 0, 0, 1, 2, 1, 0, 2});
    EXPECT_EQ(FindOutwardFaces(mesh, kIdentity, 1.0f), std::vector<FaceOut>(5, kEitherSide));
}

TEST(OutwardFaces, AnOpenPieceOnlyWhereTheEyeSeesTheFarSideOfTheOpening) {
    Mesh mesh;
    // Without the face towards the eye, the eye looks into the piece.
    Fill(mesh, Corners(-5), {0, 3, 1, 1, 3, 2, 2, 3, 0});
    EXPECT_EQ(FindOutwardFaces(mesh, kIdentity, 1.0f), std::vector<FaceOut>(3, kEitherSide));
    // Without a face turned away, the opening is out of sight.
    Fill(mesh, Corners(-5), {0, 3, 1, 2, 3, 0, 0, 1, 2});
    EXPECT_EQ(FindOutwardFaces(mesh, kIdentity, 1.0f), std::vector<FaceOut>(3, kOutCounterClockwise));
}
