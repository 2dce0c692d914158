// fuzz/caustics_fuzzer.cpp — caustic pictures as the cave scene loads and plays them: the input
// is one caustic file; it is kept only when it is a 24-bit picture of exactly the texture's size,
// and then cycling the animation puts exactly its pixels into the texture, with no GL error.
#include <cstdlib>
#include <vector>

#include "effects/caustics.h"
#include "fuzz_support.h"
#include "image/image_file.h"
#include "platform/window.h"

namespace {

constexpr int kSize = 16;   // the preloaded caustic texture: 16 × 16, RGB
GLuint texture = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    platform::WindowOptions options;
    options.headless = true;
    options.fullScreen = false;
    platform::WindowError error;
    if (!platform::OpenWindow(options, error)) {
        std::fprintf(stderr, "caustics fuzzer: no GL context: %s\n", error.message.c_str());
        std::exit(1);
    }
    fuzz::AssetRoot();
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::vector<unsigned char> black(kSize * kSize * 3, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kSize, kSize, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteAsset("TEKSTURY/WODA/Caust0.BMP", data, size);
    static Image frames[kCausticFrameCount];
    {
        fuzz::StderrCapture quiet;   // the 31 missing pictures are named at every input
        LoadCausticFrames(frames, texture);
    }
    Image direct;
    std::FILE* file = fuzz::OpenBytes(data, size);
    const bool readable = ReadBMP(file, direct);
    std::fclose(file);
    const bool fits = readable && direct.width == kSize && direct.height == kSize && direct.bitsPerPixel == 24;
    FUZZ_CHECK(frames[0].IsEmpty() != fits);
    for (int k = 1; k < kCausticFrameCount; ++k) FUZZ_CHECK(frames[k].IsEmpty());   // no such files
    if (!fits) return 0;
    FUZZ_CHECK(frames[0].pixels == direct.pixels);

    // A whole cycle: one picture per call, whatever the frame time; only picture 0 is there.
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int k = 0; k < kCausticFrameCount; ++k) AdvanceCaustics(1.0f, frames);
    const int index = CausticFrameIndex();
    FUZZ_CHECK(index >= 0 && index < kCausticFrameCount);
    std::vector<unsigned char> texels(kSize * kSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    FUZZ_CHECK(glGetError() == GL_NO_ERROR);
    FUZZ_CHECK(texels == frames[0].pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return 0;
}
