// zlib's raw deflate of a whole buffer in one call: the independent encoder the payload tests
// check our decoder and readers against.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> ZlibRawDeflate(const std::vector<uint8_t>& data, int level = 9,
                                           int strategy = Z_DEFAULT_STRATEGY) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
    std::vector<uint8_t> out(deflateBound(&z, data.size()) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}
