// geometry/path_points.h — the point list of a camera path and its file reader.
//
// A path file is a bare run of 12-byte records (x, y, z as little-endian floats), read to the
// end of the file; bytes after the last whole record are ignored.
#pragma once

#include <istream>
#include <vector>

// One point of a path, in the scene's axes.
struct PathPoint {
    float x, y, z;
};

// The points of one path file, in file order; owned.
class PathPoints {
public:
    PathPoints() = default;
    virtual ~PathPoints() = default;

    // Appends the points of asset file `name`, each coordinate times `scale`. By default y and
    // z are exchanged (the files are stored y-up, the island scene is z-up); scene one keeps the
    // stored order. A file that is missing, a folder, unreadable or without one whole point adds
    // nothing and prints one line naming it; one that ends in a partial point keeps its whole
    // points and says so in one line.
    void LoadPath(const char* name, float scale, bool exchangeYZ = true);

    std::vector<PathPoint> points;
};

// Appends every whole record the stream delivers, scaled; returns how many it appended.
int ReadPathPoints(std::istream& stream, float scale, bool exchangeYZ, std::vector<PathPoint>& points);
