// Only the platform layer may include SDL.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

void CollectSources(const std::string& dir, std::vector<std::string>& files) {
    DIR* handle = ::opendir(dir.c_str());
    if (!handle) return;
    while (const dirent* entry = ::readdir(handle)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = dir + "/" + name;
        if (entry->d_type == DT_DIR) {
            CollectSources(path, files);
        } else if (name.size() > 2 && (name.rfind(".h") == name.size() - 2 || name.rfind(".cpp") == name.size() - 4)) {
            files.push_back(path);
        }
    }
    ::closedir(handle);
}

}  // namespace

TEST(Layering, SdlIsIncludedOnlyByThePlatformLayer) {
    std::vector<std::string> files;
    for (const char* dir : {"app", "demo", "image", "scene", "geometry", "effects", "scenes", "tools"}) {
        CollectSources(std::string(UNDERTOW_SOURCE_DIR) + "/" + dir, files);
    }
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            if (line.find("#include") == std::string::npos) continue;
            EXPECT_EQ(line.find("SDL"), std::string::npos) << file << ": " << line;
        }
    }
}

// The driver layers sit below the shell: they reach only the platform layer and the standard
// library, never app/, scenes/ or anything above.
TEST(Layering, DriverLayersIncludeOnlyThePlatformLayer) {
    std::vector<std::string> files;
    CollectSources(std::string(UNDERTOW_SOURCE_DIR) + "/gl_layers", files);
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            const std::size_t quote = line.find("#include \"");
            if (quote == std::string::npos) continue;
            const std::string path = line.substr(quote + 10);
            EXPECT_TRUE(path.rfind("platform/", 0) == 0 || path.rfind("gl_layers/", 0) == 0) << file << ": " << line;
        }
    }
}

namespace {

// Whether any file but one of a system's own includes `header`.
bool IncludedByShared(const std::vector<std::string>& files, const std::string& header) {
    for (const std::string& file : files) {
        if (file.size() > 10 && (file.compare(file.size() - 10, 10, "_win32.cpp") == 0 ||
                                 file.compare(file.size() - 10, 10, "_posix.cpp") == 0))
            continue;
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line))
            if (line.find("#include \"" + header + "\"") != std::string::npos) return true;
    }
    return false;
}

}  // namespace

// What differs between the systems stays in platform/ as NAME_posix.cpp beside NAME_win32.cpp:
// each build compiles one of the two, so a file without its twin leaves the other system's
// program unlinked (unless only that system's own files use it), and a system's headers or a
// system test elsewhere escapes the split.
TEST(Layering, SystemDifferencesLiveInPlatformTwins) {
    std::vector<std::string> files;
    for (const char* dir : {"app", "capture", "measure", "gl_layers", "demo", "image", "scene", "geometry", "effects",
                            "scenes", "platform"}) {
        CollectSources(std::string(UNDERTOW_SOURCE_DIR) + "/" + dir, files);
    }
    ASSERT_FALSE(files.empty());
    const std::string platform = std::string(UNDERTOW_SOURCE_DIR) + "/platform/";
    for (const std::string& file : files) {
        const bool inPlatform = file.rfind(platform, 0) == 0;
        for (const char* suffix : {"_posix.cpp", "_win32.cpp"}) {
            const std::size_t at = file.rfind(suffix);
            if (at == std::string::npos || at + std::strlen(suffix) != file.size()) continue;
            EXPECT_TRUE(inPlatform) << file << " belongs in platform/";
            const std::string twin = file.substr(0, at) + (suffix[1] == 'p' ? "_win32.cpp" : "_posix.cpp");
            const std::string header = "platform/" + file.substr(platform.size(), at - platform.size()) + ".h";
            EXPECT_TRUE(std::ifstream(twin).good() || !IncludedByShared(files, header))
                << file << " has no twin " << twin << ", and " << header << " is used by both systems";
        }
        const bool win32File = file.size() > 10 && file.compare(file.size() - 10, 10, "_win32.cpp") == 0;
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            if (line.find("#if") != std::string::npos) {
                EXPECT_EQ(line.find("_WIN32"), std::string::npos) << file << ": " << line;
            }
            if (line.find("#include <windows.h>") != std::string::npos || line.find("#include <shlobj.h>") != std::string::npos) {
                EXPECT_TRUE(inPlatform && win32File) << file << ": " << line;
            }
        }
    }
}
