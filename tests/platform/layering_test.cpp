// Only the platform layer may include SDL.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <iterator>
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

const char* const kSystemFolders[] = {"posix", "windows", "web"};

// The system folder `file` lies in (platform/NAME/), or empty.
std::string SystemFolderOf(const std::string& file) {
    const std::string platform = std::string(UNDERTOW_SOURCE_DIR) + "/platform/";
    if (file.rfind(platform, 0) != 0) return {};
    const std::size_t slash = file.find('/', platform.size());
    return slash == std::string::npos ? std::string() : file.substr(platform.size(), slash - platform.size());
}

// Whether any file but one of a system's own includes `header`.
bool IncludedByShared(const std::vector<std::string>& files, const std::string& header) {
    for (const std::string& file : files) {
        if (!SystemFolderOf(file).empty()) continue;
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line))
            if (line.find("#include \"" + header + "\"") != std::string::npos) return true;
    }
    return false;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

// What differs between the systems lives in platform/posix/, platform/windows/ and platform/web/,
// each file named after the platform/ header it implements. Linux and Windows compile one folder
// each, so a file without its twin in the other leaves that system's program unlinked (unless
// only that system's own files use it); the browser takes posix/'s file wherever web/ has none.
// A system's headers or a test of the system outside its folder escapes the split.
TEST(Layering, SystemDifferencesLiveInSystemFolders) {
    std::vector<std::string> files;
    for (const char* dir : {"app", "capture", "measure", "gl_layers", "player", "demo", "image", "scene", "geometry",
                            "effects", "scenes", "platform"}) {
        CollectSources(std::string(UNDERTOW_SOURCE_DIR) + "/" + dir, files);
    }
    ASSERT_FALSE(files.empty());
    const std::string platform = std::string(UNDERTOW_SOURCE_DIR) + "/platform/";
    for (const std::string& file : files) {
        const std::string system = SystemFolderOf(file);
        if (!system.empty()) {
            EXPECT_TRUE(std::find(std::begin(kSystemFolders), std::end(kSystemFolders), system) !=
                        std::end(kSystemFolders))
                << file << " lies in a folder that no build takes";
        }
        EXPECT_FALSE(EndsWith(file, "_posix.cpp") || EndsWith(file, "_win32.cpp"))
            << file << " belongs in its system's folder under platform/";
        if ((system == "posix" || system == "windows") && EndsWith(file, ".cpp")) {
            const std::string name = file.substr(platform.size() + system.size() + 1);
            const std::string twin = platform + (system == "posix" ? "windows/" : "posix/") + name;
            const std::string header = "platform/" + name.substr(0, name.size() - 4) + ".h";
            EXPECT_TRUE(std::ifstream(twin).good() || !IncludedByShared(files, header))
                << file << " has no twin " << twin << ", and " << header << " is used by both systems";
        }
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            if (line.find("#if") != std::string::npos) {
                EXPECT_EQ(line.find("_WIN32"), std::string::npos) << file << ": " << line;
                if (file.rfind(platform, 0) != 0) {
                    EXPECT_EQ(line.find("__EMSCRIPTEN__"), std::string::npos) << file << ": " << line;
                }
            }
            if (line.find("#include <windows.h>") != std::string::npos || line.find("#include <shlobj.h>") != std::string::npos) {
                EXPECT_EQ(system, "windows") << file << ": " << line;
            }
            if (line.find("#include <emscripten") != std::string::npos) {
                EXPECT_EQ(system, "web") << file << ": " << line;
            }
        }
    }
}
