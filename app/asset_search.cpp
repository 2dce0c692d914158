// app/asset_search.cpp — the list of candidate asset folders and the first one that holds them.
#include "app/asset_search.h"

#include <algorithm>
#include <filesystem>

#include "platform/asset_path.h"
#include "platform/program_file.h"

namespace {

constexpr const char* kDefaultDataDirs = "/usr/local/share:/usr/share";

void AddFolder(std::vector<std::string>& folders, const std::filesystem::path& folder) {
    std::string text = folder.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    if (text.empty()) return;
    if (std::find(folders.begin(), folders.end(), text) == folders.end()) folders.push_back(text);
}

}  // namespace

std::vector<std::string> AssetSearchFolders(const std::string& executablePath, const char* xdgDataDirs) {
    std::vector<std::string> folders;
    AddFolder(folders, ".");
    if (!executablePath.empty()) {
        const std::filesystem::path programFolder = std::filesystem::path(executablePath).parent_path();
        const std::filesystem::path base = programFolder.empty() ? std::filesystem::path(".") : programFolder;
        AddFolder(folders, base);
        AddFolder(folders, base / ".." / "share" / "undertow");
    }
    const std::string dataDirs = xdgDataDirs && *xdgDataDirs ? xdgDataDirs : kDefaultDataDirs;
    std::size_t start = 0;
    while (start <= dataDirs.size()) {
        std::size_t end = dataDirs.find(':', start);
        if (end == std::string::npos) end = dataDirs.size();
        const std::string entry = dataDirs.substr(start, end - start);
        if (!entry.empty() && entry[0] == '/') AddFolder(folders, std::filesystem::path(entry) / "undertow");
        start = end + 1;
    }
    return folders;
}

std::string FirstAssetRoot(const std::vector<std::string>& folders, std::string& error) {
    for (const std::string& folder : folders) {
        if (platform::IsAssetRoot(folder)) return folder;
    }
    std::string tried;
    for (const std::string& folder : folders) {
        if (!tried.empty()) tried += ", ";
        tried += folder == "." ? std::string(". (the current folder)") : folder;
    }
    error = "no TEKSTURY and DANE folders in " + tried + "; name them with --data DIR";
    return {};
}

std::string ExecutablePath(const char* argv0) {
    std::string file = platform::ProgramFile();
    if (!file.empty()) return file;
    return argv0 ? std::string(argv0) : std::string();
}
