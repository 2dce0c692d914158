// platform/folders.h — making folders, and what separates a path's parts.
#pragma once

#include <string>

namespace platform {

// '/' everywhere; on Windows '\' as well.
bool IsPathSeparator(char c);

// Makes one folder (its parent must exist); true when it exists afterwards as a folder.
bool MakeFolder(const std::string& path);

}  // namespace platform
