// tools/camera_track.cpp — track.dat, the closed camera loop of the first scene.
//
// The scene reads 30 points a second for 50 seconds and scales them by 0.075; the camera always
// looks at the origin, so the loop circles the object once, swinging nearer and farther and
// rising and sinking above the floor at z = -7.5.
#include <cmath>

#include "tools/mesh_sets.h"
#include "tools/output_file.h"

namespace assets {

std::vector<Vec3> CameraTrack() {
    constexpr int kPoints = 1500;
    constexpr float kFileUnits = 1.0f / 0.075f;
    std::vector<Vec3> points;
    for (int i = 0; i < kPoints; ++i) {
        const float a = kTwoPi * i / kPoints;
        const float radius = 31.0f + 3.0f * std::sin(2 * a + 0.7f);
        const float height = 6.0f + 3.0f * std::sin(3 * a) + 1.0f * std::sin(5 * a + 1.0f);
        points.push_back(Vec3{radius * std::cos(a), radius * std::sin(a), height} * kFileUnits);
    }
    return points;
}

bool WriteCameraTrack(const std::string& root) {
    std::vector<std::uint8_t> bytes;
    for (const Vec3& p : CameraTrack()) {
        PutFloat(bytes, p.x);
        PutFloat(bytes, p.y);
        PutFloat(bytes, p.z);
    }
    return WriteAssetFile(root, "DANE/track.dat", bytes);
}

}  // namespace assets
