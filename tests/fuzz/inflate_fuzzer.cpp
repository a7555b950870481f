// The stub's raw DEFLATE decoder, and the same stream through zlib's raw inflate: where zlib
// decodes the input to its end, ours must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "runtime/core/qvrk_inflate.h"

namespace {

// zlib's raw inflate of the whole stream into at most `limit` bytes; false when the stream is
// damaged, unfinished or longer than the limit.
bool ZlibInflate(const uint8_t* in, size_t in_size, size_t limit, std::vector<uint8_t>* out) {
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (inflateInit2(&zs, -15) != Z_OK)
        return false;
    out->assign(limit + 1, 0);
    zs.next_in = const_cast<Bytef*>(in);
    zs.avail_in = uInt(in_size);
    zs.next_out = out->data();
    zs.avail_out = uInt(out->size());
    int rc = inflate(&zs, Z_FINISH);
    size_t produced = zs.total_out;
    inflateEnd(&zs);
    out->resize(produced);
    return rc == Z_STREAM_END && produced <= limit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QvrkInflater* work = new QvrkInflater;
    if (size < 2)
        return 0;
    // The first two bytes choose the expected output size, as a payload record would.
    size_t expected = size_t(data[0]) | size_t(data[1]) << 8;
    const uint8_t* in = data + 2;
    size_t in_size = size - 2;

    std::vector<uint8_t> ours(expected);
    size_t produced = 0;
    QvrkInflateResult result = qvrk_inflate(work, in, in_size, ours.data(), ours.size(), &produced);
    if (produced > expected)
        __builtin_trap();

    std::vector<uint8_t> theirs;
    bool zlib_ok = ZlibInflate(in, in_size, 1 << 17, &theirs);
    if (zlib_ok && theirs.size() == expected) {
        // A valid stream of exactly the promised length: both decoders agree.
        if (result != QVRK_INFLATE_OK ||
            (expected > 0 && std::memcmp(ours.data(), theirs.data(), expected) != 0))
            __builtin_trap();
    } else if (result == QVRK_INFLATE_OK) {
        // We accepted what zlib refused or decoded to another length.
        if (zlib_ok || theirs.size() >= (1 << 17))
            __builtin_trap();
        // zlib also refuses some streams that are only damaged past the end of our output
        // (distance too far back in an unused block is impossible here), so any acceptance
        // must at least match zlib's output as far as zlib got.
        size_t common = theirs.size() < expected ? theirs.size() : expected;
        if (common > 0 && std::memcmp(ours.data(), theirs.data(), common) != 0)
            __builtin_trap();
    }
    return 0;
}
