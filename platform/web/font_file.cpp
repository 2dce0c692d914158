// platform/web/font_file.cpp — the page has no system fonts: it brings Liberation Sans
// (metrically the same as Arial) into the program's file system, whatever face is asked for.
#include <sys/stat.h>

#include "platform/glyph_rasterizer.h"

namespace platform {

std::string MatchFontFile(const char* /*faceName*/) {
    const char* const shipped = "/fonts/LiberationSans-Regular.ttf";
    struct stat info {};
    return ::stat(shipped, &info) == 0 && S_ISREG(info.st_mode) ? std::string(shipped) : std::string();
}

}  // namespace platform
