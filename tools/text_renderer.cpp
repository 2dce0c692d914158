// tools/text_renderer.cpp — fontconfig lookup, FreeType glyph rendering, halo by blurring.
#include "tools/text_renderer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <vector>

namespace assets {
namespace {

std::string MatchFontFile(const char* pattern) {
    std::string result;
    if (!FcInit()) return result;
    FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!query) return result;
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult match = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, query, &match);
    if (font) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file)
            result = reinterpret_cast<const char*>(file);
        FcPatternDestroy(font);
    }
    FcPatternDestroy(query);
    return result;
}

}  // namespace

TextRenderer::TextRenderer() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) library_ = library;
}

TextRenderer::~TextRenderer() {
    for (auto& entry : faces_)
        if (entry.second) FT_Done_Face(static_cast<FT_Face>(entry.second));
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

void* TextRenderer::Face(const char* pattern) {
    auto found = faces_.find(pattern);
    if (found != faces_.end()) return found->second;
    FT_Face face = nullptr;
    const std::string file = MatchFontFile(pattern);
    if (library_ && !file.empty() && FT_New_Face(static_cast<FT_Library>(library_), file.c_str(), 0, &face) != 0)
        face = nullptr;
    if (!face) std::fprintf(stderr, "assets: no font found for \"%s\"\n", pattern);
    faces_[pattern] = face;
    return face;
}

bool TextRenderer::DrawCentred(Picture& picture, const std::string& text, float centreX, float baselineY,
                               const TextStyle& style) {
    FT_Face face = static_cast<FT_Face>(Face(style.font));
    if (!face) return false;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(style.pixelSize));

    // First pass measures the advance so the line can be centred.
    float width = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
            width += kern.x / 64.0f;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) == 0) width += face->glyph->advance.x / 64.0f + style.letterSpacing;
        previous = index;
    }
    width -= style.letterSpacing;

    // Second pass renders the coverage of every glyph into a mask as large as the picture.
    std::vector<float> coverage(static_cast<std::size_t>(picture.width) * picture.height, 0.0f);
    float penX = std::round(centreX - width / 2);
    previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
            penX += kern.x / 64.0f;
        }
        previous = index;
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = static_cast<int>(std::round(penX)) + slot->bitmap_left;
        const int top = static_cast<int>(std::round(baselineY)) - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const int x = left + static_cast<int>(column), y = top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) continue;
                const float value = bitmap.buffer[row * bitmap.pitch + column] / 255.0f;
                float& cell = coverage[static_cast<std::size_t>(y) * picture.width + x];
                cell = std::max(cell, value);
            }
        penX += slot->advance.x / 64.0f + style.letterSpacing;
    }

    if (style.glowRadius > 0) {
        Picture halo(picture.width, picture.height);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const float c = coverage[static_cast<std::size_t>(y) * picture.width + x];
                halo.Set(x, y, {c, c, c});
            }
        Blur(halo, static_cast<int>(std::ceil(style.glowRadius / 1.7f)), 3, false);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                picture.Set(x, y, picture.Get(x, y) + style.glowColour * halo.Get(x, y).x, picture.Alpha(x, y));
    }
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.Blend(x, y, style.colour, coverage[static_cast<std::size_t>(y) * picture.width + x]);
    return true;
}

}  // namespace assets
