// geometry/path_points.cpp — reading path files record by record.
#include "geometry/path_points.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/asset_path.h"

void PathPoints::LoadPath(const char* name, float scale, bool exchangeYZ) {
    const std::string path = platform::ResolveAssetPath(name);
    std::ifstream file;
    if (!path.empty()) file.open(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "paths: cannot open %s (no such file)\n", name);
        return;
    }
    ReadPathPoints(file, scale, exchangeYZ, points);
}

int ReadPathPoints(std::istream& stream, float scale, bool exchangeYZ, std::vector<PathPoint>& points) {
    int count = 0;
    float record[3];
    // A read that delivers fewer than 12 bytes ends the loop, so a stream in error stops it too.
    while (stream.read(reinterpret_cast<char*>(record), sizeof record)) {
        const float x = record[0] * scale, y = record[1] * scale, z = record[2] * scale;
        points.push_back(exchangeYZ ? PathPoint{x, z, y} : PathPoint{x, y, z});
        ++count;
    }
    return count;
}
