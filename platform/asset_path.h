// platform/asset_path.h — finds the demo's asset files on a case-sensitive file system.
//
// Asset names are written the Windows way ("TEKSTURY\WODA\caust0.bmp"): backslash
// separators, any letter case. They resolve against one asset root, the folder that
// holds TEKSTURY and DANE.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>

namespace platform {

// Sets the folder asset names are resolved against.
void SetAssetRoot(const std::string& root);
const std::string& AssetRoot();

// True when `dir` holds both TEKSTURY and DANE (letter case free).
bool IsAssetRoot(const std::string& dir);

// The path of an existing file or folder for `name`, matching every component without
// regard to letter case; empty when nothing matches.
std::string ResolveAssetPath(const char* name);

// fopen on the resolved path; null when the name resolves to nothing or not to a file.
std::FILE* OpenAsset(const char* name, const char* mode);

// Why `name` cannot be opened as a file for reading, in words for a message ("no such file",
// "a folder, not a file", "not readable: Permission denied"); empty when it can be.
std::string AssetFileProblem(const char* name);

// Opens `name` for binary reading into `file`. False, with the reason in `why`, when it is
// missing, a folder or unreadable.
bool OpenAssetStream(const char* name, std::ifstream& file, std::string& why);

}  // namespace platform
