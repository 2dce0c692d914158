// platform/glyph_rasterizer.cpp — the system's font file for the face, drawn by FreeType.
#include "platform/glyph_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

namespace platform {

std::vector<GlyphBitmap> RasterizeGlyphs(const char* faceName, int cellHeight, int first, int count) {
    std::vector<GlyphBitmap> glyphs(count > 0 ? count : 0);
    const std::string file = MatchFontFile(faceName);
    FT_Library library = nullptr;
    if (file.empty() || FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "font: no font found for \"%s\"\n", faceName);
        return glyphs;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "font: cannot load %s\n", file.c_str());
        FT_Done_FreeType(library);
        return glyphs;
    }
    // The cell height covers ascent and descent, as a GDI font of that height does.
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = static_cast<FT_Long>(cellHeight) << 6;
    FT_Request_Size(face, &request);

    for (int i = 0; i < count; ++i) {
        GlyphBitmap& glyph = glyphs[i];
        if (FT_Load_Char(face, static_cast<FT_ULong>(first + i), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
        glyph.width = static_cast<int>(bitmap.width);
        glyph.height = static_cast<int>(bitmap.rows);
        glyph.originX = static_cast<float>(-slot->bitmap_left);
        glyph.originY = static_cast<float>(glyph.height - slot->bitmap_top);
        const int rowBytes = (glyph.width + 7) / 8;
        glyph.bits.assign(static_cast<size_t>(rowBytes) * glyph.height, 0);
        for (int y = 0; y < glyph.height; ++y) {
            const unsigned char* src = bitmap.buffer + y * bitmap.pitch;
            const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            std::uint8_t* dst = glyph.bits.data() + static_cast<size_t>(glyph.height - 1 - y) * rowBytes;
            for (int x = 0; x < glyph.width; ++x) {
                const bool on = mono ? (src[x >> 3] & (0x80 >> (x & 7))) != 0 : src[x] >= 128;
                if (on) dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
            }
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return glyphs;
}

}  // namespace platform
