// platform/posix/file_move.cpp — rename(), which replaces the target in one step.
#include "platform/file_move.h"

#include <cstdio>

namespace platform {

bool MoveFileOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

}  // namespace platform
