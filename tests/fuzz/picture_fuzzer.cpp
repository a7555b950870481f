// One picture reader over a file image in memory; SCRKIT_FUZZ_READER names it. A picture that
// comes back has sane dimensions and a pixel block that can be read to its end.
#include <cstddef>
#include <cstdint>

#include "media/picture/kz_picture.h"

#ifdef SCRKIT_FUZZ_PNG_CRCS
#include <zlib.h>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size);

// A mutated PNG almost always fails its chunk checksums, which stops libpng at once. The
// checksums of every chunk that fits are made right again, so that the mutations reach the
// decoding and our handling of what it returns.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size,
                                          unsigned int) {
    size = LLVMFuzzerMutate(data, size, max_size);
    size_t pos = 8;
    while (size >= pos + 12) {
        uint32_t length = uint32_t(data[pos]) << 24 | uint32_t(data[pos + 1]) << 16 |
                          uint32_t(data[pos + 2]) << 8 | data[pos + 3];
        if (length > size - pos - 12)
            break;
        uLong crc = crc32(0, data + pos + 4, uInt(length) + 4);
        uint8_t* at = data + pos + 8 + length;
        at[0] = uint8_t(crc >> 24), at[1] = uint8_t(crc >> 16), at[2] = uint8_t(crc >> 8),
        at[3] = uint8_t(crc);
        pos += 12 + size_t(length);
    }
    return size;
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KZPicture* picture = SCRKIT_FUZZ_READER(data, size);
    if (!picture)
        return 0;
    int width = picture->Width();
    int height = picture->Height();
    if (width < 1 || height < 1 || width > KZ_PICTURE_MAX_SIDE || height > KZ_PICTURE_MAX_SIDE)
        __builtin_trap();
    const uint8_t* bits = static_cast<const KZPicture*>(picture)->Data();
    size_t bytes = size_t(picture->Stride()) * size_t(height);
    if (int64_t(bytes) > KZ_PICTURE_MAX_BYTES)
        __builtin_trap();
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; i += 61)
        sum += bits[i];
    if (bytes > 0)
        sum += bits[bytes - 1];
    delete picture;
    return sum == 0xFFFFFFFFu; // keeps the reads
}
