// fuzz/tga_fuzzer.cpp — the Targa reader on arbitrary bytes: uncompressed true colour at 24 or
// 32 bits after the image ID and any colour map, in the row and column order the origin bits
// give, blue and red exchanged; short data accepted only within bounds; refusals change nothing.
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

    fuzz::StoredLayout layout;
    if (size >= 18) {
        layout.readable = data[2] == 2 && data[1] <= 1;
        const std::uint64_t mapBytes = data[1] == 1 ? LittleEndianU16(data + 5) * ((data[7] + 7u) / 8u) : 0;
        layout.pixelsAt = 18 + data[0] + mapBytes;
        layout.width = LittleEndianU16(data + 12);
        layout.height = LittleEndianU16(data + 14);
        layout.bits = data[16];
        layout.topDown = (data[17] & 0x20) != 0;
        layout.rightToLeft = (data[17] & 0x10) != 0;
    }
    const fuzz::PictureExpectation expected = fuzz::ExpectPicture(data, size, layout);
    FUZZ_CHECK(ok == expected.accepted);
    if (!ok) {
        FUZZ_CHECK(!note.empty());
        FUZZ_CHECK(image.width == 1 && image.bitsPerPixel == 8 && image.pixels == std::vector<std::uint8_t>{42});
        return 0;
    }
    fuzz::CheckAcceptedPicture(image, note, expected);
    return 0;
}
