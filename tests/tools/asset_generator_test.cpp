// The asset generator's output must be what the demo's own readers and scenes expect, and the
// same bytes on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "geometry/mesh.h"
#include "geometry/path_points.h"
#include "image/image_file.h"
#include "platform/asset_path.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"

namespace {

namespace fs = std::filesystem;

// Runs the generator into a fresh folder; empty when it fails.
std::string Generate(const char* tag) {
    const std::string folder = testing_support::MakeTempFolder(tag);
    std::string output;
    const int code = testing_support::RunCommand(std::string(UNDERTOW_BINARY_DIR) + "/undertow-assets " + folder, output);
    return code == 0 ? folder : std::string();
}

// Every file under `root`, by relative path, with its bytes.
std::map<std::string, std::vector<char>> ReadTree(const std::string& root) {
    std::map<std::string, std::vector<char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).generic_string()] =
            std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

class AssetGenerator : public testing::Test {
protected:
    // The build has already run the generator into the test asset folder.
    static void SetUpTestSuite() {
        previousRoot_ = platform::AssetRoot();
        root_ = testing_support::TestAssetRoot();
    }
    static void TearDownTestSuite() { platform::SetAssetRoot(previousRoot_); }
    void SetUp() override {
        ASSERT_FALSE(root_.empty()) << "the generator failed";
        platform::SetAssetRoot(root_);
    }

    // Loads a registered name the way the loading screen does: probe, then the matching reader.
    static Image Load(const char* name) {
        Image image;
        const int type = DetectImageType(name);
        if (type == 1) LoadBMP(name, image);
        if (type == 2) LoadTGA(name, image);
        return image;
    }

    static std::string root_;
    static std::string previousRoot_;
};
std::string AssetGenerator::root_;
std::string AssetGenerator::previousRoot_;

// Bytes of the pixel at (x, y), y counted from the bottom row.
const std::uint8_t* Pixel(const Image& image, int x, int y) {
    return &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * (image.bitsPerPixel / 8)];
}

// Mean absolute difference between two columns of an image, over all channels.
double ColumnDifference(const Image& image, int a, int b) {
    double sum = 0;
    for (int y = 0; y < image.height; ++y)
        for (int c = 0; c < 3; ++c) sum += std::abs(Pixel(image, a, y)[c] - Pixel(image, b, y)[c]);
    return sum / (image.height * 3);
}

double ImageDifference(const Image& a, const Image& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) sum += std::abs(a.pixels[i] - b.pixels[i]);
    return sum / a.pixels.size();
}

TEST_F(AssetGenerator, EveryRegisteredPictureLoadsAsTheDemoNeedsIt) {
    const char* const names[] = {
        "TEKSTURY\\env.bmp",      "TEKSTURY\\code.bmp",     "TEKSTURY\\music.bmp",    "TEKSTURY\\background.bmp",
        "TEKSTURY\\stars.bmp",    "TEKSTURY\\gray.bmp",     "TEKSTURY\\tekstura01.bmp", "TEKSTURY\\env2.bmp",
        "TEKSTURY\\stars2.bmp",   "TEKSTURY\\kora.BMP",     "TEKSTURY\\trawa.BMP",    "TEKSTURY\\sun.BMP",
        "TEKSTURY\\sky.BMP",      "TEKSTURY\\flare2.BMP",   "TEKSTURY\\flare3.BMP",   "TEKSTURY\\water2.BMP",
        "TEKSTURY\\waterenv.BMP", "TEKSTURY\\credits.BMP",  "TEKSTURY\\jaskinia.bmp", "TEKSTURY\\ziemia.bmp",
        "TEKSTURY\\water3.bmp",   "TEKSTURY\\particle.bmp", "TEKSTURY\\WODA\\caust0.bmp", "TEKSTURY\\teren.BMP",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        ASSERT_EQ(DetectImageType(name), 1);
        const Image image = Load(name);
        ASSERT_FALSE(image.IsEmpty());
        EXPECT_EQ(image.bitsPerPixel, 24);
        // The readers (and the height-map loader) take rows as unpadded.
        EXPECT_EQ(image.width * 3 % 4, 0);
        EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height * 3);
        const auto range = std::minmax_element(image.pixels.begin(), image.pixels.end());
        EXPECT_GT(*range.second - *range.first, 40) << "a flat picture";
    }

    ASSERT_EQ(DetectImageType("TEKSTURY\\liscie.TGA"), 2);
    const Image leaves = Load("TEKSTURY\\liscie.TGA");
    ASSERT_EQ(leaves.bitsPerPixel, 32);
    int cut = 0, solid = 0;
    for (std::size_t i = 3; i < leaves.pixels.size(); i += 4) {
        cut += leaves.pixels[i] == 0;
        solid += leaves.pixels[i] == 255;
    }
    EXPECT_GT(cut, static_cast<int>(leaves.pixels.size() / 4 / 5)) << "the alpha test must cut leaf shapes out";
    EXPECT_GT(solid, static_cast<int>(leaves.pixels.size() / 4 / 5));
}

TEST_F(AssetGenerator, LoadingBarFillingMatchesTheFrameAndReachesFullWidth) {
    Image frame, filling;
    ASSERT_TRUE(LoadBMP("TEKSTURY\\pasek1.BMP", frame));
    ASSERT_TRUE(LoadBMP("TEKSTURY\\pasek2.BMP", filling));
    EXPECT_EQ(frame.bitsPerPixel, 24);
    EXPECT_EQ(filling.bitsPerPixel, 24);
    EXPECT_EQ(filling.width, frame.width) << "the filling is read with the frame's row length";
    EXPECT_EQ(filling.height, frame.height);
    EXPECT_GE(filling.width, 601);
    EXPECT_EQ(frame.width * 3 % 4, 0);
    // The filling glows where the frame is dark, all the way to its 601st column.
    const int middle = frame.height / 2;
    for (int x : {10, 300, 598}) {
        const std::uint8_t* lit = Pixel(filling, x, middle);
        const std::uint8_t* dark = Pixel(frame, x, middle);
        EXPECT_GT(lit[0] + lit[1] + lit[2], dark[0] + dark[1] + dark[2] + 300) << "column " << x;
    }
}

TEST_F(AssetGenerator, AddedPicturesFadeToBlackAtTheirEdges) {
    // Drawn with additive blending on quads: any light at the border would show the quad's edge.
    for (const char* name : {"TEKSTURY\\tekstura01.bmp", "TEKSTURY\\sun.BMP", "TEKSTURY\\flare2.BMP",
                             "TEKSTURY\\flare3.BMP", "TEKSTURY\\particle.bmp"}) {
        SCOPED_TRACE(name);
        const Image image = Load(name);
        ASSERT_FALSE(image.IsEmpty());
        int brightest = 0;
        for (int i = 0; i < image.width; ++i)
            for (int edge : {0, image.height - 1}) {
                for (int c = 0; c < 3; ++c) {
                    brightest = std::max<int>(brightest, Pixel(image, i, edge)[c]);
                    brightest = std::max<int>(brightest, Pixel(image, edge * image.width / image.height, i * image.height / image.width)[c]);
                }
            }
        EXPECT_LE(brightest, 3);
        EXPECT_GT(*std::max_element(image.pixels.begin(), image.pixels.end()), 200) << "nothing glows";
    }
}

TEST_F(AssetGenerator, PicturesBlendedByTheirOwnColourKeepBlackWhereTheyAreClear) {
    // Captions, sprites, clouds, stars and caustics are blended with their own colour as the
    // factor: black shows what lies behind, so most of each must be black and some of it bright.
    for (const char* name : {"TEKSTURY\\code.bmp", "TEKSTURY\\music.bmp", "TEKSTURY\\tekstura01.bmp", "TEKSTURY\\sky.BMP",
                             "TEKSTURY\\stars.bmp", "TEKSTURY\\credits.BMP", "TEKSTURY\\WODA\\caust0.bmp"}) {
        SCOPED_TRACE(name);
        const Image image = Load(name);
        ASSERT_FALSE(image.IsEmpty());
        int black = 0, bright = 0;
        const int count = image.width * image.height;
        for (int i = 0; i < count; ++i) {
            const std::uint8_t* p = &image.pixels[static_cast<std::size_t>(i) * 3];
            const int level = std::max({p[0], p[1], p[2]});
            black += level < 16;
            bright += level > 180;
        }
        EXPECT_GT(black, count * 3 / 10);
        EXPECT_GT(bright, count / 1000);
    }
}

TEST_F(AssetGenerator, HeightMapIsAGentleSwellAroundSeaLevel) {
    // The sea turns grey g into height g × 0.05 − 6.375 and hangs 3.5 units below the camera.
    const Image image = Load("TEKSTURY\\teren.BMP");
    ASSERT_FALSE(image.IsEmpty());
    double lowest = 1e9, highest = -1e9, sum = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = Pixel(image, x, y);
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
            const double height = (p[0] + p[1] + p[2]) / 3.0 * 0.05 - 0.05 * 255 * 0.5;
            lowest = std::min(lowest, height);
            highest = std::max(highest, height);
            sum += height;
        }
    EXPECT_GT(lowest, -2.0);
    EXPECT_LT(highest, 2.0);
    EXPECT_NEAR(sum / (image.width * image.height), 0.0, 0.5);
    EXPECT_GT(highest - lowest, 1.0) << "no swell";
}

TEST_F(AssetGenerator, RepeatedTexturesTileAndCausticsLoop) {
    // Across the wrap the step should be no larger than steps between neighbouring columns.
    for (const char* name : {"TEKSTURY\\stars2.bmp", "TEKSTURY\\kora.BMP", "TEKSTURY\\trawa.BMP", "TEKSTURY\\sky.BMP",
                             "TEKSTURY\\water2.BMP", "TEKSTURY\\gray.bmp", "TEKSTURY\\jaskinia.bmp",
                             "TEKSTURY\\ziemia.bmp", "TEKSTURY\\WODA\\caust0.bmp"}) {
        SCOPED_TRACE(name);
        const Image image = Load(name);
        ASSERT_FALSE(image.IsEmpty());
        double inside = 0;
        for (int x = 0; x + 1 < image.width; ++x) inside = std::max(inside, ColumnDifference(image, x, x + 1));
        EXPECT_LE(ColumnDifference(image, image.width - 1, 0), 1.25 * inside + 1.0);
    }

    std::vector<Image> frames(32);
    for (int k = 0; k < 32; ++k) {
        const std::string name = "TEKSTURY\\WODA\\Caust" + std::to_string(k) + ".BMP";
        ASSERT_TRUE(LoadBMP(name.c_str(), frames[k])) << name;
        ASSERT_EQ(frames[k].width, frames[0].width);
        ASSERT_EQ(frames[k].height, frames[0].height);
        ASSERT_EQ(frames[k].bitsPerPixel, 24);
    }
    double step = 0, largest = 0;
    for (int k = 0; k + 1 < 32; ++k) {
        const double d = ImageDifference(frames[k], frames[k + 1]);
        EXPECT_GT(d, 0.5) << "frame " << k << " does not move";
        step += d;
        largest = std::max(largest, d);
    }
    EXPECT_LE(ImageDifference(frames[31], frames[0]), 1.5 * largest) << "the loop jumps from the last frame to the first";
    EXPECT_LT(step / 31, ImageDifference(frames[0], frames[16])) << "frames half a loop apart should differ most";
}

TEST_F(AssetGenerator, SceneOneMeshesAreWhatTheSceneTransformsExpect) {
    Mesh knot, frame;
    {
        std::ifstream in(root_ + "/DANE/data.dat", std::ios::binary);
        ASSERT_TRUE(ReadMesh(in, knot, "data.dat"));
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof()) << "bytes after the mesh";
    }
    {
        std::ifstream in(root_ + "/DANE/ramka.dat", std::ios::binary);
        ASSERT_TRUE(ReadMesh(in, frame, "ramka.dat"));
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    }
    for (const Mesh* mesh : {&knot, &frame}) {
        ASSERT_GT(mesh->triangleCount, 0);
        ASSERT_LE(mesh->vertexCount, 65536);
        for (int i = 0; i < 3 * mesh->triangleCount; ++i) ASSERT_LT(mesh->indices[i], mesh->vertexCount);
    }

    // The chrome knot, after the scene's 0.1 scale: mostly within 10 units, partly beyond, where
    // the vertex weights make it lag; unit normals; closed and wound outwards (positive volume)
    // with every face counter-clockwise as its normals see it.
    double farthest = 0, volume = 0;
    int beyond = 0, backwards = 0;
    for (int v = 0; v < knot.vertexCount; ++v) {
        const MeshVertex& p = knot.vertices[v];
        const double r = 0.1 * std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        farthest = std::max(farthest, r);
        beyond += r > 10;
        EXPECT_NEAR(std::sqrt(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz), 1.0, 1e-3);
        EXPECT_GT(0.1 * p.z, -7.5) << "below the mirror floor";
    }
    for (int t = 0; t < knot.triangleCount; ++t) {
        const MeshVertex& a = knot.vertices[knot.indices[3 * t]];
        const MeshVertex& b = knot.vertices[knot.indices[3 * t + 1]];
        const MeshVertex& c = knot.vertices[knot.indices[3 * t + 2]];
        const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        volume += (a.x * nx + a.y * ny + a.z * nz) / 6;
        backwards += nx * (a.nx + b.nx + c.nx) + ny * (a.ny + b.ny + c.ny) + nz * (a.nz + b.nz + c.nz) < 0;
    }
    EXPECT_GT(farthest, 10.5);
    EXPECT_LT(farthest, 14.5);
    EXPECT_GT(beyond, knot.vertexCount / 20);
    EXPECT_LT(beyond, knot.vertexCount * 3 / 4);
    EXPECT_GT(volume, 0);
    EXPECT_EQ(backwards, 0);

    // The frame: on the floor plane once scaled and lowered by 7.5, a square ring around the
    // knot, facing up with counter-clockwise faces.
    double innermost = 1e9, outermost = 0;
    for (int v = 0; v < frame.vertexCount; ++v) {
        const MeshVertex& p = frame.vertices[v];
        EXPECT_NEAR(0.1 * p.z - 7.5, -7.5, 0.05);
        const double r = 0.1 * std::max(std::fabs(p.x), std::fabs(p.y));
        innermost = std::min(innermost, r);
        outermost = std::max(outermost, r);
    }
    EXPECT_GT(innermost, farthest) << "the frame should lie around the knot";
    EXPECT_GT(outermost, innermost + 1);
    for (int t = 0; t < frame.triangleCount; ++t) {
        const MeshVertex& a = frame.vertices[frame.indices[3 * t]];
        const MeshVertex& b = frame.vertices[frame.indices[3 * t + 1]];
        const MeshVertex& c = frame.vertices[frame.indices[3 * t + 2]];
        EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0) << "triangle " << t;
    }
}

TEST_F(AssetGenerator, CameraTrackIsASmoothLoopAroundTheObject) {
    const std::uintmax_t bytes = fs::file_size(root_ + "/DANE/track.dat");
    EXPECT_EQ(bytes % 12, 0u);
    PathPoints track;
    track.LoadPath("DANE\\track.dat", 0.075f, false);
    ASSERT_GE(track.points.size(), 30u * 50u) << "fewer points than 50 s at 30 per second";
    const std::size_t n = track.points.size();
    double longest = 0, total = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const PathPoint& p = track.points[i];
        const double axis = std::hypot(p.x, p.y);
        EXPECT_GT(axis, 15.0) << "point " << i << " too near the z axis the camera looks along";
        EXPECT_LT(axis, 45.0) << "point " << i;
        EXPECT_GT(p.z, -7.5) << "point " << i << " under the floor";
        const PathPoint& q = track.points[(i + 1) % n];
        const double step = std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) + (q.z - p.z) * (q.z - p.z));
        longest = std::max(longest, step);
        total += step;
    }
    // Even spacing, including from the last point back to the first.
    EXPECT_LT(longest, 2.0 * total / n);
}

TEST_F(AssetGenerator, MusicIsAnMp3OfTheWholeTimeline) {
    std::ifstream in(root_ + "/DANE/Oblomar.mp3", std::ios::binary);
    ASSERT_TRUE(in.good());
    const std::vector<unsigned char> mp3((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // 206 s at 192 kbit/s is 4.9 MB.
    EXPECT_GT(mp3.size(), 4800000u);
    EXPECT_LT(mp3.size(), 5100000u);
    ASSERT_GE(mp3.size(), 4u);
    EXPECT_EQ(mp3[0], 0xFF) << "no MPEG frame sync at the start";
    EXPECT_EQ(mp3[1] & 0xE0, 0xE0);
}

TEST_F(AssetGenerator, TwoRunsWriteTheSameBytes) {
    const std::string one = Generate("assets-a");
    const std::string second = Generate("assets-b");
    ASSERT_FALSE(one.empty());
    ASSERT_FALSE(second.empty());
    const auto first = ReadTree(one), again = ReadTree(second);
    ASSERT_EQ(first.size(), again.size());
    for (const auto& [name, bytes] : first) {
        const auto match = again.find(name);
        ASSERT_NE(match, again.end()) << name;
        EXPECT_TRUE(bytes == match->second) << name << " differs between runs";
    }
    std::uintmax_t total = 0;
    for (const auto& entry : first) total += entry.second.size();
    EXPECT_LT(total, 25u * 1024 * 1024);
    fs::remove_all(one);
    fs::remove_all(second);
}

}  // namespace
