// platform/glyph_rasterizer.h — bitmap glyphs of a system font, for display-list text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One glyph as a 1-bit bitmap in glBitmap's layout: rows bottom-up, each padded to whole bytes.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    float originX = 0;    // glBitmap's xorig: pixels from the pen to the bitmap's left edge, negated
    float originY = 0;    // glBitmap's yorig: pixels below the baseline
    float advance = 0;    // pen movement to the next glyph
    std::vector<std::uint8_t> bits;
};

// The path of the font file the system matches for `faceName` (fontconfig; on Windows the fonts
// folder, else the font shipped beside the program; in the browser the font the page brings);
// empty when none.
std::string MatchFontFile(const char* faceName);

// Glyphs for the characters first .. first + count - 1 of the font matched for `faceName`,
// in a cell `cellHeight` pixels high. Empty glyphs (zero size, zero advance) where no font
// can be loaded.
std::vector<GlyphBitmap> RasterizeGlyphs(const char* faceName, int cellHeight, int first, int count);

}  // namespace platform
