// fuzz/heightmap_fuzzer.cpp — the heightmap reader, from memory and from a file: one height per
// pixel from the average of its three bytes, rows at the bitmap's padded stride or packed, and
// both ways agree.
#include "fuzz_support.h"
#include "image/heightmap.h"
#include "image/little_endian.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* name = "TEKSTURY\\teren.BMP";
    Heightmap read;
    Heightmap loaded;
    fuzz::WriteAsset("TEKSTURY/teren.BMP", data, size);
    {
        fuzz::StderrCapture quiet;
        read = ReadHeightmap(data, size, 0.05f, 0.5f, name);
        loaded = LoadHeightmap(name, 0.05f, 0.5f);
    }
    FUZZ_CHECK((read.heights == nullptr) == (loaded.heights == nullptr));
    if (!read.heights) return 0;

    FUZZ_CHECK(size >= 54 && data[0] == 'B' && data[1] == 'M' && LittleEndianU16(data + 28) == 24);
    const std::int32_t width = LittleEndianI32(data + 18), height = LittleEndianI32(data + 22);
    FUZZ_CHECK(read.width == width && read.height == height);
    FUZZ_CHECK(loaded.width == width && loaded.height == height);
    const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const std::size_t packed = 3 * w, padded = (packed + 3) / 4 * 4;
    const std::size_t stride = size - 54 >= padded * h ? padded : packed;
    FUZZ_CHECK(size - 54 >= stride * h);
    const float offset = 0.05f * 255.0f * 0.5f;
    for (std::size_t r = 0; r < h; ++r) {
        for (std::size_t c = 0; c < w; ++c) {
            const std::uint8_t* p = data + 54 + r * stride + 3 * c;
            const float expected = static_cast<float>((p[0] + p[1] + p[2]) / 3) * 0.05f - offset;
            FUZZ_CHECK(read.heights[r * w + c] == expected);
            FUZZ_CHECK(loaded.heights[r * w + c] == expected);
        }
    }
    return 0;
}
