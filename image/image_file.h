// image/image_file.h — reading BMP and TGA pictures, and telling them apart by content.
#pragma once

#include <cstdio>

#include "image/image.h"

// The largest picture a reader accepts, in pixel bytes; larger headers are refused.
constexpr long long kMaxImageBytes = 64LL * 1024 * 1024;

// Uncompressed Windows bitmap: 54-byte headers, pixel data from offset 54, rows bottom-up.
bool ReadBMP(std::FILE* file, Image& image);
bool LoadBMP(const char* path, Image& image);

// Uncompressed true-colour Targa: 18-byte header, pixel data from offset 18.
bool ReadTGA(std::FILE* file, Image& image);
bool LoadTGA(const char* path, Image& image);

// Probes from the file's first bytes; the extension plays no part.
bool IsBMPFile(const char* path);
bool IsTGAFile(const char* path);

// 1 for a BMP file, 2 for a TGA file, 0 otherwise (also when the file cannot be opened).
int DetectImageType(const char* path);
