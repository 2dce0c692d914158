// platform/posix/font_file.cpp — fontconfig picks the file for a face name.
#include <fontconfig/fontconfig.h>

#include "platform/glyph_rasterizer.h"

namespace platform {

std::string MatchFontFile(const char* faceName) {
    std::string result;
    if (!FcInit()) return result;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(faceName));
    if (!pattern) return result;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult match = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &match);
    if (font) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file) {
            result = reinterpret_cast<const char*>(file);
        }
        FcPatternDestroy(font);
    }
    FcPatternDestroy(pattern);
    return result;
}

}  // namespace platform
