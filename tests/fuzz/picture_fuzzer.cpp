// One picture reader over a file image in memory; SCRKIT_FUZZ_READER names it. A picture that
// comes back has sane dimensions and a pixel block that can be read to its end.
#include <cstddef>
#include <cstdint>

#include "media/picture/kz_picture.h"

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
