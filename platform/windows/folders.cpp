// platform/windows/folders.cpp — CreateDirectoryW on the UTF-16 form of the UTF-8 path.
#include "platform/folders.h"

#include <windows.h>

#include <cerrno>

#include "platform/windows/wide_text.h"

namespace platform {

bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

bool MakeFolder(const std::string& path) {
    const std::wstring wide = WideText(path);
    if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    errno = error == ERROR_ALREADY_EXISTS ? EEXIST : error == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
    return false;
}

}  // namespace platform
