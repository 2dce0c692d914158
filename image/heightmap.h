// image/heightmap.h — a 24-bit bitmap read as one height per pixel.
//
// The header's size is checked against fixed bounds and against the bytes the file holds before
// anything is allocated, and the pixel data is never read past.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Heights in file order (the bottom row first), width × height of them.
struct Heightmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::unique_ptr<float[]> heights;   // null when the file could not be read
};

// A pixel's height is the integer average of its three bytes times `heightScale`, less
// heightScale · 255 · baseLevel, so that fraction of the grey range lies at height 0.
// Reads asset `path`; a file that is missing, not 24-bit, or shorter than it claims gives an
// empty heightmap and one line on stderr naming it. The lines speak for the terrain, whose
// landscape the heights become.
Heightmap LoadHeightmap(const char* path, float heightScale, float baseLevel);

// The same on a file already in memory; `name` is used in the message.
Heightmap ReadHeightmap(const unsigned char* bytes, std::size_t size, float heightScale, float baseLevel,
                        const char* name);
