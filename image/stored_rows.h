// image/stored_rows.h — pixel rows as a picture file stores them, turned into an Image.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/image.h"

// How a file lays out its pixels: `bits` per pixel (24 or 32) in blue, green, red (, alpha)
// order, `height` rows each padded to a multiple of `rowAlignment` bytes, starting with the
// bottom row unless `topDown`, each row from the left unless `rightToLeft`.
struct StoredRows {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int32_t bits = 0;
    std::int64_t rowAlignment = 1;
    bool topDown = false;
    bool rightToLeft = false;
    // The fourth byte of a 32-bit pixel says nothing: the picture is opaque. When it may hold
    // alpha, a picture whose fourth bytes are all zero is taken as opaque too.
    bool ignoreAlpha = false;
    bool zeroAlphaMeansOpaque = false;
};

// Reads `rows` from where the file stands into `image`, bottom row first, red first, tightly
// packed. The size is checked against kMaxImageBytes before anything is read, and a short
// file is accepted only within the bounds kMaxImageShortfall sets, its missing pixels black.
// On refusal the image stays as it was. `note` says why a picture was refused or came short.
bool ReadStoredRows(std::FILE* file, const StoredRows& rows, Image& image, std::string& note);
