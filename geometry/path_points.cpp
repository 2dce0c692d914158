// geometry/path_points.cpp — reading path files record by record.
#include "geometry/path_points.h"

#include <cstdio>
#include <fstream>
#include <ios>
#include <string>

#include "platform/asset_path.h"

void PathPoints::LoadPath(const char* name, float scale, bool exchangeYZ) {
    std::ifstream file;
    std::string why;
    if (!platform::OpenAssetStream(name, file, why)) {
        std::fprintf(stderr, "paths: cannot open %s (%s)\n", name, why.c_str());
        return;
    }
    const int count = ReadPathPoints(file, scale, exchangeYZ, points);
    const std::streamsize tail = file.gcount();   // bytes of the partial record that ended the loop
    if (file.bad()) {
        std::fprintf(stderr, "paths: cannot read %s (a read failed after %d points)\n", name, count);
    } else if (count == 0) {
        std::fprintf(stderr, "paths: cannot read %s (no whole point: %lld bytes, a point takes 12)\n", name,
                     static_cast<long long>(tail));
    } else if (tail > 0) {
        std::fprintf(stderr, "paths: %s ends in a partial point; its %lld bytes are ignored\n", name,
                     static_cast<long long>(tail));
    }
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
