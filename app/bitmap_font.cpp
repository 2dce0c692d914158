// app/bitmap_font.cpp — glyph bitmaps compiled into display lists.
#include "app/bitmap_font.h"

#include "platform/glyph_rasterizer.h"
#include "platform/window.h"

BitmapFont::~BitmapFont() {
    // The shell releases the lists before the context goes; past that, no GL call is made.
    if (platform::IsWindowOpen()) DeleteLists();
}

void BitmapFont::Create(int height, int /*width*/, const char* faceName) {
    DeleteLists();
    listBase = glGenLists(96);
    const int cell = height < 0 ? -height : height;
    const auto glyphs = platform::RasterizeGlyphs(faceName, cell, 32, 96);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < 96; ++i) {
        const platform::GlyphBitmap& glyph = glyphs[static_cast<size_t>(i)];
        glNewList(listBase + static_cast<GLuint>(i), GL_COMPILE);
        glBitmap(glyph.width, glyph.height, glyph.originX, glyph.originY, glyph.advance, 0.0f,
                 glyph.bits.empty() ? nullptr : glyph.bits.data());
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void BitmapFont::PrintChar(char c) const {
    const int code = static_cast<signed char>(c);
    if (code < 32 || code > 127 || listBase == 0) return;
    glCallList(listBase + static_cast<GLuint>(code - 32));
}

void BitmapFont::DeleteLists() {
    if (listBase != 0 && glIsList(listBase)) glDeleteLists(listBase, 96);
    listBase = 0;
}
