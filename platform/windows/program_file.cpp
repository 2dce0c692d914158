// platform/windows/program_file.cpp — the program's file from its module handle, in UTF-8.
#include "platform/program_file.h"

#include <windows.h>

#include <vector>

#include "platform/windows/wide_text.h"

namespace platform {

std::string ProgramFile() {
    // Long paths may exceed MAX_PATH: grow the buffer until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return NarrowText(std::wstring(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

}  // namespace platform
