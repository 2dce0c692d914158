// image/image_file.h — reading BMP and TGA pictures, and telling them apart by content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/image.h"

// The largest picture a reader accepts, in pixel bytes; larger headers are refused.
constexpr long long kMaxImageBytes = 64LL * 1024 * 1024;

// Pixel bytes a short file may lack and still be read (the missing part black), whatever its
// size; a file lacking more is read only when it delivers at least half of its pixel bytes.
constexpr std::size_t kMaxImageShortfall = 64 * 1024;

// Reads up to `count` bytes into `out`. The buffer grows only as data arrives, so a count the
// stream cannot back never turns into one large allocation; returns how many bytes came.
std::size_t ReadUpTo(std::FILE* file, std::size_t count, std::vector<std::uint8_t>& out);

// The readers give the picture bottom row first, red first. They leave the image as it was
// when they return false. The forms with `note` also say why a file was refused, or that it
// came short and was accepted. The loaders print one line naming the file for either.

// Uncompressed Windows bitmap, 24 or 32 bits a pixel (32 with or without the plain bit masks):
// the pixels from the offset the file header gives, rows padded to 4 bytes, bottom-up or, with
// a negative height, top-down. A 32-bit picture without an alpha mask whose fourth bytes are
// all zero is opaque. Compressed and palette pictures and other depths are refused.
bool ReadBMP(std::FILE* file, Image& image);
bool ReadBMP(std::FILE* file, Image& image, std::string& note);
bool LoadBMP(const char* path, Image& image);

// Uncompressed true-colour Targa, 24 or 32 bits a pixel: the pixels after the image ID and any
// colour map, in the row and column order of the origin bits. Other image types are refused.
bool ReadTGA(std::FILE* file, Image& image);
bool ReadTGA(std::FILE* file, Image& image, std::string& note);
bool LoadTGA(const char* path, Image& image);

// Probes from the file's first bytes; the extension plays no part.
bool IsBMPFile(const char* path);
bool IsTGAFile(const char* path);

// 1 for a BMP file, 2 for a TGA file, 0 otherwise (also when the file cannot be opened).
int DetectImageType(const char* path);
