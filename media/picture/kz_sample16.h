// The one reduction of 16-bit samples to 8 bits that every reader uses: the nearest 8-bit level,
// round(v × 255 / 65535) = (v + 128) / 257 (exact for every v, no ties since 257 is odd). It is
// what libtiff's RGBA reader, libpng's png_set_scale_16 and ImageMagick's 8-bit reading give, so
// a 16-bit file decodes as they decode it; taking the high byte instead is off by one for almost
// half of all values.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint8_t KZSample16To8(unsigned v) {
    return uint8_t((v + 128) / 257);
}

// A row of big-endian 16-bit samples (PPM, PNG) to 8 bits.
inline void KZReduceBigEndian16(const uint8_t* in, uint8_t* out, size_t count) {
    for (size_t i = 0; i < count; i++, in += 2)
        out[i] = KZSample16To8(unsigned(in[0]) << 8 | in[1]);
}
