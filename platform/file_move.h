// platform/file_move.h — a finished file put in place of another in one step.
#pragma once

#include <string>

namespace platform {

// Moves `from` over `to`, replacing a file already there; false, with errno set, when it cannot.
bool MoveFileOver(const std::string& from, const std::string& to);

}  // namespace platform
