// geometry/closed_pieces.cpp — joining triangles at their shared edges, turning each piece one
// way, and counting the uses of each edge.
#include "geometry/closed_pieces.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <tuple>

namespace {

// Positions within a 4096th of a unit of each other get one number, so corners duplicated for
// their texture coordinates, or rounded apart where many meet at a pole, count as one corner.
// (Two that straddle a step of the grid stay apart; that can only leave a piece open.)
std::vector<int> NumberPositions(const Mesh& mesh) {
    using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
    auto snapped = [](float value) {
        const float q = std::nearbyint(value * 4096.0f) + 0.0f;   // + 0: no negative zero
        std::uint32_t bits;
        std::memcpy(&bits, &q, sizeof bits);
        return bits;
    };
    auto key = [&](int i) {
        const MeshVertex& v = mesh.vertices[i];
        return Key{snapped(v.x), snapped(v.y), snapped(v.z)};
    };
    std::vector<int> order(static_cast<std::size_t>(std::max(mesh.vertexCount, 0)));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    std::vector<int> number(order.size());
    int next = -1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k == 0 || key(order[k]) != key(order[k - 1])) ++next;
        number[static_cast<std::size_t>(order[k])] = next;
    }
    return number;
}

struct EdgeUse {
    int a, b;   // the corners' position numbers, a < b
    std::size_t triangle;
    std::uint16_t from, to;   // the corners' vertex indices as the triangle runs
    bool rising;              // the triangle runs from a to b
    bool operator<(const EdgeUse& o) const { return std::tie(a, b, triangle) < std::tie(o.a, o.b, o.triangle); }
};

std::vector<EdgeUse> EdgesOf(const Mesh& mesh, std::size_t count) {
    const std::vector<int> position = NumberPositions(mesh);
    std::vector<EdgeUse> edges;
    for (std::size_t t = 0; t < count; ++t) {
        if (!mesh.IsDrawable(static_cast<int>(t))) continue;
        const std::uint16_t* corner = mesh.indices + 3 * t;
        const int p[3] = {position[corner[0]], position[corner[1]], position[corner[2]]};
        if (p[0] == p[1] || p[1] == p[2] || p[0] == p[2]) continue;
        for (int k = 0; k < 3; ++k) {
            const int next = (k + 1) % 3;
            edges.push_back({std::min(p[k], p[next]), std::max(p[k], p[next]), t, corner[k], corner[next], p[k] < p[next]});
        }
    }
    std::sort(edges.begin(), edges.end());
    return edges;
}

// Calls `visit(first, end)` for each run of uses of one edge in the sorted `edges`.
template <typename Visit>
void ForEachEdge(const std::vector<EdgeUse>& edges, Visit visit) {
    for (std::size_t i = 0; i < edges.size();) {
        std::size_t j = i;
        while (j < edges.size() && edges[j].a == edges[i].a && edges[j].b == edges[i].b) ++j;
        visit(i, j);
        i = j;
    }
}

// A shared edge: the other triangle, and whether the two run along it the same way.
struct Link {
    std::size_t other;
    bool same;
};

}  // namespace

MeshPieces FindPieces(const Mesh& mesh) {
    const std::size_t count = static_cast<std::size_t>(std::max(mesh.triangleCount, 0));
    const std::vector<EdgeUse> edges = EdgesOf(mesh, count);
    std::vector<std::vector<Link>> links(count);
    std::vector<std::uint8_t> inPiece(count, 0), crowded(count, 0);
    ForEachEdge(edges, [&](std::size_t i, std::size_t j) {
        for (std::size_t k = i; k < j; ++k) inPiece[edges[k].triangle] = 1;
        if (j - i > 2) crowded[edges[i].triangle] = 1;
        for (std::size_t k = i + 1; k < j; ++k) {
            const bool same = edges[k].rising == edges[i].rising;
            links[edges[i].triangle].push_back({edges[k].triangle, same});
            links[edges[k].triangle].push_back({edges[i].triangle, same});
        }
    });

    MeshPieces pieces;
    pieces.pieceOf.assign(count, -1);
    pieces.reversed.assign(count, 0);
    std::vector<std::size_t> queue;
    for (std::size_t first = 0; first < count; ++first) {
        if (!inPiece[first] || pieces.pieceOf[first] >= 0) continue;
        const int piece = static_cast<int>(pieces.openEdges.size());
        pieces.openEdges.emplace_back();
        pieces.tangled.push_back(0);
        pieces.pieceOf[first] = piece;
        queue.assign(1, first);
        while (!queue.empty()) {
            const std::size_t t = queue.back();
            queue.pop_back();
            pieces.tangled.back() |= crowded[t];
            for (const Link& link : links[t]) {
                const std::uint8_t wanted = pieces.reversed[t] ^ static_cast<std::uint8_t>(link.same);
                if (pieces.pieceOf[link.other] < 0) {
                    pieces.pieceOf[link.other] = piece;
                    pieces.reversed[link.other] = wanted;
                    queue.push_back(link.other);
                } else if (pieces.reversed[link.other] != wanted) {
                    pieces.tangled.back() = 1;
                }
            }
        }
    }
    ForEachEdge(edges, [&](std::size_t i, std::size_t j) {
        if (j - i != 1) return;
        const EdgeUse& e = edges[i];
        auto& open = pieces.openEdges[static_cast<std::size_t>(pieces.pieceOf[e.triangle])];
        open.push_back(pieces.reversed[e.triangle] ? std::array<std::uint16_t, 2>{e.to, e.from}
                                                   : std::array<std::uint16_t, 2>{e.from, e.to});
    });
    return pieces;
}
