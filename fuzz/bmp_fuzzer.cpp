// fuzz/bmp_fuzzer.cpp — the BMP reader on arbitrary bytes: it accepts exactly the files whose
// data backs their header, with the file's pixel bytes, and leaves the picture alone otherwise.

#include "fuzz_support.h"
#include "image/image_file.h"
#include "image/little_endian.h"
#include "picture_expectation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Image image;
    image.width = image.height = 1;
    image.bitsPerPixel = 24;
    image.pixels = {1, 2, 3};
    std::FILE* file = fuzz::OpenBytes(data, size);
    std::string note;
    const bool ok = ReadBMP(file, image, note);
    std::fclose(file);

    fuzz::PictureExpectation expected;
    if (size >= 54 && data[0] == 'B' && data[1] == 'M')
        expected = fuzz::ExpectPicture(data, size, 54, LittleEndianI32(data + 18), LittleEndianI32(data + 22),
                                       LittleEndianU16(data + 28), LittleEndianU16(data + 28) == 24);
    FUZZ_CHECK(ok == expected.accepted);
    if (!ok) {
        FUZZ_CHECK(!note.empty());
        FUZZ_CHECK(image.width == 1 && image.height == 1 && image.bitsPerPixel == 24);
        FUZZ_CHECK((image.pixels == std::vector<std::uint8_t>{1, 2, 3}));
        return 0;
    }
    fuzz::CheckAcceptedPicture(image, note, expected);
    return 0;
}
