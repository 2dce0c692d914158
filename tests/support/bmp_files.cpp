// tests/support/bmp_files.cpp — writers for hand-made test pictures.
#include "support/bmp_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/asset_path.h"

namespace testing_support {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> MakeBMP(int width, int height, int bits, const std::vector<std::uint8_t>& pixels) {
    // Sized once for header and pixels: growing a 54-byte vector by insert trips GCC 12's
    // -Warray-bounds at -O3 with a false report.
    std::vector<std::uint8_t> file(54 + pixels.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<std::uint32_t>(54 + pixels.size()));
    Put32(file, 10, 54);
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<std::uint32_t>(width));
    Put32(file, 22, static_cast<std::uint32_t>(height));
    Put16(file, 26, 1);
    Put16(file, 28, static_cast<std::uint32_t>(bits));
    std::copy(pixels.begin(), pixels.end(), file.begin() + 54);
    return file;
}

std::vector<std::uint8_t> GreyBMP(int width, int height, const std::function<int(int, int)>& grey) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rowBytes) * height, 0);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            for (int k = 0; k < 3; ++k) pixels[row * rowBytes + column * 3 + k] = static_cast<std::uint8_t>(grey(column, row));
    return MakeBMP(width, height, 24, pixels);
}

std::vector<std::uint8_t> MakeTGA(int width, int height, int bits, const std::vector<std::uint8_t>& pixels,
                                  std::uint8_t colorMapType, std::uint8_t imageType) {
    std::vector<std::uint8_t> file(18 + pixels.size(), 0);
    file[1] = colorMapType;
    file[2] = imageType;
    Put16(file, 12, static_cast<std::uint32_t>(width));
    Put16(file, 14, static_cast<std::uint32_t>(height));
    file[16] = static_cast<std::uint8_t>(bits);
    std::copy(pixels.begin(), pixels.end(), file.begin() + 18);
    return file;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {

std::vector<std::string>& MadeFolders() {
    static std::vector<std::string> folders;
    return folders;
}

void RemoveMadeFolders() {
    std::error_code ignored;
    for (const std::string& folder : MadeFolders()) std::filesystem::remove_all(folder, ignored);
}

}  // namespace

std::string MakeTempFolder(const char* tag) {
    std::string pattern = std::string("/tmp/undertow-") + tag + "-XXXXXX";
    char* made = ::mkdtemp(pattern.data());
    if (!made) return std::string("/tmp");
    if (MadeFolders().empty()) std::atexit(RemoveMadeFolders);
    MadeFolders().emplace_back(made);
    return std::string(made);
}

PictureFolderTest::PictureFolderTest(const char* tag) : root(MakeTempFolder(tag)) {
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    platform::SetAssetRoot(root);
}

std::string PictureFolderTest::Put(const char* name, const std::vector<std::uint8_t>& bytes) const {
    WriteFile(root + "/TEKSTURY/" + name, bytes);
    return std::string("TEKSTURY\\") + name;
}

}  // namespace testing_support
