// tools/text_renderer.h — anti-aliased text drawn with FreeType into pictures.
#pragma once

#include <map>
#include <string>

#include "tools/picture.h"

namespace assets {

// How a line of text is laid over a picture.
struct TextStyle {
    const char* font = "DejaVu Sans:bold";   // a fontconfig pattern
    int pixelSize = 32;                       // em height in pixels
    Colour colour{1, 1, 1};
    float glowRadius = 0;                     // blur radius of the halo in pixels; 0 for none
    Colour glowColour{0, 0, 0};               // added light of the halo at full coverage
    float letterSpacing = 0;                  // extra pixels between letters
};

// Finds fonts with fontconfig once per pattern and keeps the FreeType faces open.
class TextRenderer {
public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Draws `text` centred on x = centreX with its baseline at y = baselineY (pixels from
    // the top). False, with a message, when no font matches the pattern.
    bool DrawCentred(Picture& picture, const std::string& text, float centreX, float baselineY, const TextStyle& style);

private:
    void* Face(const char* pattern);

    void* library_ = nullptr;
    std::map<std::string, void*> faces_;
};

}  // namespace assets
