// platform/windows/file_move.cpp — MoveFileExW, since rename() on Windows refuses an existing target.
#include "platform/file_move.h"

#include <windows.h>

#include <cerrno>

#include "platform/windows/wide_text.h"

namespace platform {

bool MoveFileOver(const std::string& from, const std::string& to) {
    if (MoveFileExW(WideText(from).c_str(), WideText(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return false;
}

}  // namespace platform
