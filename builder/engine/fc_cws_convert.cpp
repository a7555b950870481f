#include "builder/engine/fc_cws_convert.h"

#include <cstring>
#include <new>

#include <zlib.h>

#include "runtime/core/qvrk_bytes.h"

namespace {

const size_t kHeaderSize = 8;
const size_t kMinFileSize = 21;
// zlib yields at most 1032 bytes per compressed byte; a header claiming more than the rest of the
// file can give is refused before the body is allocated.
const uint64_t kMaxRatio = 1032;

} // namespace

bool FCUncompressMovie(const uint8_t* data, size_t size, std::vector<uint8_t>* fws) {
    fws->clear();
    if (size < kMinFileSize || size >= 0x7FFFFFFF || std::memcmp(data, "CWS", 3) != 0)
        return false;
    uint32_t full = qvrk_get_u32(data + 4);
    if (full < kHeaderSize || full - kHeaderSize > FC_MAX_INFLATED_MOVIE)
        return false;
    uint32_t body_size = full - uint32_t(kHeaderSize);
    size_t rest_size = size - kHeaderSize;
    if (uint64_t(body_size) > uint64_t(rest_size) * kMaxRatio)
        return false;

    std::vector<uint8_t> movie;
    try {
        movie.resize(kHeaderSize + size_t(body_size) + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = const_cast<Bytef*>(data + kHeaderSize);
    zs.avail_in = uInt(rest_size);
    zs.next_out = movie.data() + kHeaderSize;
    zs.avail_out = uInt(body_size);
    int rc = inflate(&zs, Z_FINISH);
    bool ok = rc == Z_STREAM_END && zs.total_out == body_size;
    inflateEnd(&zs);
    if (!ok)
        return false;
    std::memcpy(movie.data(), data, kHeaderSize);
    movie[0] = 'F';
    movie.resize(kHeaderSize + size_t(body_size));
    fws->swap(movie);
    return true;
}
