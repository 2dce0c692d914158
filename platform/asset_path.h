// platform/asset_path.h — finds the demo's asset files on a case-sensitive file system.
//
// Asset names are written the Windows way ("TEKSTURY\WODA\caust0.bmp"): backslash
// separators, any letter case. They resolve against one asset root, the folder that
// holds TEKSTURY and DANE.
#pragma once

#include <cstdio>
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

// fopen on the resolved path; null when the name resolves to nothing.
std::FILE* OpenAsset(const char* name, const char* mode);

}  // namespace platform
