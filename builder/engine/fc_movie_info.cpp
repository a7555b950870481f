#include "builder/engine/fc_movie_info.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "builder/engine/fc_cws_convert.h"
#include "media/base/kz_file.h"
#include "media/base/kz_memory.h"
#include "runtime/core/qvrk_bytes.h"

namespace {

const size_t kHeaderSize = 8;
const size_t kMinBody = 20;

// Most-significant-bit-first bit reader over the movie body; reads past the end yield zero bits
// and set `overrun`.
struct BitReader {
    const uint8_t* data;
    size_t size;
    size_t bit_pos = 0;
    bool overrun = false;

    BitReader(const uint8_t* d, size_t n) : data(d), size(n) {}

    uint32_t Bits(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            size_t byte = bit_pos >> 3;
            uint32_t bit = 0;
            if (byte < size)
                bit = (data[byte] >> (7 - (bit_pos & 7))) & 1u;
            else
                overrun = true;
            value = (value << 1) | bit;
            ++bit_pos;
        }
        return value;
    }
    int32_t SignedBits(int count) {
        if (count == 0)
            return 0;
        int64_t value = Bits(count);
        if (value & (int64_t(1) << (count - 1)))
            value -= int64_t(1) << count;
        return static_cast<int32_t>(value);
    }
    size_t AlignedBytePos() const { return (bit_pos + 7) >> 3; }
};

bool ParseBody(int version, const uint8_t* body, size_t size, FCMovieInfo* info) {
    if (size < kMinBody)
        return false;
    BitReader bits(body, size);
    int nbits = static_cast<int>(bits.Bits(5));
    int32_t x_min = bits.SignedBits(nbits);
    int32_t x_max = bits.SignedBits(nbits);
    int32_t y_min = bits.SignedBits(nbits);
    int32_t y_max = bits.SignedBits(nbits);
    size_t pos = bits.AlignedBytePos();
    if (bits.overrun || pos + 4 > size)
        return false;
    FCMovieInfo result;
    result.version = version;
    // Differences in 64 bits: a 31-bit field pair can overflow 32-bit arithmetic.
    result.width_twips = static_cast<int>(static_cast<int64_t>(x_max) - x_min);
    result.height_twips = static_cast<int>(static_cast<int64_t>(y_max) - y_min);
    result.frame_rate = static_cast<int>(qvrk_get_u16(body + pos));
    result.frame_count = static_cast<int>(qvrk_get_u16(body + pos + 2));
    pos += 4;

    int show_frames = 0;
    while (pos + 2 <= size) {
        uint32_t code_and_length = qvrk_get_u16(body + pos);
        pos += 2;
        uint32_t code = code_and_length >> 6;
        size_t length = code_and_length & 0x3F;
        if (length == 0x3F) {
            if (pos + 4 > size)
                break;
            length = qvrk_get_u32(body + pos);
            pos += 4;
        }
        if (length > size - pos)
            break; // runs past the data
        if (code == 0)
            break; // End
        if (code == 1 && ++show_frames > result.frame_count)
            break; // ShowFrame beyond the announced frames
        if (code == 9 && length >= 3) {
            result.background_red = body[pos];
            result.background_green = body[pos + 1];
            result.background_blue = body[pos + 2];
            result.background_alpha = 255;
        }
        pos += length;
    }
    *info = result;
    return true;
}

} // namespace

bool FCReadMovieInfoFromMemory(const uint8_t* data, size_t size, FCMovieInfo* info) {
    if (data == nullptr || size < kHeaderSize)
        return false;
    bool compressed = data[0] == 'C';
    if ((data[0] != 'F' && data[0] != 'C') || data[1] != 'W' || data[2] != 'S')
        return false;
    uint32_t length = qvrk_get_u32(data + 4);
    if (length <= 20)
        return false;
    size_t body_limit = length - kHeaderSize;
    if (!compressed) {
        size_t available = size - kHeaderSize;
        return ParseBody(data[3], data + kHeaderSize,
                         available < body_limit ? available : body_limit, info);
    }
    std::vector<uint8_t> body;
    // A stream that breaks off still shows its header: what came out counts.
    FCInflateMovieBody(data + kHeaderSize, size - kHeaderSize, uint32_t(body_limit), &body);
    return ParseBody(data[3], body.data(), body.size(), info);
}

bool FCReadMovieInfo(const char* path, FCMovieInfo* info) {
    int length = 0;
    uint8_t* bytes = KZReadWholeFile(path, &length);
    if (bytes == nullptr)
        return false;
    bool ok = FCReadMovieInfoFromMemory(bytes, static_cast<size_t>(length), info);
    KZFree(bytes);
    return ok;
}
