// fuzz/image_load_fuzzer.cpp — a texture file as the loading screen meets it: the type probe
// on the file's first bytes, then the reader it picks through the asset path, which must agree
// with the reader on the same bytes and name the file in exactly one line when it complains.
#include "fuzz_support.h"
#include "image/image_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kName = "TEKSTURY\\slot.BMP";
    fuzz::WriteAsset("TEKSTURY/slot.BMP", data, size);

    const int type = DetectImageType(kName);
    const bool bmp = size >= 14 && data[0] == 'B' && data[1] == 'M';
    const bool tga = !bmp && size >= 18 && data[1] == 0 && data[2] == 2;
    FUZZ_CHECK(type == (bmp ? 1 : tga ? 2 : 0));
    if (type == 0) return 0;

    Image loaded, direct;
    bool loadedOk = false;
    std::string said;
    {
        fuzz::StderrCapture capture;
        loadedOk = type == 1 ? LoadBMP(kName, loaded) : LoadTGA(kName, loaded);
        said = capture.Text();
    }
    std::FILE* file = fuzz::OpenBytes(data, size);
    std::string note;
    const bool directOk = type == 1 ? ReadBMP(file, direct, note) : ReadTGA(file, direct, note);
    std::fclose(file);

    FUZZ_CHECK(loadedOk == directOk);
    FUZZ_CHECK(loaded.width == direct.width && loaded.height == direct.height);
    FUZZ_CHECK(loaded.bitsPerPixel == direct.bitsPerPixel && loaded.pixels == direct.pixels);
    // One line for a refusal or a short picture, none for a whole one; it names the file.
    FUZZ_CHECK(fuzz::LineCount(said) == (note.empty() ? 0 : 1));
    if (!said.empty()) FUZZ_CHECK(said.find(kName) != std::string::npos);
    return 0;
}
