// platform/asset_path.cpp — backslashes to slashes, then a case-free walk down the tree.
#include "platform/asset_path.h"

#include <dirent.h>
#include <unistd.h>
#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

std::string assetRoot = ".";

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> SplitComponents(const char* name) {
    std::vector<std::string> parts;
    std::string current;
    for (const char* c = name; *c; ++c) {
        if (*c == '\\' || *c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += *c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

// The entry of `dir` that equals `component` ignoring case, preferring an exact match.
std::string FindEntry(const std::string& dir, const std::string& component) {
    if (component == "." || component == "..") return component;
    if (Exists(dir + "/" + component)) return component;
    DIR* handle = ::opendir(dir.c_str());
    if (!handle) return {};
    std::string found;
    while (const dirent* entry = ::readdir(handle)) {
        if (::strcasecmp(entry->d_name, component.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(handle);
    return found;
}

}  // namespace

void SetAssetRoot(const std::string& root) { assetRoot = root.empty() ? "." : root; }

const std::string& AssetRoot() { return assetRoot; }

bool IsAssetRoot(const std::string& dir) {
    return !FindEntry(dir, "TEKSTURY").empty() && !FindEntry(dir, "DANE").empty();
}

std::string ResolveAssetPath(const char* name) {
    if (!name || !*name) return {};
    std::string path = (name[0] == '/' || name[0] == '\\') ? std::string() : assetRoot;
    for (const std::string& component : SplitComponents(name)) {
        const std::string entry = FindEntry(path.empty() ? "/" : path, component);
        if (entry.empty()) return {};
        path += "/" + entry;
    }
    return path;
}

std::FILE* OpenAsset(const char* name, const char* mode) {
    const std::string path = ResolveAssetPath(name);
    if (path.empty()) return nullptr;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    return std::fopen(path.c_str(), mode);
}

std::string AssetFileProblem(const char* name) {
    const std::string path = ResolveAssetPath(name);
    if (path.empty()) return "no such file";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::string("cannot be examined: ") + std::strerror(errno);
    if (S_ISDIR(info.st_mode)) return "a folder, not a file";
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    if (::access(path.c_str(), R_OK) != 0) return std::string("not readable: ") + std::strerror(errno);
    return {};
}

bool OpenAssetStream(const char* name, std::ifstream& file, std::string& why) {
    why = AssetFileProblem(name);
    if (!why.empty()) return false;
    file.open(ResolveAssetPath(name), std::ios::binary);
    if (!file) {
        why = std::string("cannot be opened: ") + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace platform
