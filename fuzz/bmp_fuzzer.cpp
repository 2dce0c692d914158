// fuzz/bmp_fuzzer.cpp — the BMP reader on arbitrary bytes: it accepts exactly the plain files
// whose data backs their header (any pixel-data offset, padded rows, either row order, 24 or
// 32 bits with or without the plain bit masks), with the file's pixels at the places the header
// gives, and leaves the picture alone otherwise.

#include "fuzz_support.h"
#include "image/image_file.h"
#include "image/little_endian.h"
#include "picture_expectation.h"

namespace {

std::uint32_t U32(const std::uint8_t* data, std::size_t size, std::size_t at) {
    return at + 4 <= size ? LittleEndianU32(data + at) : 0;
}

fuzz::StoredLayout LayoutOf(const std::uint8_t* data, std::size_t size) {
    fuzz::StoredLayout layout;
    if (size < 54 || data[0] != 'B' || data[1] != 'M') return layout;
    const std::uint32_t infoSize = LittleEndianU32(data + 14);
    const std::uint32_t method = LittleEndianU32(data + 30);
    const std::int64_t height = LittleEndianI32(data + 22);
    layout.width = LittleEndianI32(data + 18);
    layout.height = height < 0 ? -height : height;
    layout.topDown = height < 0;
    layout.bits = LittleEndianU16(data + 28);
    layout.alignment = 4;
    layout.pixelsAt = LittleEndianU32(data + 10);
    std::uint64_t headersEnd = 14ull + infoSize;
    if (infoSize == 40 && method == 3) headersEnd += 12;
    if (infoSize == 40 && method == 6) headersEnd += 16;
    if (infoSize < 40 || layout.pixelsAt < headersEnd) return layout;
    if (method == 0) {
        layout.readable = true;
        layout.alpha = fuzz::StoredLayout::OpaqueWhenAllZero;
    } else if ((method == 3 || method == 6) && layout.bits == 32) {
        const std::uint32_t alpha = infoSize >= 56 || method == 6 ? U32(data, size, 66) : 0;
        layout.readable = U32(data, size, 54) == 0xFF0000u && U32(data, size, 58) == 0xFF00u &&
                          U32(data, size, 62) == 0xFFu && (alpha == 0 || alpha == 0xFF000000u);
        layout.alpha = alpha == 0 ? fuzz::StoredLayout::Opaque : fuzz::StoredLayout::Keep;
    }
    return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Image image;
    image.width = image.height = 1;
    image.bitsPerPixel = 24;
    image.pixels = {1, 2, 3};
    std::FILE* file = fuzz::OpenBytes(data, size);
    std::string note;
    const bool ok = ReadBMP(file, image, note);
    std::fclose(file);

    const fuzz::PictureExpectation expected = fuzz::ExpectPicture(data, size, LayoutOf(data, size));
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
