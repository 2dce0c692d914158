// fuzz/heightmap_fuzzer.cpp — the terrain's heightmap reader, from memory and from a file:
// one height per pixel from the average of its three bytes, rows at the bitmap's padded stride
// or packed, and both ways agree.
#include <cstring>
#include <memory>

#include "effects/terrain.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TerrainParams params;
    params.fileName = "TEKSTURY\\teren.BMP";
    params.heightScale = 0.05f;
    params.baseLevel = 0.5f;
    std::unique_ptr<float[]> heights;
    std::unique_ptr<float[]> loaded;
    TerrainParams fromFile = params;
    fuzz::WriteAsset("TEKSTURY/teren.BMP", data, size);
    {
        fuzz::StderrCapture quiet;
        heights = ReadHeightmap(data, size, params, params.fileName);
        loaded = LoadHeightmap(fromFile);
    }
    FUZZ_CHECK((heights == nullptr) == (loaded == nullptr));
    if (!heights) return 0;

    FUZZ_CHECK(size >= 54 && data[0] == 'B' && data[1] == 'M' && (data[28] | data[29] << 8) == 24);
    std::int32_t width, height;
    std::memcpy(&width, data + 18, 4);
    std::memcpy(&height, data + 22, 4);
    FUZZ_CHECK(params.imageWidth == width && params.imageHeight == height);
    FUZZ_CHECK(fromFile.imageWidth == width && fromFile.imageHeight == height);
    const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const std::size_t packed = 3 * w, padded = (packed + 3) / 4 * 4;
    const std::size_t stride = size - 54 >= padded * h ? padded : packed;
    FUZZ_CHECK(size - 54 >= stride * h);
    const float offset = 0.05f * 255.0f * 0.5f;
    for (std::size_t r = 0; r < h; ++r) {
        for (std::size_t c = 0; c < w; ++c) {
            const std::uint8_t* p = data + 54 + r * stride + 3 * c;
            const float expected = static_cast<float>((p[0] + p[1] + p[2]) / 3) * 0.05f - offset;
            FUZZ_CHECK(heights[r * w + c] == expected);
            FUZZ_CHECK(loaded[r * w + c] == expected);
        }
    }
    return 0;
}
