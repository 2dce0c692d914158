// platform/posix/folders.cpp — mkdir with the usual permissions.
#include "platform/folders.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform {

bool IsPathSeparator(char c) { return c == '/'; }

bool MakeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    if (errno != EEXIST) return false;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace platform
