// app/bitmap_font.h — 96 display lists of white glyphs for the characters 32..127.
#pragma once

#include "platform/gl.h"

class BitmapFont {
public:
    BitmapFont() = default;
    virtual ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    // Builds the lists from the system font matched for `faceName`, in a cell -height pixels
    // high; `width` is not used. Needs a current GL context.
    void Create(int height, int width, const char* faceName);
    // Draws one character at the raster position and advances it.
    void PrintChar(char c) const;
    // Gives the lists back; needs the context that made them to be current.
    void DeleteLists();

    GLuint listBase = 0;
};

extern BitmapFont font;
