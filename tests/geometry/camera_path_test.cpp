// Path files, the spline and the camera that follows a closed path.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "geometry/camera_path.h"
#include "geometry/catmull_rom.h"
#include "geometry/path_points.h"
#include "platform/asset_path.h"
#include "platform/gl.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

namespace {

PathPoints Square() {
    PathPoints path;
    path.points = {{10, 0, 2}, {0, 10, 4}, {-10, 0, 6}, {0, -10, 8}, {10, 10, 1}, {-5, 5, 3}, {3, -7, 5}, {6, 6, 6}};
    return path;
}

std::string Floats(std::initializer_list<float> values) {
    std::string bytes;
    for (float v : values) bytes.append(reinterpret_cast<const char*>(&v), 4);
    return bytes;
}

}  // namespace

TEST(CatmullRom, PassesThroughTheInnerPointsAndMatchesTheCubic) {
    EXPECT_FLOAT_EQ(CatmullRom(0.0f, 3, 5, 11, 2), 5.0f);
    EXPECT_FLOAT_EQ(CatmullRom(1.0f, 3, 5, 11, 2), 11.0f);
    // Halfway the uniform curve is (-p0 + 9 p1 + 9 p2 - p3) / 16.
    EXPECT_FLOAT_EQ(CatmullRom(0.5f, 3, 5, 11, 2), (-3.0f + 45.0f + 99.0f - 2.0f) / 16.0f);
    // Equally spaced points give a straight, evenly paced line.
    EXPECT_FLOAT_EQ(CatmullRom(0.25f, 0, 1, 2, 3), 1.25f);
}

TEST(PathPoints, ReadsWholeRecordsScaledWithTheChosenAxisOrder) {
    // 25 bytes: two records and one stray byte.
    const std::string bytes = Floats({1, 2, 3, 4, 5, 6}) + std::string(1, '\x7f');
    ASSERT_EQ(bytes.size(), 25u);
    std::istringstream stream(bytes);
    std::vector<PathPoint> points;
    EXPECT_EQ(ReadPathPoints(stream, 2.0f, true, points), 2);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_FLOAT_EQ(points[0].x, 2.0f);
    EXPECT_FLOAT_EQ(points[0].y, 6.0f);   // y and z exchanged
    EXPECT_FLOAT_EQ(points[0].z, 4.0f);
    EXPECT_FLOAT_EQ(points[1].y, 12.0f);

    // Through an asset file, keeping the stored order; a missing file adds nothing.
    const std::string folder = testing_support::MakeTempFolder("path");
    const std::string oldRoot = platform::AssetRoot();
    platform::SetAssetRoot(folder);
    {
        std::ofstream out(folder + "/track.dat", std::ios::binary);
        out << bytes;
    }
    PathPoints path;
    path.LoadPath("TRACK.DAT", 0.075f, false);
    ASSERT_EQ(path.points.size(), 2u);
    EXPECT_FLOAT_EQ(path.points[1].x, 4.0f * 0.075f);
    EXPECT_FLOAT_EQ(path.points[1].y, 5.0f * 0.075f);
    EXPECT_FLOAT_EQ(path.points[1].z, 6.0f * 0.075f);

    PathPoints missing;
    missing.LoadPath("DANE\\nothing.dat", 1.0f);
    EXPECT_TRUE(missing.points.empty());
    platform::SetAssetRoot(oldRoot);
    std::remove((folder + "/track.dat").c_str());
    std::remove(folder.c_str());
}

TEST(CameraPath, FollowsTheSplineAroundTheLoop) {
    PathPoints path = Square();
    const int n = static_cast<int>(path.points.size());
    CameraPath camera;
    camera.SetPoints(&path);
    float eye[3], up[3];

    // At a whole position the eye sits on the second control point.
    camera.pathPosition = 5.0f;
    camera.GetView(eye, up);
    EXPECT_FLOAT_EQ(eye[0], path.points[6].x);
    EXPECT_FLOAT_EQ(eye[1], path.points[6].y);
    EXPECT_FLOAT_EQ(eye[2], path.points[6].z);

    camera.pathPosition = 5.5f;
    camera.GetView(eye, up);
    const PathPoint& a = path.points[5];
    const PathPoint& b = path.points[6];
    const PathPoint& c = path.points[7];
    const PathPoint& d = path.points[0];   // the loop wraps
    EXPECT_FLOAT_EQ(eye[0], CatmullRom(0.5f, a.x, b.x, c.x, d.x));
    EXPECT_FLOAT_EQ(eye[2], CatmullRom(0.5f, a.z, b.z, c.z, d.z));

    // The up vector is perpendicular to the line of sight and points towards +z.
    EXPECT_NEAR(eye[0] * up[0] + eye[1] * up[1] + eye[2] * up[2], 0.0f, 1e-3f);
    EXPECT_GT(up[2], 0.0f);

    // Passing n lands back at the start of the loop, with no jump across the seam.
    camera.pathPosition = static_cast<float>(n) + 0.25f;
    float wrapped[3];
    camera.GetView(wrapped, up);
    camera.pathPosition = 0.25f;
    camera.GetView(eye, up);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(wrapped[k], eye[k], 1e-4f);
    float before[3], after[3];
    camera.pathPosition = static_cast<float>(n) - 0.001f;
    camera.GetView(before, up);
    camera.pathPosition = static_cast<float>(n) + 0.001f;
    camera.GetView(after, up);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(before[k], after[k], 0.05f);
}

TEST(CameraPath, EmptyPathsAndEyesOnTheAxisStillGiveAView) {
    CameraPath camera;
    float eye[3], up[3];
    camera.GetView(eye, up);   // no points set at all
    EXPECT_FLOAT_EQ(eye[2], 1.0f);
    EXPECT_FLOAT_EQ(up[1], 1.0f);

    PathPoints empty;
    camera.SetPoints(&empty);
    camera.pathPosition = 3.7f;
    camera.GetView(eye, up);
    EXPECT_FLOAT_EQ(eye[2], 1.0f);

    PathPoints overhead;
    overhead.points = {{0, 0, 5}, {0, 0, 6}, {0, 0, 7}, {0, 0, 8}};
    camera.SetPoints(&overhead);
    camera.pathPosition = 0.0f;
    camera.GetView(eye, up);
    EXPECT_FLOAT_EQ(eye[2], 6.0f);
    EXPECT_FLOAT_EQ(up[0], 0.0f);
    EXPECT_FLOAT_EQ(up[1], 1.0f);
    EXPECT_FLOAT_EQ(up[2], 0.0f);
}

TEST(CameraPath, UpdateOutsideTheWindowStillSetsTheCamera) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    PathPoints path = Square();
    CameraPath camera;
    camera.SetPoints(&path);
    camera.SetTiming(0.0f, 50.0f, 0.0f, 0.0f);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    EXPECT_TRUE(camera.Update(10.0f, 0.1f));
    EXPECT_FLOAT_EQ(camera.pathPosition, 3.0f);

    glLoadIdentity();
    EXPECT_TRUE(camera.Update(60.0f, 0.1f));
    EXPECT_FLOAT_EQ(camera.pathPosition, 3.0f);   // outside the window nothing moves...

    // ...but the view is set: the eye maps to the origin and the origin lies straight ahead.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    float eye[3], up[3];
    camera.GetView(eye, up);
    for (int row = 0; row < 3; ++row) {
        const float mapped = m[row] * eye[0] + m[4 + row] * eye[1] + m[8 + row] * eye[2] + m[12 + row];
        EXPECT_NEAR(mapped, 0.0f, 1e-3f) << row;
    }
    const float distance = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    EXPECT_NEAR(m[12], 0.0f, 1e-3f);
    EXPECT_NEAR(m[13], 0.0f, 1e-3f);
    EXPECT_NEAR(m[14], -distance, 1e-3f);
    glLoadIdentity();
}

// Files that give no point are named with the reason, instead of leaving a silently empty path.
TEST(PathPoints, EveryFileThatGivesNoPointIsNamedWithItsReason) {
    const std::string folder = testing_support::MakeTempFolder("paths");
    const std::string oldRoot = platform::AssetRoot();
    platform::SetAssetRoot(folder);
    auto put = [&](const char* name, const std::string& bytes) {
        std::ofstream out(folder + "/" + name, std::ios::binary);
        out << bytes;
    };
    put("empty.dat", "");
    put("eleven.dat", std::string(11, '\x01'));
    put("tail.dat", Floats({1, 2, 3}) + "abcde");
    ASSERT_EQ(::mkdir((folder + "/folder.dat").c_str(), 0755), 0);

    struct Case {
        const char* name;
        std::size_t points;
        const char* line;
    };
    const Case cases[] = {
        {"missing.dat", 0, "paths: cannot open missing.dat (no such file)\n"},
        {"folder.dat", 0, "paths: cannot open folder.dat (a folder, not a file)\n"},
        {"empty.dat", 0, "paths: cannot read empty.dat (no whole point: 0 bytes, a point takes 12)\n"},
        {"eleven.dat", 0, "paths: cannot read eleven.dat (no whole point: 11 bytes, a point takes 12)\n"},
        {"tail.dat", 1, "paths: tail.dat ends in a partial point; its 5 bytes are ignored\n"},
    };
    for (const Case& c : cases) {
        PathPoints path;
        testing::internal::CaptureStderr();
        path.LoadPath(c.name, 1.0f);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
        EXPECT_EQ(path.points.size(), c.points) << c.name;
    }
    platform::SetAssetRoot(oldRoot);
    for (const char* name : {"empty.dat", "eleven.dat", "tail.dat", "folder.dat"})
        std::remove((folder + "/" + name).c_str());
    std::remove(folder.c_str());
}
