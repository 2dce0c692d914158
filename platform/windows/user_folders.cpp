// platform/windows/user_folders.cpp — screenshots land in the user's Pictures\Undertow.
#include "platform/user_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/windows/wide_text.h"

namespace platform {

std::string ScreenshotFolder() {
    PWSTR pictures = nullptr;
    std::wstring folder;
    if (SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, &pictures) == S_OK)
        folder = std::wstring(pictures) + L"\\Undertow";
    CoTaskMemFree(pictures);
    if (folder.empty()) return ".";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return ".";
    return NarrowText(folder);
}

}  // namespace platform
