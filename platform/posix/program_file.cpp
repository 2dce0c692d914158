// platform/posix/program_file.cpp — the program's file as the kernel names it.
#include "platform/program_file.h"

#include <unistd.h>

namespace platform {

std::string ProgramFile() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace platform
