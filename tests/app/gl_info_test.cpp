// --gl-info, --no-ext and --emulate-ext, run through the real program on the test machine's driver.
#include <gtest/gtest.h>

#include <string>

#include "support/run_command.h"

namespace {

// Runs the program headless with `arguments` from a folder without assets.
int RunProgram(const std::string& arguments, std::string& output) {
    return testing_support::RunCommand("cd /tmp && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen "
                                       "SDL_AUDIODRIVER=dummy " UNDERTOW_BINARY_DIR "/undertow " +
                                           arguments,
                                       output);
}

// The word after a group's name in the report, empty when the group has no line.
std::string SourceOf(const std::string& report, const std::string& group) {
    const std::size_t line = report.find("\n" + group + " ");
    if (line == std::string::npos) return {};
    const std::size_t start = report.find_first_not_of(' ', line + 1 + group.size());
    return report.substr(start, report.find('\n', start) - start);
}

}  // namespace

// The report needs no assets, names every group with its source, and the two switches change
// what it says exactly as asked; unknown group names are refused with exit code 2.
TEST(GlInfo, ReportsEachGroupAndFollowsTheSwitches) {
    std::string report;
    ASSERT_EQ(RunProgram("--gl-info --data /nonexistent", report), 0) << report;
    for (const char* line : {"renderer: ", "vendor: ", "version: ", "not found:"})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    const char* groups[] = {"multitexture",       "vertex-weighting", "compiled-arrays",
                            "anisotropic",        "vertex-array-range", "env-combine"};
    std::size_t previous = 0;
    for (const char* group : groups) {
        const std::string source = SourceOf(report, group);
        EXPECT_TRUE(source == "driver" || source == "ours" || source == "off") << group << "\n" << report;
        const std::size_t at = report.find(std::string("\n") + group + " ");
        EXPECT_GT(at, previous) << group << " out of order\n" << report;
        previous = at;
    }
    // Every Mesa driver has vertex programs and lacks the real group: ours stands in.
    if (report.find("Mesa") != std::string::npos) {
        EXPECT_EQ(SourceOf(report, "vertex-weighting"), "ours") << report;
        EXPECT_NE(report.find("GL_EXT_vertex_weighting"), std::string::npos) << report;
    }

    std::string off;
    ASSERT_EQ(RunProgram("--gl-info --no-ext vertex-weighting,multitexture", off), 0) << off;
    EXPECT_EQ(SourceOf(off, "vertex-weighting"), "off") << off;
    EXPECT_EQ(SourceOf(off, "multitexture"), "off") << off;
    EXPECT_EQ(off.find("GL_EXT_vertex_weighting"), std::string::npos) << "a group turned off is not looked for\n" << off;
    EXPECT_EQ(SourceOf(off, "env-combine"), SourceOf(report, "env-combine")) << off;

    std::string none;
    ASSERT_EQ(RunProgram("--gl-info --no-ext all", none), 0) << none;
    for (const char* group : groups) EXPECT_EQ(SourceOf(none, group), "off") << group << "\n" << none;

    std::string range;
    ASSERT_EQ(RunProgram("--gl-info --emulate-ext vertex-array-range", range), 0) << range;
    const std::string rangeSource = SourceOf(report, "vertex-array-range");
    EXPECT_EQ(SourceOf(range, "vertex-array-range"), rangeSource == "driver" ? "driver" : "ours") << range;

    std::string refused;
    EXPECT_EQ(RunProgram("--no-ext vertex-weighting,bogus", refused), 2) << refused;
    EXPECT_NE(refused.find("bogus"), std::string::npos) << refused;
    for (const char* group : groups) EXPECT_NE(refused.find(group), std::string::npos) << group << "\n" << refused;
    EXPECT_EQ(RunProgram("--emulate-ext multitexture", refused), 2) << refused;
    EXPECT_EQ(RunProgram("--no-ext", refused), 1) << refused;   // a missing value is an ordinary option error
}
