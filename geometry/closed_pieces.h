// geometry/closed_pieces.h — the pieces of a mesh, which way each triangle runs within its
// piece, and the edges that leave a piece open.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry/mesh.h"

// A mesh cut into pieces: sets of triangles joined by shared edges (corners at equal
// positions). Triangles that are not drawable or have two corners at one position are in no
// piece (they cover no pixels).
struct MeshPieces {
    std::vector<int> pieceOf;   // per triangle: its piece, or -1
    // Per triangle: it runs against the first triangle of its piece (neighbours that run along
    // their shared edge the same way face opposite sides).
    std::vector<std::uint8_t> reversed;
    // Per piece: its edges that belong to one triangle only, as the piece's first triangle would
    // run along them (vertex indices). None: the piece closes on itself.
    std::vector<std::vector<std::array<std::uint16_t, 2>>> openEdges;
    // Per piece: an edge belongs to more than two triangles, or the triangles cannot all be
    // made to run one way.
    std::vector<std::uint8_t> tangled;
};

MeshPieces FindPieces(const Mesh& mesh);
