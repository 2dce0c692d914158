// Only the platform layer may include SDL.
#include <gtest/gtest.h>

#include <dirent.h>

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
