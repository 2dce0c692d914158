// `cmake --install` into a temporary prefix: the files a packager expects, validated desktop
// files, and the installed program finding its assets with no --data.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/bmp_files.h"
#include "support/run_command.h"

namespace {

struct CommandRun {
    int exitCode = -1;
    std::string output;
};

CommandRun Shell(const std::string& command) {
    CommandRun run;
    run.exitCode = testing_support::RunCommand(command, run.output);
    return run;
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HasProgram(const char* name) { return Shell(std::string("command -v ") + name).exitCode == 0; }

// The installed program, headless, from `cwd`, with nothing in the environment pointing at assets.
CommandRun RunInstalled(const std::string& program, const std::string& cwd, const std::string& xdgDataDirs) {
    return Shell("cd '" + cwd + "' && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "
                 "XDG_DATA_DIRS='" + xdgDataDirs + "' '" + program + "' --benchmark --frames 3");
}

// One installation shared by the tests of this file (each test runs in a process of its own).
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = testing_support::MakeTempFolder("install");
        prefix = root + "/prefix";
        const CommandRun run = Shell(std::string("'") + UNDERTOW_CMAKE_COMMAND + "' --install '" + UNDERTOW_BINARY_DIR +
                              "' --prefix '" + prefix + "'");
        installOutput = run.output;
        installed = run.exitCode == 0;
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    void SetUp() override { ASSERT_TRUE(installed) << installOutput; }

    static std::string root;   // the temporary folder holding the prefix, removed at the end
    static std::string prefix;
    static std::string installOutput;
    static bool installed;
};

std::string Installed::root;
std::string Installed::prefix;
std::string Installed::installOutput;
bool Installed::installed = false;

}  // namespace

TEST_F(Installed, PutsEveryFileWhereThePackagerExpectsIt) {
    for (const char* file : {"/bin/undertow", "/bin/undertow-assets", "/share/undertow/DANE/Oblomar.mp3",
                             "/share/applications/org.example.undertow.desktop",
                             "/share/metainfo/org.example.undertow.metainfo.xml",
                             "/share/icons/hicolor/256x256/apps/undertow.png", "/share/man/man6/undertow.6.gz",
                             "/share/doc/undertow/copyright"}) {
        EXPECT_TRUE(IsFile(prefix + file)) << file;
    }
    EXPECT_TRUE(IsFolder(prefix + "/share/undertow/TEKSTURY/WODA"));
    // The same folders the build generates, nothing else of the build's.
    EXPECT_FALSE(IsFile(prefix + "/share/undertow/.generated"));
    const CommandRun man = Shell("gzip -dc '" + prefix + "/share/man/man6/undertow.6.gz' | head -1");
    EXPECT_EQ(man.output.rfind(".TH UNDERTOW 6", 0), 0u) << man.output;
}

TEST_F(Installed, RunsHeadlessWithNoDataOption) {
    // Neither the current folder nor XDG_DATA_DIRS holds assets: only ../share/undertow does.
    const std::string neutral = root + "/neutral";
    ASSERT_EQ(::mkdir(neutral.c_str(), 0755), 0);
    const CommandRun run = RunInstalled(prefix + "/bin/undertow", neutral, neutral);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("load time"), std::string::npos) << run.output;

    // A copy of the program away from its share folder finds nothing and says where it looked.
    const std::string lonely = root + "/lonely";
    ASSERT_EQ(Shell("mkdir -p '" + lonely + "/bin' && cp '" + prefix + "/bin/undertow' '" + lonely + "/bin/'").exitCode, 0);
    const CommandRun lost = RunInstalled(lonely + "/bin/undertow", neutral, neutral);
    EXPECT_EQ(lost.exitCode, 1) << lost.output;
    for (const std::string& folder : {lonely + "/bin", lonely + "/share/undertow", neutral + "/undertow"}) {
        EXPECT_NE(lost.output.find(folder), std::string::npos) << folder << " not named in: " << lost.output;
    }
}

TEST_F(Installed, DesktopEntryAndMetainfoValidate) {
    if (!HasProgram("desktop-file-validate") || !HasProgram("appstreamcli")) {
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed";
    }
    const std::string desktop = prefix + "/share/applications/org.example.undertow.desktop";
    CommandRun run = Shell("desktop-file-validate '" + desktop + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(run.output.empty()) << run.output;   // no warnings either
    run = Shell("appstreamcli validate --no-net '" + prefix + "/share/metainfo/org.example.undertow.metainfo.xml'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const CommandRun entry = Shell("cat '" + desktop + "'");
    for (const char* line : {"Name=Undertow\n", "Exec=undertow\n", "Icon=undertow\n", "Categories=AudioVideo;Video;\n"}) {
        EXPECT_NE(entry.output.find(line), std::string::npos) << line;
    }
}
