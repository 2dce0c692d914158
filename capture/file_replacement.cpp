// capture/file_replacement.cpp — the temporary name, the move over the target, the clean-up.
#include "capture/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/child_process.h"
#include "platform/file_move.h"

namespace {

// What ends a folder's name in a path: '\\' too, as on Windows.
constexpr const char* kSeparators = "/\\";

}  // namespace

std::string TemporaryNameFor(const std::string& target, long id) {
    const std::size_t slash = target.find_last_of(kSeparators);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = target.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) dot = target.size();
    return target.substr(0, dot) + ".partial-" + std::to_string(id) + target.substr(dot);
}

const std::string& FileReplacement::Begin(const std::string& targetPath) {
    Discard();
    target = targetPath;
    temporary = TemporaryNameFor(target, platform::CurrentProcessId());
    return temporary;
}

bool FileReplacement::Commit(std::string& error) {
    if (temporary.empty()) {
        error = "nothing was written for " + target;
        return false;
    }
    // The move replaces the target in one step: at every moment the target is the old file or
    // the new one, never a part of either.
    if (!platform::MoveFileOver(temporary, target)) {
        error = "cannot put the recording in place of " + target + " (" + std::strerror(errno) + ")";
        Discard();
        return false;
    }
    temporary.clear();
    return true;
}

void FileReplacement::Discard() {
    if (!temporary.empty()) std::remove(temporary.c_str());
    temporary.clear();
}
