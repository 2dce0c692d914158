// Memory that stays flat: the resident size of the headless program after a short and a long
// stretch of each scene, and over ten passes of --loop. This measures memory, not time.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/gl_test_context.h"
#include "support/run_command.h"

namespace {

// AddressSanitizer holds freed memory back in a quarantine of up to 256 MB, which a resident size
// then counts as growth; the programs measured here reuse it at once instead.
#ifdef UNDERTOW_SANITIZED
const char* const kSanitizerOptions = "detect_leaks=0:quarantine_size_mb=0:thread_local_quarantine_size_kb=0";
#else
const char* const kSanitizerOptions = "detect_leaks=0";
#endif

// Peak resident size in kilobytes of one headless run with `arguments`; -1 when it failed.
long PeakKilobytes(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {std::string(UNDERTOW_BINARY_DIR) + "/undertow", "--data",
                                      testing_support::TestAssetRoot(), "--benchmark"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ::setenv("ASAN_OPTIONS", kSanitizerOptions, 1);
        if (!::freopen("/dev/null", "w", stdout) || !::freopen("/dev/null", "w", stderr)) ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return usage.ru_maxrss;
}

}  // namespace

// Growth per frame from frame 60 to frame 600 of each scene, at the demo's own 60 steps a
// second. Scene three's sea once kept about 160 KB of every frame inside the GL driver.
TEST(Memory, EachSceneStaysFlatFrameByFrame) {
    // Peaks of separate runs differ by up to 4 MB for reasons of their own; over 540 frames that
    // is under 8 KB a frame.
    for (const char* start : {"20", "60", "95", "135"}) {
        const long shortRun = PeakKilobytes({"--start", start, "--frames", "60"});
        const long longRun = PeakKilobytes({"--start", start, "--frames", "600"});
        ASSERT_GT(shortRun, 0) << start;
        ASSERT_GT(longRun, 0) << start;
        EXPECT_LT((longRun - shortRun) / 540.0, 20.0) << "KB a frame from " << start << " s";
    }
}

// What the run said at the start of pass `pass` of --loop: resident KB, textures, lists.
bool PassReport(const std::string& output, int pass, long& resident, int& textures, int& lists) {
    const std::string tag = "undertow: pass " + std::to_string(pass) + " begins; ";
    const std::size_t at = output.find(tag);
    if (at == std::string::npos) return false;
    return std::sscanf(output.c_str() + at + tag.size(), "resident %ld KB, %d textures, %d display lists", &resident,
                       &textures, &lists) == 3;
}

// Ten passes at one step a second with GL errors checked, on the desktop path and through our
// OpenGL ES layer: the resident size after the last passes is within 2 MB of what it was after
// the first ones, and the context holds as many textures and display lists as it did then. A
// buffer of several megabytes that lives only for a moment (under AddressSanitizer each one is
// mapped and unmapped on its own) is in some passes' figures and not in others, and now and then
// a pass begins a few megabytes lower, so each end takes the middle of five passes: what leaks
// raises them all.
TEST(Memory, TenLoopsKeepTheResidentSizeAndTheGLObjects) {
    for (const char* path : {"", "--gles "}) {
        std::string output;
        const int code = testing_support::RunCommand(
            "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen ASAN_OPTIONS=" +
                std::string(kSanitizerOptions) + " " + std::string(UNDERTOW_BINARY_DIR) + "/undertow " + path +
                "--data " + testing_support::TestAssetRoot() + " --benchmark --loop --fps 1 --check-gl --frames 2300",
            output);
        ASSERT_EQ(code, 0) << path << output;
        auto middleOf = [&output](int first, int last, int& textures, int& lists) {
            std::vector<long> residents;
            for (int p = first; p <= last; ++p) {
                long resident = 0;
                if (!PassReport(output, p, resident, textures, lists)) return -1.0;
                residents.push_back(resident);
            }
            std::nth_element(residents.begin(), residents.begin() + residents.size() / 2, residents.end());
            return static_cast<double>(residents[residents.size() / 2]);
        };
        int texturesTwo = 0, texturesTen = 0, listsTwo = 0, listsTen = 0;
        const double afterTwo = middleOf(3, 7, texturesTwo, listsTwo);   // pass 3 begins after pass 2
        const double afterTen = middleOf(8, 12, texturesTen, listsTen);  // pass 12 after pass 11
        ASSERT_GT(afterTwo, 0.0) << path << output;
        ASSERT_GT(afterTen, 0.0) << path << output;
        EXPECT_LT(std::abs(afterTen - afterTwo), 2048.0) << path << "KB between the passes after the second and the last";
        EXPECT_EQ(texturesTen, texturesTwo) << path;
        EXPECT_EQ(listsTen, listsTwo) << path;
        EXPECT_GT(texturesTwo, 20) << path;
    }
}
