// platform/windows/wide_text.h — UTF-8 to and from the UTF-16 of Windows' wide-character calls.
#pragma once

#include <string>

namespace platform {

std::wstring WideText(const std::string& utf8);
std::string NarrowText(const std::wstring& utf16);

}  // namespace platform
