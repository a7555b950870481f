#include "media/base/kz_stream.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>
#include <zlib.h>

#include <gtest/gtest.h>

#include "media/base/kz_memory.h"

namespace {

std::vector<uint8_t> Bytes(const KZMemoryStream& s) {
    return std::vector<uint8_t>(s.GetData(), s.GetData() + s.GetLength());
}

TEST(KZMemoryStream, PutsLittleEndianAndAppends) {
    KZMemoryStream s;
    ASSERT_TRUE(s.PutByte(0xAB));
    ASSERT_TRUE(s.PutU16(0x1234));
    ASSERT_TRUE(s.PutU32(0x89ABCDEFu));
    ASSERT_TRUE(s.PutU64(0x0102030405060708ull));
    ASSERT_TRUE(s.WriteBlock("xy", 2));
    EXPECT_TRUE(s.WriteBlock("ignored", 0));
    EXPECT_TRUE(s.WriteBlock(nullptr, -5));
    EXPECT_EQ(Bytes(s), (std::vector<uint8_t>{0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 8, 7, 6, 5,
                                              4, 3, 2, 1, 'x', 'y'}));
    EXPECT_EQ(s.GetSize(), 17);
    EXPECT_TRUE(s.Flush());
    EXPECT_TRUE(s.Finish());
    s.Reset();
    EXPECT_EQ(s.GetSize(), 0);
    std::vector<uint8_t> big(100000, 7);
    ASSERT_TRUE(s.WriteBlock(big.data(), int(big.size())));
    EXPECT_EQ(Bytes(s), big);
    int length = 0;
    uint8_t* block = s.Detach(&length);
    EXPECT_EQ(length, 100000);
    EXPECT_EQ(s.GetLength(), 0);
    KZFree(block);
}

TEST(KZMemoryStream, AllocationFailureSticks) {
    KZMemoryStream s;
    ASSERT_TRUE(s.PutU32(1));
    std::vector<uint8_t> more(1000, 1);
    KZFailAllocationsAfter(0);
    EXPECT_FALSE(s.WriteBlock(more.data(), int(more.size())));
    KZFailAllocationsAfter(-1);
    EXPECT_EQ(s.GetError(), KZ_STREAM_NO_MEMORY);
    EXPECT_FALSE(s.PutByte(1));
    EXPECT_FALSE(s.WriteBlock(more.data(), 1));
    EXPECT_EQ(s.GetLength(), 4); // what was written stays
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& compressed, bool raw, int* rc_out) {
    z_stream zs;
    memset(&zs, 0, sizeof(zs));
    EXPECT_EQ(inflateInit2(&zs, raw ? -15 : 15), Z_OK);
    std::vector<uint8_t> out;
    std::vector<uint8_t> chunk(65536);
    zs.next_in = const_cast<Bytef*>(compressed.data());
    zs.avail_in = uInt(compressed.size());
    int rc;
    do {
        zs.next_out = chunk.data();
        zs.avail_out = uInt(chunk.size());
        rc = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - zs.avail_out));
    } while (rc == Z_OK);
    *rc_out = rc;
    EXPECT_EQ(zs.avail_in, 0u) << "bytes after the compressed stream";
    inflateEnd(&zs);
    return out;
}

std::vector<uint8_t> Sample(size_t n) {
    // Text-like and compressible, with some noise so output spans many chunks.
    std::mt19937 random(7);
    std::vector<uint8_t> data(n);
    for (size_t i = 0; i < n; ++i)
        data[i] = (random() % 4 == 0) ? uint8_t(random()) : uint8_t("scrkit base "[i % 12]);
    return data;
}

TEST(KZDeflateStream, RoundTripsInBothForms) {
    for (bool raw : {false, true}) {
        for (size_t n : {size_t(0), size_t(1), size_t(100), size_t(4095), size_t(4096),
                         size_t(4097), size_t(70000), size_t(3u << 20)}) {
            std::vector<uint8_t> input = Sample(n);
            KZMemoryStream target;
            KZDeflateStream deflate(&target, raw ? -9 : 9);
            EXPECT_EQ(deflate.IsRaw(), raw);
            EXPECT_EQ(deflate.GetLevel(), 9);
            // Uneven pieces, so staging boundaries fall everywhere.
            size_t at = 0, piece = 1;
            while (at < n) {
                size_t take = std::min(piece, n - at);
                ASSERT_TRUE(deflate.WriteBlock(input.data() + at, int(take)));
                at += take;
                piece = piece * 3 + 1;
            }
            EXPECT_EQ(deflate.GetSize(), int64_t(n));
            ASSERT_TRUE(deflate.Finish()) << n;
            EXPECT_EQ(deflate.GetError(), 0);
            EXPECT_EQ(deflate.GetOutputSize(), target.GetLength());
            std::vector<uint8_t> compressed = Bytes(target);
            if (!raw) {
                ASSERT_GE(compressed.size(), 2u);
                EXPECT_EQ(compressed[0], 0x78); // zlib header, 32K window
                EXPECT_EQ(compressed[1], 0xDA); // level 9
            }
            int rc = 0;
            std::vector<uint8_t> back = Inflate(compressed, raw, &rc);
            EXPECT_EQ(rc, Z_STREAM_END) << "raw " << raw << " size " << n;
            EXPECT_TRUE(back == input) << "raw " << raw << " size " << n;
        }
    }
}

TEST(KZDeflateStream, ResetStartsAFreshStreamAndPutsGoThroughWrite) {
    KZMemoryStream target;
    KZDeflateStream deflate(&target, 6);
    ASSERT_TRUE(deflate.WriteBlock("garbage", 7));
    deflate.Reset();
    target.Reset();
    ASSERT_TRUE(deflate.PutU32(0x04030201u));
    ASSERT_TRUE(deflate.PutU16(0x0605));
    ASSERT_TRUE(deflate.PutByte(7));
    ASSERT_TRUE(deflate.Finish());
    int rc = 0;
    EXPECT_EQ(Inflate(Bytes(target), false, &rc), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(rc, Z_STREAM_END);
    EXPECT_FALSE(deflate.WriteBlock("late", 4)); // nothing goes after the end
}

// A target that fails after a number of writes, and counts its flushes.
class FailingStream : public KZStream {
public:
    explicit FailingStream(int ok_writes) : ok_writes(ok_writes) {}
    bool WriteBlock(const void*, int length) override {
        if (ok_writes-- <= 0)
            return false;
        size += length;
        return true;
    }
    bool Flush() override {
        ++flushes;
        return true;
    }
    int64_t GetSize() const override { return size; }
    int ok_writes;
    int flushes = 0;
    int64_t size = 0;
};

TEST(KZDeflateStream, ErrorsAreReportedAndTheFirstSticks) {
    KZDeflateStream no_target(nullptr, 9);
    EXPECT_EQ(no_target.GetError(), KZ_STREAM_NO_TARGET);
    EXPECT_FALSE(no_target.WriteBlock("x", 1));
    EXPECT_FALSE(no_target.Finish());

    FailingStream failing(0);
    KZDeflateStream deflate(&failing, -1);
    std::vector<uint8_t> noise = Sample(200000);
    bool ok = true;
    for (size_t at = 0; ok && at < noise.size(); at += 1000)
        ok = deflate.WriteBlock(noise.data() + at, 1000);
    if (ok)
        ok = deflate.Finish();
    EXPECT_FALSE(ok);
    EXPECT_EQ(deflate.GetError(), KZ_STREAM_TARGET_FAILED);
    failing.ok_writes = 1000;
    EXPECT_FALSE(deflate.WriteBlock("x", 1));
    EXPECT_FALSE(deflate.Finish());
    EXPECT_EQ(deflate.GetError(), KZ_STREAM_TARGET_FAILED);

    FailingStream fine(1000);
    {
        KZDeflateStream ok_stream(&fine, 9);
        ASSERT_TRUE(ok_stream.WriteBlock("abc", 3));
        ASSERT_TRUE(ok_stream.Finish());
    }
    EXPECT_EQ(fine.flushes, 1); // finishing flushes the target

    KZMemoryStream target;
    KZFailAllocationsAfter(0);
    KZDeflateStream starved(&target, 9);
    KZFailAllocationsAfter(-1);
    EXPECT_EQ(starved.GetError(), KZ_STREAM_NO_MEMORY);
    EXPECT_FALSE(starved.WriteBlock("x", 1));
}

TEST(KZMemoryInput, ReadsAndFailsPastTheEnd) {
    const uint8_t data[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 'a', 'b', '\n', 'c', 'd'};
    KZMemoryInput in(data, sizeof(data));
    uint8_t b;
    uint16_t w;
    uint32_t d;
    uint64_t q;
    ASSERT_TRUE(in.ReadByte(&b));
    EXPECT_EQ(b, 1);
    ASSERT_TRUE(in.ReadU16(&w));
    EXPECT_EQ(w, 0x0302);
    ASSERT_TRUE(in.ReadU32(&d));
    EXPECT_EQ(d, 0x07060504u);
    EXPECT_EQ(in.GetError(), 0);
    // Five bytes left of eight: fails, yields zero, moves nowhere.
    ASSERT_TRUE(in.Seek(10));
    q = 99;
    EXPECT_FALSE(in.ReadU64(&q));
    EXPECT_EQ(q, 0u);
    EXPECT_EQ(in.GetError(), -1);
    EXPECT_EQ(in.GetPosition(), 10);
    char line[16];
    EXPECT_EQ(in.ReadLine(line, sizeof(line)), 3);
    EXPECT_STREQ(line, "ab\n");
    EXPECT_EQ(in.ReadLine(line, 2), 1); // size - 1 bytes at most
    EXPECT_STREQ(line, "c");
    EXPECT_EQ(in.ReadLine(line, sizeof(line)), 1);
    EXPECT_STREQ(line, "d");
    EXPECT_EQ(in.ReadLine(line, sizeof(line)), 0);
    EXPECT_STREQ(line, "");

    KZMemoryInput blocks(data, sizeof(data));
    uint8_t out[32];
    EXPECT_EQ(blocks.ReadBlock(out, 10), 10);
    EXPECT_EQ(blocks.ReadBlock(out, 10), 5); // what is left
    EXPECT_EQ(out[4], 'd');
    EXPECT_EQ(blocks.GetError(), 0);
    EXPECT_EQ(blocks.ReadBlock(out, 10), 0);
    EXPECT_EQ(blocks.GetError(), -1);
    w = 5;
    EXPECT_FALSE(blocks.ReadU16(&w));
    EXPECT_EQ(w, 0);
    EXPECT_FALSE(blocks.Seek(16));
}

} // namespace
