#include "runtime/core/qvrk_inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/unit/runtime/core/zlib_raw_deflate.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Inflated {
    QvrkInflateResult result;
    size_t produced;
    Bytes out;
};

// The input and output live in heap blocks of exactly their size, so that the sanitizer build
// catches any read or write outside them.
Inflated Inflate(const Bytes& in, size_t expected) {
    auto work = std::make_unique<QvrkInflater>();
    std::unique_ptr<uint8_t[]> input(in.empty() ? nullptr : new uint8_t[in.size()]);
    std::copy(in.begin(), in.end(), input.get());
    std::unique_ptr<uint8_t[]> output(expected == 0 ? nullptr : new uint8_t[expected]);
    Inflated r{};
    r.result =
        qvrk_inflate(work.get(), input.get(), in.size(), output.get(), expected, &r.produced);
    r.out.assign(output.get(), output.get() + r.produced);
    return r;
}

Bytes RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& x : b)
        x = static_cast<uint8_t>(rng());
    return b;
}

// Text-like data: words from a small vocabulary, with the odd random byte.
Bytes Compressible(size_t n, uint32_t seed) {
    static const char* const words[] = {"movie ", "screen ", "saver ", "payload ",
                                        "frame ", "the ",    "of ",    "a ",
                                        "QVRK ",  "\r\n",    "shape ", "bitmap "};
    std::mt19937 rng(seed);
    Bytes b;
    while (b.size() < n) {
        if (rng() % 50 == 0)
            b.push_back(static_cast<uint8_t>(rng()));
        const char* w = words[rng() % 12];
        b.insert(b.end(), w, w + strlen(w));
    }
    b.resize(n);
    return b;
}

struct Corpus {
    std::string name;
    Bytes data;
};

std::vector<Corpus> MakeCorpus() {
    std::vector<Corpus> c;
    c.push_back({"empty", {}});
    c.push_back({"one byte", {0x42}});
    c.push_back({"random 100k", RandomBytes(100000, 1)});
    c.push_back({"text 300k", Compressible(300000, 2)});
    c.push_back({"runs", Bytes(70000, 0x00)});
    Bytes far = RandomBytes(32768, 3);
    Bytes twice = far;
    twice.insert(twice.end(), far.begin(), far.end());
    c.push_back({"repeat at 32k", twice});
    Bytes small_period;
    for (int i = 0; i < 50000; ++i)
        small_period.push_back(static_cast<uint8_t>("abcdefg"[i % 7]));
    c.push_back({"period 7", small_period});
    return c;
}

TEST(RawInflate, AgreesWithZlibAtEveryLevelAndStrategy) {
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (const Corpus& c : MakeCorpus()) {
        for (int strategy : strategies) {
            for (int level = 0; level <= 9; ++level) {
                SCOPED_TRACE(c.name + " strategy " + std::to_string(strategy) + " level " +
                             std::to_string(level));
                Bytes z = ZlibRawDeflate(c.data, level, strategy);
                Inflated r = Inflate(z, c.data.size());
                ASSERT_EQ(r.result, QVRK_INFLATE_OK) << qvrk_inflate_result_text(r.result);
                ASSERT_EQ(r.produced, c.data.size());
                ASSERT_TRUE(r.out == c.data);
            }
        }
    }
}

TEST(RawInflate, DecodesSeveralMegabytes) {
    Bytes data = Compressible(6 << 20, 7);
    Bytes random = RandomBytes(1 << 20, 8);
    data.insert(data.begin() + (3 << 20), random.begin(), random.end());
    Bytes z = ZlibRawDeflate(data, 9);
    Inflated r = Inflate(z, data.size());
    ASSERT_EQ(r.result, QVRK_INFLATE_OK);
    EXPECT_TRUE(r.out == data);
}

TEST(RawInflate, EnforcesTheExpectedSizeExactly) {
    Bytes data = Compressible(20000, 4);
    for (int level : {0, 1, 9}) {
        Bytes z = ZlibRawDeflate(data, level);
        Inflated shorter = Inflate(z, data.size() - 1);
        EXPECT_EQ(shorter.result, QVRK_INFLATE_TOO_LONG);
        // What was written before the limit was hit is the start of the data.
        EXPECT_LE(shorter.produced, data.size() - 1);
        EXPECT_TRUE(std::equal(shorter.out.begin(), shorter.out.end(), data.begin()));
        EXPECT_EQ(Inflate(z, data.size() + 1).result, QVRK_INFLATE_TOO_SHORT);
        EXPECT_EQ(Inflate(z, 0).result, QVRK_INFLATE_TOO_LONG);
    }
    Bytes empty = ZlibRawDeflate({}, 9);
    EXPECT_EQ(Inflate(empty, 0).result, QVRK_INFLATE_OK);
    EXPECT_EQ(Inflate(empty, 1).result, QVRK_INFLATE_TOO_SHORT);
    EXPECT_EQ(Inflate({}, 0).result, QVRK_INFLATE_TRUNCATED) << "no input is no stream";
}

TEST(RawInflate, EveryTruncationFails) {
    for (int level : {0, 1, 6, 9}) {
        Bytes data = Compressible(3000, 5);
        Bytes more = RandomBytes(500, 6);
        data.insert(data.end(), more.begin(), more.end());
        Bytes z = ZlibRawDeflate(data, level);
        for (size_t n = 0; n < z.size(); ++n) {
            Bytes cut(z.begin(), z.begin() + n);
            Inflated r = Inflate(cut, data.size());
            ASSERT_NE(r.result, QVRK_INFLATE_OK) << "level " << level << " cut at " << n;
            ASSERT_LE(r.produced, data.size());
        }
    }
}

TEST(RawInflate, CorruptStreamsFailOrStayInsideTheirBuffers) {
    Bytes data = Compressible(40000, 9);
    std::mt19937 rng(10);
    for (int level : {1, 9}) {
        Bytes z = ZlibRawDeflate(data, level, level == 1 ? Z_FIXED : Z_DEFAULT_STRATEGY);
        int failures = 0;
        for (int round = 0; round < 400; ++round) {
            Bytes bad = z;
            int flips = 1 + rng() % 4;
            for (int f = 0; f < flips; ++f)
                bad[rng() % bad.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
            // Random sizes too, so the output limit meets corrupt matches.
            size_t expected = (round % 3 == 0) ? rng() % (data.size() + 1) : data.size();
            Inflated r = Inflate(bad, expected);
            ASSERT_LE(r.produced, expected);
            if (r.result == QVRK_INFLATE_OK)
                ASSERT_EQ(r.produced, expected);
            else
                ++failures;
        }
        EXPECT_GT(failures, 300);
    }
}

// Writes deflate bit fields least significant bit first, Huffman codes most significant first.
class BitWriter {
public:
    void Bits(uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1);
    }
    void Code(uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1);
    }
    // Fixed-code literal/length symbol.
    void Fixed(int symbol) {
        if (symbol < 144)
            Code(0x30 + symbol, 8);
        else if (symbol < 256)
            Code(0x190 + symbol - 144, 9);
        else if (symbol < 280)
            Code(symbol - 256, 7);
        else
            Code(0xC0 + symbol - 280, 8);
    }
    void Align() {
        while (count_ % 8 != 0)
            Bit(0);
    }
    void Byte(uint8_t b) { Bits(b, 8); }
    Bytes Done() {
        Align();
        return bytes_;
    }

private:
    void Bit(uint32_t b) {
        if (count_ % 8 == 0)
            bytes_.push_back(0);
        bytes_.back() |= static_cast<uint8_t>(b << (count_ % 8));
        ++count_;
    }
    Bytes bytes_;
    size_t count_ = 0;
};

Bytes Raw(std::initializer_list<uint8_t> b) {
    return Bytes(b);
}

TEST(RawInflate, CraftedStreams) {
    // Stored block "abc".
    Inflated stored = Inflate(Raw({0x01, 0x03, 0x00, 0xFC, 0xFF, 'a', 'b', 'c'}), 3);
    EXPECT_EQ(stored.result, QVRK_INFLATE_OK);
    EXPECT_EQ(std::string(stored.out.begin(), stored.out.end()), "abc");
    // Bytes after the final block are ignored.
    EXPECT_EQ(Inflate(Raw({0x01, 0x01, 0x00, 0xFE, 0xFF, 'a', 0x99, 0x98}), 1).result,
              QVRK_INFLATE_OK);

    struct Case {
        const char* what;
        Bytes stream;
        size_t expected;
        QvrkInflateResult result;
    };
    std::vector<Case> cases = {
        {"block type 3", Raw({0x07}), 0, QVRK_INFLATE_BAD_BLOCK_TYPE},
        {"stored length without complement", Raw({0x01, 0x05, 0x00, 0x00, 0x00}), 5,
         QVRK_INFLATE_BAD_STORED_LENGTH},
        {"stored data cut short", Raw({0x01, 0x03, 0x00, 0xFC, 0xFF, 'a'}), 3,
         QVRK_INFLATE_TRUNCATED},
        {"stored header cut short", Raw({0x01, 0x03, 0x00, 0xFC}), 3, QVRK_INFLATE_TRUNCATED},
        {"non-final block without successor", Raw({0x00, 0x01, 0x00, 0xFE, 0xFF, 'a'}), 1,
         QVRK_INFLATE_TRUNCATED},
    };
    {
        BitWriter w; // a match before any output
        w.Bits(1, 1);
        w.Bits(1, 2);
        w.Fixed(257);
        w.Code(0, 5);
        w.Fixed(256);
        cases.push_back({"distance before the start", w.Done(), 3, QVRK_INFLATE_BAD_DISTANCE});
    }
    {
        BitWriter w;
        w.Bits(1, 1);
        w.Bits(1, 2);
        w.Fixed('x');
        w.Fixed(257);
        w.Code(1, 5); // distance 2, one byte of output so far
        w.Fixed(256);
        cases.push_back({"distance one past the output", w.Done(), 4, QVRK_INFLATE_BAD_DISTANCE});
    }
    for (int symbol : {286, 287}) {
        BitWriter w;
        w.Bits(1, 1);
        w.Bits(1, 2);
        w.Fixed(symbol);
        cases.push_back({"length symbol 286/287", w.Done(), 10, QVRK_INFLATE_BAD_SYMBOL});
    }
    for (int symbol : {30, 31}) {
        BitWriter w;
        w.Bits(1, 1);
        w.Bits(1, 2);
        w.Fixed('x');
        w.Fixed(257);
        w.Code(symbol, 5);
        w.Fixed(256);
        cases.push_back({"distance symbol 30/31", w.Done(), 4, QVRK_INFLATE_BAD_SYMBOL});
    }
    {
        BitWriter w; // dynamic header whose code length code is over-subscribed
        w.Bits(1, 1);
        w.Bits(2, 2);
        w.Bits(0, 5);
        w.Bits(0, 5);
        w.Bits(15, 4);
        for (int i = 0; i < 19; ++i)
            w.Bits(1, 3);
        cases.push_back({"over-subscribed code length code", w.Done(), 1, QVRK_INFLATE_BAD_CODE});
    }
    {
        BitWriter w; // code length code complete (two 1-bit codes for lengths 0 and 8) but
                     // literal/length lengths that leave out the end-of-block symbol
        w.Bits(1, 1);
        w.Bits(2, 2);
        w.Bits(0, 5); // 257 literal/length codes
        w.Bits(0, 5); // 1 distance code
        w.Bits(14,
               4); // 18 code length code lengths: order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1
        const int order_lengths[18] = {0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        for (int l : order_lengths)
            w.Bits(l, 3);
        // Symbol 0 has code 0, symbol 8 has code 1: 256 literals of length 8, then 0 for 256,
        // then 0 for the distance.
        for (int i = 0; i < 256; ++i)
            w.Code(1, 1);
        w.Code(0, 1);
        w.Code(0, 1);
        cases.push_back({"no end-of-block code", w.Done(), 1, QVRK_INFLATE_BAD_CODE});
    }
    {
        BitWriter w; // repeat of the previous length with no previous length
        w.Bits(1, 1);
        w.Bits(2, 2);
        w.Bits(0, 5);
        w.Bits(0, 5);
        w.Bits(0, 4); // 4 lengths: for 16, 17, 18, 0
        w.Bits(1, 3);
        w.Bits(0, 3);
        w.Bits(0, 3);
        w.Bits(1, 3); // symbols 0 and 16 with one bit each: 0 -> code 0, 16 -> code 1
        w.Code(1, 1);
        w.Bits(0, 2);
        cases.push_back({"repeat with nothing to repeat", w.Done(), 1, QVRK_INFLATE_BAD_CODE});
    }
    for (const Case& c : cases) {
        Inflated r = Inflate(c.stream, c.expected);
        EXPECT_EQ(r.result, c.result) << c.what << ": " << qvrk_inflate_result_text(r.result);
    }
}

TEST(RawInflate, MatchAtTheFullWindowDistance) {
    Bytes window = RandomBytes(32768, 11);
    BitWriter w;
    w.Bits(0, 1); // stored block, not final
    w.Bits(0, 2);
    w.Align();
    w.Bits(32768, 16);
    w.Bits(0xFFFF ^ 32768, 16);
    for (uint8_t b : window)
        w.Byte(b);
    w.Bits(1, 1); // final fixed block: length 258 at distance 32768
    w.Bits(1, 2);
    w.Fixed(285);
    w.Code(29, 5);
    w.Bits(32768 - 24577, 13);
    w.Fixed(256);
    Bytes expected = window;
    expected.insert(expected.end(), window.begin(), window.begin() + 258);
    Inflated r = Inflate(w.Done(), expected.size());
    ASSERT_EQ(r.result, QVRK_INFLATE_OK) << qvrk_inflate_result_text(r.result);
    EXPECT_TRUE(r.out == expected);
}

TEST(RawInflate, RejectsNullBuffersWithASize) {
    QvrkInflater work;
    uint8_t empty_stream[2] = {0x03, 0x00};
    EXPECT_EQ(qvrk_inflate(&work, nullptr, 2, empty_stream, 1, nullptr), QVRK_INFLATE_BAD_ARGUMENT);
    EXPECT_EQ(qvrk_inflate(&work, empty_stream, 2, nullptr, 1, nullptr), QVRK_INFLATE_BAD_ARGUMENT);
    EXPECT_EQ(qvrk_inflate(nullptr, empty_stream, 2, nullptr, 0, nullptr),
              QVRK_INFLATE_BAD_ARGUMENT);
    EXPECT_EQ(qvrk_inflate(&work, empty_stream, 2, nullptr, 0, nullptr), QVRK_INFLATE_OK);
}

} // namespace
