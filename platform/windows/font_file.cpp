// platform/windows/font_file.cpp — a face's file in the Windows fonts folder, else the free font
// shipped in fonts/ beside the program (Liberation Sans, metrically the same as Arial).
#include <windows.h>
#include <shlobj.h>

#include <cctype>

#include "platform/glyph_rasterizer.h"
#include "platform/program_file.h"
#include "platform/windows/wide_text.h"

namespace platform {
namespace {

constexpr const char* kShippedFont = "fonts\\LiberationSans-Regular.ttf";

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FontsFolder() {
    PWSTR folder = nullptr;
    std::string result;
    if (SHGetKnownFolderPath(FOLDERID_Fonts, 0, nullptr, &folder) == S_OK) result = NarrowText(folder);
    CoTaskMemFree(folder);
    return result;
}

// "Arial" is arial.ttf; other faces by the same rule, spaces dropped.
std::string FileNameOf(const char* faceName) {
    std::string name;
    for (const char* c = faceName; *c; ++c)
        if (*c != ' ') name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return name + ".ttf";
}

}  // namespace

std::string MatchFontFile(const char* faceName) {
    const std::string fonts = FontsFolder();
    if (!fonts.empty()) {
        const std::string system = fonts + "\\" + FileNameOf(faceName);
        if (IsFile(system)) return system;
    }
    const std::string program = ProgramFile();
    const std::size_t slash = program.find_last_of("\\/");
    if (slash != std::string::npos) {
        const std::string shipped = program.substr(0, slash + 1) + kShippedFont;
        if (IsFile(shipped)) return shipped;
    }
    return {};
}

}  // namespace platform
