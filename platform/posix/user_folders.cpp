// platform/posix/user_folders.cpp — screenshots land in the current folder.
#include "platform/user_folders.h"

#include <unistd.h>

namespace platform {

std::string ScreenshotFolder() {
    char folder[4096];
    return ::getcwd(folder, sizeof folder) ? std::string(folder) : std::string(".");
}

}  // namespace platform
