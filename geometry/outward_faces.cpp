// geometry/outward_faces.cpp — a piece hides its back faces from an eye outside it when,
// turned one way and closed up, the first surface on every line of sight is one of its front
// faces.
#include "geometry/outward_faces.h"

#include "geometry/closed_pieces.h"

namespace {

// Twice the area (square units) under which a fan triangle of the cap closes no opening.
constexpr double kSlit = 1e-7;

struct Point {
    double x, y, z;
};

Point operator-(const Point& a, const Point& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point Cross(const Point& a, const Point& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(const Point& a, const Point& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Point EyePoint(const float m[16], const MeshVertex& v) {
    return {static_cast<double>(m[0]) * v.x + m[4] * v.y + m[8] * v.z + m[12],
            static_cast<double>(m[1]) * v.x + m[5] * v.y + m[9] * v.z + m[13],
            static_cast<double>(m[2]) * v.x + m[6] * v.y + m[10] * v.z + m[14]};
}

// A piece closed up, in eye space (the eye at the origin), its triangles run as its first one.
struct Surface {
    double volume = 0.0;         // six times the enclosed volume, by the way the triangles run
    bool beyondNear = true;      // every corner beyond the near plane
    bool capAway = true;         // every triangle of the cap seen from behind
    bool capToward = true;       // every triangle of the cap seen from in front

    void Add(const Point& a, const Point& b, const Point& c, double nearDepth) {
        volume += Dot(a, Cross(b, c));
        for (const Point* p : {&a, &b, &c}) beyondNear = beyondNear && -p->z > nearDepth;
    }
    // The cap: a fan from the centre of the open edges, each run the other way round. A fan
    // triangle of next to no area closes no opening (open edges along one line, where a
    // surface comes to a point at uneven heights).
    void Close(const Mesh& mesh, const float view[16], const std::vector<std::array<std::uint16_t, 2>>& open, double nearDepth) {
        if (open.empty()) return;
        Point centre{0.0, 0.0, 0.0};
        for (const auto& edge : open) {
            const Point a = EyePoint(view, mesh.vertices[edge[0]]);
            centre = {centre.x + a.x, centre.y + a.y, centre.z + a.z};
        }
        const double n = static_cast<double>(open.size());
        centre = {centre.x / n, centre.y / n, centre.z / n};
        for (const auto& edge : open) {
            const Point from = EyePoint(view, mesh.vertices[edge[1]]), to = EyePoint(view, mesh.vertices[edge[0]]);
            Add(from, to, centre, nearDepth);
            const Point normal = Cross(to - from, centre - from);
            if (Dot(normal, normal) <= kSlit * kSlit) continue;
            const double facing = Dot(normal, from);   // > 0: seen from behind
            capAway = capAway && facing > 0.0;
            capToward = capToward && facing < 0.0;
        }
    }
};

}  // namespace

std::vector<FaceOut> FindOutwardFaces(const Mesh& mesh, const float view[16], float nearDepth) {
    const MeshPieces pieces = FindPieces(mesh);
    std::vector<Surface> surfaces(pieces.openEdges.size());
    for (std::size_t t = 0; t < pieces.pieceOf.size(); ++t) {
        if (pieces.pieceOf[t] < 0) continue;
        const std::uint16_t* corner = mesh.indices + 3 * t;
        const Point a = EyePoint(view, mesh.vertices[corner[0]]);
        Point b = EyePoint(view, mesh.vertices[corner[1]]), c = EyePoint(view, mesh.vertices[corner[2]]);
        if (pieces.reversed[t]) std::swap(b, c);
        surfaces[static_cast<std::size_t>(pieces.pieceOf[t])].Add(a, b, c, nearDepth);
    }
    for (std::size_t p = 0; p < surfaces.size(); ++p) surfaces[p].Close(mesh, view, pieces.openEdges[p], nearDepth);

    // Turned so that its faces point out (positive volume), a piece's triangles stored the way
    // it runs face out counter-clockwise, the others clockwise.
    std::vector<FaceOut> out(pieces.pieceOf.size(), kEitherSide);
    for (std::size_t t = 0; t < out.size(); ++t) {
        const int p = pieces.pieceOf[t];
        if (p < 0 || pieces.tangled[static_cast<std::size_t>(p)]) continue;
        const Surface& s = surfaces[static_cast<std::size_t>(p)];
        const bool runsOut = s.volume > 0.0;
        const bool covered = runsOut ? s.capAway : s.volume < 0.0 && s.capToward;
        if (!s.beyondNear || !covered) continue;
        out[t] = runsOut != static_cast<bool>(pieces.reversed[t]) ? kOutCounterClockwise : kOutClockwise;
    }
    return out;
}
