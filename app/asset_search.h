// app/asset_search.h — where the program looks for its TEKSTURY and DANE folders when no
// --data is given: the current folder, beside the executable, ../share/undertow from the
// executable (an installed copy), then undertow/ under each XDG data folder.
#pragma once

#include <string>
#include <vector>

// The folders to try, in order and without repeats. `executablePath` is the program's own file;
// `xdgDataDirs` is $XDG_DATA_DIRS (null or empty: /usr/local/share:/usr/share), whose relative
// entries are ignored.
std::vector<std::string> AssetSearchFolders(const std::string& executablePath, const char* xdgDataDirs);

// The first of `folders` that holds TEKSTURY and DANE; empty, with `error` naming every folder
// tried, when none does.
std::string FirstAssetRoot(const std::vector<std::string>& folders, std::string& error);

// The running program's file as the system names it, else `argv0`, else empty.
std::string ExecutablePath(const char* argv0);
