#include "media/movie/vm_movie.h"

#include "media/base/kz_stream.h"

VMMovie::VMMovie(KZStream* target, bool compressed)
    : VMSprite(target, compressed), version_(compressed ? 6 : 4),
      start_offset_(compressed || !TargetStream() ? 0 : TargetStream()->GetSize()) {}

VMMovie::~VMMovie() = default;

void VMMovie::WriteFileHeader(uint8_t header[8]) const {
    header[0] = IsCompressed() ? 'C' : 'F';
    header[1] = 'W';
    header[2] = 'S';
    header[3] = uint8_t(version_);
    int64_t size = OutputStream() ? OutputStream()->GetSize() : 0;
    uint32_t length = uint32_t(size + 8 - start_offset_);
    header[4] = uint8_t(length);
    header[5] = uint8_t(length >> 8);
    header[6] = uint8_t(length >> 16);
    header[7] = uint8_t(length >> 24);
}
