// The demo's frames through our OpenGL ES layer against the desktop path on llvmpipe, scene by
// scene: each moment is recorded by both paths and the two pictures compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/bmp_files.h"
#include "support/png_read.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"

namespace {

struct Moment {
    double seconds;
    const char* extra;   // options both paths run with
};

// The moments the layer is held to: every scene and its fades, the lens flare over the island
// and the sea, the credits; some also without the extension groups, or with our range layer.
const Moment kMoments[] = {
    {9.0, ""},    {33.0, ""},   {47.0, ""},    {61.0, ""},   {86.5, ""},  {95.0, ""},
    {112.9, ""},  {121.0, ""},  {150.3, ""},   {185.0, ""},  {199.0, ""},
    {9.0, "--no-ext all"},      {61.0, "--no-ext all"},     {121.0, "--no-ext all"},
    {61.0, "--emulate-ext vertex-array-range"},
};

std::string Record(const Moment& moment, bool gles, const std::string& folder) {
    char start[32];
    std::snprintf(start, sizeof start, "%.2f", moment.seconds);
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen "
                                            "SDL_AUDIODRIVER=dummy " UNDERTOW_BINARY_DIR "/undertow --data ") +
                                testing_support::TestAssetRoot() + " --check-gl --capture " + folder + " --start " +
                                start + " --frames 1 " + moment.extra + (gles ? " --gles" : "");
    std::string output;
    EXPECT_EQ(testing_support::RunCommand(command, output), 0) << command << "\n" << output;
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", static_cast<int>(moment.seconds * 60.0 + 0.5));
    return folder + name;
}

}  // namespace

TEST(GlesFrames, EachSceneMatchesTheDesktopPath) {
    const std::string root = testing_support::MakeTempFolder("gles-frames");
    int index = 0;
    for (const Moment& moment : kMoments) {
        const std::string base = root + "/" + std::to_string(index++);
        int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
        const std::vector<std::uint8_t> desktop = testing_support::ReadPngRgb(Record(moment, false, base + "d"), w1, h1);
        const std::vector<std::uint8_t> layer = testing_support::ReadPngRgb(Record(moment, true, base + "g"), w2, h2);
        ASSERT_EQ(desktop.size(), 640u * 480u * 3u) << moment.seconds;
        ASSERT_EQ(layer.size(), desktop.size()) << moment.seconds;
        long long sum = 0, far = 0;
        for (std::size_t i = 0; i < desktop.size(); i += 3) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(desktop[i + c] - layer[i + c]);
                sum += d;
                worst = std::max(worst, d);
            }
            far += worst > 16;
        }
        const double mean = static_cast<double>(sum) / static_cast<double>(desktop.size());
        const double farShare = 100.0 * static_cast<double>(far) / static_cast<double>(desktop.size() / 3);
        std::printf("%7.2f s %-34s mean %.3f levels, %.3f %% of pixels over 16\n", moment.seconds, moment.extra, mean,
                    farShare);
        EXPECT_LE(mean, 1.0) << moment.seconds << " s " << moment.extra;
        EXPECT_LE(farShare, 0.5) << moment.seconds << " s " << moment.extra;
    }
}
