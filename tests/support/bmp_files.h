// tests/support/bmp_files.h — small hand-made picture files for reader and loader tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A 24- or 32-bit BMP: 54-byte header, then `pixels` as given (file byte order).
std::vector<std::uint8_t> MakeBMP(int width, int height, int bits, const std::vector<std::uint8_t>& pixels);

// A padded 24-bit bottom-up picture whose grey at (column, row) the function gives.
std::vector<std::uint8_t> GreyBMP(int width, int height, const std::function<int(int, int)>& grey);

// An uncompressed Targa: 18-byte header, then `pixels` as given.
std::vector<std::uint8_t> MakeTGA(int width, int height, int bits, const std::vector<std::uint8_t>& pixels,
                                  std::uint8_t colorMapType = 0, std::uint8_t imageType = 2);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A fresh empty folder under the system's temporary folder, removed with what it holds when
// the test program exits.
std::string MakeTempFolder(const char* tag);

// A fresh asset root with an empty TEKSTURY folder, made the program's asset root; Put writes a
// picture into it and returns its asset name.
class PictureFolderTest : public ::testing::Test {
protected:
    explicit PictureFolderTest(const char* tag);
    std::string Put(const char* name, const std::vector<std::uint8_t>& bytes) const;
    std::string root;
};

}  // namespace testing_support
