#include "runtime/core/qvrk_keystream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Expected bytes were computed outside this code base with Python's integers:
//   s = (seed ^ 0x5DEECE66D) & (2**48 - 1); s = (s * 0x5DEECE66D + 11) % 2**48; byte = s >> 40
struct KnownStream {
    uint32_t seed;
    uint64_t initial_state;
    uint8_t bytes[8];
    uint64_t state_after_8;
};

const KnownStream kKnown[] = {
    {0x00000000u,
     0x5DEECE66Dull,
     {0xBB, 0xD4, 0x3D, 0x9B, 0xA3, 0x4F, 0x8C, 0x1D},
     0x1df425034d55ull},
    {0x00000001u,
     0x5DEECE66Cull,
     {0xBB, 0x19, 0x68, 0x68, 0x35, 0x09, 0x55, 0xA8},
     0xa8ab85ddae34ull},
    {0x12345678u,
     0x5ccd8b015ull,
     {0x69, 0xC3, 0x6A, 0x00, 0x4A, 0x67, 0xF0, 0x67},
     0x674abfefa3fdull},
    {0xFFFFFFFFu,
     0x521131992ull,
     {0x2B, 0xE3, 0x76, 0xA2, 0xEC, 0xD1, 0xF3, 0x3C},
     0x3ca2c50ce01aull},
};

TEST(PayloadKeystream, MatchesIndependentlyComputedSequences) {
    for (const KnownStream& k : kKnown) {
        SCOPED_TRACE(k.seed);
        QvrkKeystream s;
        qvrk_keystream_init(&s, k.seed);
        EXPECT_EQ(s.state, k.initial_state);
        for (uint8_t expected : k.bytes)
            EXPECT_EQ(qvrk_keystream_next(&s), expected);
        EXPECT_EQ(s.state, k.state_after_8);

        uint8_t data[8] = {};
        qvrk_scramble(k.seed, data, sizeof data);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(data[i], k.bytes[i]);
    }
}

TEST(PayloadKeystream, ChunkedXorRunsOnAcrossCallsAndUndoesItself) {
    std::vector<uint8_t> data(30000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7 + 3);
    std::vector<uint8_t> whole = data;
    qvrk_scramble(0xCAFEBABEu, whole.data(), whole.size());
    ASSERT_NE(whole, data);

    std::vector<uint8_t> chunked = data;
    QvrkKeystream s;
    qvrk_keystream_init(&s, 0xCAFEBABEu);
    for (size_t at = 0; at < chunked.size(); at += 12000) {
        size_t n = std::min<size_t>(12000, chunked.size() - at);
        qvrk_keystream_xor(&s, chunked.data() + at, n);
    }
    EXPECT_EQ(chunked, whole);

    qvrk_scramble(0xCAFEBABEu, whole.data(), whole.size());
    EXPECT_EQ(whole, data);
}

TEST(PayloadKeystream, SeedsWrapInThirtyTwoBits) {
    EXPECT_EQ(qvrk_settings_seed(0), 0u);
    EXPECT_EQ(qvrk_record_seed(0, 0), 1u);
    EXPECT_EQ(qvrk_settings_seed(0x9ABCDEF1u), 0x70a3d679u);
    EXPECT_EQ(qvrk_record_seed(0x9ABCDEF1u, 3), 0x70a3d67du);
    EXPECT_EQ(qvrk_record_seed(0xFFFFFFFFu, 0), 0xFFFFFFF8u);
    EXPECT_EQ(qvrk_data_seed(0x12345678u), 0x12345678u);
}

} // namespace
