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

bool FCInflateMovieBody(const uint8_t* in, size_t in_size, uint32_t claimed,
                        std::vector<uint8_t>* out) {
    // One byte of room past the claim shows a stream that yields more than it claims.
    size_t limit = size_t(claimed < FC_MAX_INFLATED_MOVIE ? claimed : FC_MAX_INFLATED_MOVIE) + 1;
    size_t start = out->size();
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (inflateInit(&zs) != Z_OK)
        return false;
    size_t produced = 0;
    size_t consumed = 0;
    int rc = Z_OK;
    while (rc == Z_OK && produced < limit) {
        size_t room = out->size() - start - produced;
        if (room == 0) {
            size_t grow = produced == 0 ? 64 * 1024 : produced;
            if (grow > limit - produced)
                grow = limit - produced;
            try {
                out->resize(start + produced + grow);
            } catch (const std::bad_alloc&) {
                break;
            }
            room = grow;
        }
        size_t in_left = in_size - consumed;
        zs.next_in = const_cast<Bytef*>(in + consumed);
        zs.avail_in = uInt(in_left > 0x40000000u ? 0x40000000u : in_left);
        zs.next_out = out->data() + start + produced;
        zs.avail_out = uInt(room);
        uInt before_in = zs.avail_in;
        uInt before_out = zs.avail_out;
        rc = inflate(&zs, Z_NO_FLUSH);
        consumed += before_in - zs.avail_in;
        produced += before_out - zs.avail_out;
        if (rc == Z_BUF_ERROR && zs.avail_out != 0)
            break; // no more input
        if (rc == Z_BUF_ERROR)
            rc = Z_OK;
    }
    inflateEnd(&zs);
    bool complete = rc == Z_STREAM_END && produced == claimed;
    out->resize(start + (produced < claimed ? produced : size_t(claimed)));
    return complete;
}

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

    std::vector<uint8_t> movie(data, data + kHeaderSize);
    if (!FCInflateMovieBody(data + kHeaderSize, rest_size, body_size, &movie))
        return false;
    movie[0] = 'F';
    fws->swap(movie);
    return true;
}
