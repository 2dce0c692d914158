// fuzz/path_fuzzer.cpp — camera path files: one point per whole 12-byte record, scaled, in
// both axis orders, through the stream reader and through the asset loader, which names a file
// that gives no point or ends in a partial one.
#include <cstring>
#include <sstream>

#include "fuzz_support.h"
#include "geometry/path_points.h"

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool exchange = size % 2 == 1;
    const float scale = 0.075f;
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<PathPoint> points;
    const int count = ReadPathPoints(stream, scale, exchange, points);
    FUZZ_CHECK(static_cast<std::size_t>(count) == size / 12);
    FUZZ_CHECK(points.size() == size / 12);
    for (std::size_t i = 0; i < points.size(); ++i) {
        float stored[3];
        std::memcpy(stored, data + 12 * i, sizeof stored);
        const float x = stored[0] * scale, y = stored[1] * scale, z = stored[2] * scale;
        FUZZ_CHECK(SameBits(points[i].x, x));
        FUZZ_CHECK(SameBits(points[i].y, exchange ? z : y));
        FUZZ_CHECK(SameBits(points[i].z, exchange ? y : z));
    }

    fuzz::WriteAsset("DANE/track3.dat", data, size);
    PathPoints path;
    path.points.push_back({1, 2, 3});   // the loader appends
    std::string said;
    {
        fuzz::StderrCapture capture;
        path.LoadPath("DANE\\track3.dat", scale, exchange);
        said = capture.Text();
    }
    FUZZ_CHECK(path.points.size() == 1 + size / 12);
    for (std::size_t i = 0; i < points.size(); ++i) FUZZ_CHECK(std::memcmp(&path.points[i + 1], &points[i], 12) == 0);
    FUZZ_CHECK(fuzz::LineCount(said) == (size % 12 != 0 || size == 0 ? 1 : 0));
    if (!said.empty()) FUZZ_CHECK(said.find("DANE\\track3.dat") != std::string::npos);
    return 0;
}
