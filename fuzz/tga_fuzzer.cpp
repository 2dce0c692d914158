// fuzz/tga_fuzzer.cpp — the Targa reader on arbitrary bytes: sizes from the 18-byte header,
// blue and red exchanged for 24- and 32-bit pictures, short data accepted only within bounds.
#include "fuzz_support.h"
#include "image/image_file.h"
#include "image/little_endian.h"
#include "picture_expectation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Image image;
    image.width = image.height = 1;
    image.bitsPerPixel = 8;
    image.pixels = {42};
    std::FILE* file = fuzz::OpenBytes(data, size);
    std::string note;
    const bool ok = ReadTGA(file, image, note);
    std::fclose(file);

    fuzz::PictureExpectation expected;
    if (size >= 18)
        expected = fuzz::ExpectPicture(data, size, 18, LittleEndianU16(data + 12), LittleEndianU16(data + 14), data[16],
                                       true);
    FUZZ_CHECK(ok == expected.accepted);
    if (!ok) {
        FUZZ_CHECK(!note.empty());
        FUZZ_CHECK(image.width == 1 && image.bitsPerPixel == 8 && image.pixels == std::vector<std::uint8_t>{42});
        return 0;
    }
    fuzz::CheckAcceptedPicture(image, note, expected);
    return 0;
}
