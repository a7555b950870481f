#include "media/movie/vm_bit_buffer.h"

#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "media/base/kz_memory.h"
#include "media/base/kz_stream.h"
#include "media/movie/vm_bitmap.h"
#include "media/movie/vm_movie.h"
#include "media/movie/vm_shape.h"
#include "media/picture/kz_picture.h"
#include "tests/unit/media/movie/movie_test_support.h"

namespace {

typedef std::vector<int64_t> Values;

Values FromBytes(const uint8_t* data, size_t n) {
    return Values(data, data + n);
}
Values FromBytes(const std::vector<uint8_t>& v) {
    return FromBytes(v.data(), v.size());
}
Values Of(const VMBitBuffer& b) {
    return FromBytes(b.Data(), b.Length());
}

Values MovieBody(const std::function<bool(VMMovie&)>& write) {
    KZMemoryStream stream;
    VMMovie movie(&stream, false);
    if (!write(movie))
        return {-1};
    return FromBytes(stream.GetData(), size_t(stream.GetLength()));
}

Values ShapeBounds(int line_width) {
    VMShape shape;
    if (line_width > 0) {
        VMLineStyle line;
        line.width = line_width;
        shape.AddLineStyle(line);
        shape.current_line_style = 1;
    }
    shape.AddRectangle(0, 0, 100, 100);
    shape.UpdateBounds();
    const VMRect& b = shape.Bounds();
    return {b.xmin, b.xmax, b.ymin, b.ymax};
}

Values AlphaPlaneOf(const uint8_t* alphas, int n) {
    KZPicture* p = KZPicture::CreatePicture(KZ_PICTURE_RGBA, n, 1);
    for (int x = 0; x < n; ++x) {
        uint8_t* px = p->Row(0) + 4 * x;
        px[0] = px[1] = px[2] = 200;
        px[3] = alphas[x];
    }
    KZMemoryStream body;
    int code = 0;
    bool ok = EncodeJpegBitmap(p, 75, &body, &code);
    delete p;
    if (!ok || code != VM_TAG_DEFINE_BITS_JPEG3)
        return {-1};
    const uint8_t* d = body.GetData();
    uint32_t offset = d[0] | d[1] << 8 | d[2] << 16 | uint32_t(d[3]) << 24;
    return FromBytes(Inflate(d + 4 + offset, size_t(body.GetLength()) - 4 - offset));
}

// A hand-made JPEG stream: start, APP0, comment, tables, frame, Huffman table, restart interval,
// scan with its data, end.
const std::vector<uint8_t> kAppSeg = {0xFF, 0xE0, 0x00, 0x07, 'J', 'F', 'I', 'F', 0x00};
const std::vector<uint8_t> kComSeg = {0xFF, 0xFE, 0x00, 0x05, 'h', 'i', '!'};
const std::vector<uint8_t> kDqtSeg = {0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01};
const std::vector<uint8_t> kSofSeg = {0xFF, 0xC0, 0x00, 0x05, 0x08, 0x00, 0x01};
const std::vector<uint8_t> kDhtSeg = {0xFF, 0xC4, 0x00, 0x03, 0x10};
const std::vector<uint8_t> kDriSeg = {0xFF, 0xDD, 0x00, 0x04, 0x00, 0x08};
const std::vector<uint8_t> kScan = {0xFF, 0xDA, 0x00, 0x03, 0x01, 0x12, 0xFF,
                                    0x00, 0x34, 0xFF, 0xD0, 0x56, 0xFF, 0xD9};

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out = {0xFF, 0xD8};
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Values Filtered(const std::vector<uint8_t>& jpeg) {
    KZMemoryStream out;
    if (!FilterJpegMarkers(jpeg.data(), jpeg.size(), &out))
        return {-1};
    return FromBytes(out.GetData(), size_t(out.GetLength()));
}

struct BitCase {
    const char* name;
    std::function<Values()> produce;
    Values expected;
};

} // namespace

// The bit- and byte-level facts of the file format, each as produced by the writer.
TEST(VMBitLevel, TableOfCases) {
    const std::vector<BitCase> cases = {
        {"RECT of zeros has width 2",
         [] {
             VMBitBuffer b;
             b.WriteRect(VMRect());
             b.AlignByte();
             return Of(b);
         },
         {0x10, 0x00}},
        {"identity MATRIX",
         [] {
             VMBitBuffer b;
             b.WriteMatrix(VMMatrix());
             b.AlignByte();
             return Of(b);
         },
         {0x04, 0x00}},
        {"62-byte body: short record header",
         [] { return MovieBody([](VMMovie& m) { return m.WriteTagHeader(12, 62); }); },
         {0x3E, 0x03}},
        {"63-byte body: long record header",
         [] { return MovieBody([](VMMovie& m) { return m.WriteTagHeader(12, 63); }); },
         {0x3F, 0x03, 63, 0, 0, 0}},
        {"frame rate 2.0 is 0x0200",
         [] { return MovieBody([](VMMovie& m) { return m.WriteMovieHeader(VMRect(), 2.0f, 1); }); },
         {0x10, 0x00, 0x00, 0x02, 0x01, 0x00}},
        {"edges of 65536 twips or more: width 17, magnitude 65535",
         [] {
             VMShape shape;
             shape.AddLine(0, 0, 70000, 0);
             shape.AddLine(70000, 0, 0, 0);
             shape.Encode(nullptr, false, true);
             return Of(*shape.Encoded());
         },
         FromBytes(Bits("0000 0000"                    // no style bits
                        "0 00001 00010 00 00"          // move to (0, 0)
                        "11 1111 00 01111111111111111" // +65535 (was 70000)
                        "11 1111 00 10000000000000001" // -65535 (was -70000)
                        "0 00000"))},                  // end of shape
        {"a 40-twip line widens the bounds by 20",
         [] { return ShapeBounds(40); },
         {-20, 121, -20, 121}},
        {"no line style: bounds not widened", [] { return ShapeBounds(0); }, {0, 101, 0, 101}},
        {"fill and line bits are at least 1",
         [] {
             VMShape shape;
             shape.AddLine(0, 0, 10, 0);
             shape.Encode(nullptr, true, false);
             return FromBytes(shape.Encoded()->Data(), 3);
         },
         {0x00, 0x00, 0x11}},
        {"RGBA alpha 0 and 255 kept, 128 stored as 129, 1 as 2, 254 as 255",
         [] {
             const uint8_t a[] = {0, 255, 128, 1, 254};
             return AlphaPlaneOf(a, 5);
         },
         {0, 255, 129, 2, 255}},
        {"JPEG loses APP0 and comment, keeps tables, frame, restart interval and scan in order",
         [] {
             return Filtered(Join({kAppSeg, kComSeg, kDqtSeg, kSofSeg, kDhtSeg, kDriSeg, kScan}));
         },
         FromBytes(Join({kDqtSeg, kSofSeg, kDhtSeg, kDriSeg, kScan}))},
        {"JPEG with a truncated segment is refused",
         [] {
             return Filtered({0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x40, 0x00});
         },
         {-1}},
        {"JPEG without a scan is refused",
         [] {
             return Filtered(Join({kDqtSeg, kSofSeg}));
         },
         {-1}},
        {"CXFORM with add terms only",
         [] {
             VMBitBuffer b;
             VMColorTransform c;
             c.add_r = 10;
             b.WriteColorTransform(c);
             b.AlignByte();
             return Of(b);
         },
         FromBytes(Bits("1 0 1010 0000001010 0000000000 0000000000"))},
        {"RECT beyond the 31-bit width is capped and clamped",
         [] {
             VMBitBuffer b;
             VMRect r;
             r.xmax = 0x50000000;
             b.WriteRect(r);
             b.AlignByte();
             return Of(b);
         },
         FromBytes(Bits("11111" + std::string(31, '0') + "0" + std::string(30, '1') +
                        std::string(62, '0')))},
    };
    for (const BitCase& c : cases)
        EXPECT_EQ(c.produce(), c.expected) << c.name;
}

TEST(VMBitBuffer, MatchesABitByBitModel) {
    std::mt19937 rng(7);
    VMBitBuffer buffer;
    std::vector<bool> model;
    for (int i = 0; i < 3000; ++i) {
        int n = int(rng() % 33);
        uint32_t value = rng();
        if (rng() % 16 == 0) {
            ASSERT_TRUE(buffer.AlignByte());
            while (model.size() % 8)
                model.push_back(false);
            continue;
        }
        ASSERT_TRUE(buffer.WriteBits(value, n));
        for (int k = n - 1; k >= 0; --k)
            model.push_back((value >> k) & 1);
    }
    ASSERT_TRUE(buffer.AlignByte());
    while (model.size() % 8)
        model.push_back(false);
    std::vector<uint8_t> expected(model.size() / 8);
    for (size_t i = 0; i < model.size(); ++i)
        if (model[i])
            expected[i / 8] |= uint8_t(0x80 >> (i % 8));
    ASSERT_EQ(buffer.Length(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(buffer.Data(), buffer.Data() + buffer.Length()), expected);
}

TEST(VMBitBuffer, ByteAppendsAlignAndAreLittleEndian) {
    VMBitBuffer b;
    b.WriteBits(1, 1);
    b.PutByte(0xAB);
    b.WriteBits(0x1FF, 9);
    b.PutU16(0x1234);
    b.PutU32(0xA1B2C3D4);
    const uint8_t bytes[] = {9, 8};
    b.PutBlock(bytes, 2);
    EXPECT_EQ(Of(b), (Values{0x80, 0xAB, 0xFF, 0x80, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 9, 8}));
}

TEST(VMBitBuffer, GrowsFromInlineStorageByHalfOrByNeed) {
    VMBitBuffer b;
    std::vector<uint8_t> block(1024);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(i * 7);
    ASSERT_TRUE(b.PutBlock(block.data(), block.size()));
    EXPECT_TRUE(b.IsInline());
    EXPECT_EQ(b.Capacity(), 1024u);
    ASSERT_TRUE(b.PutByte(0x55));
    EXPECT_FALSE(b.IsInline());
    EXPECT_EQ(b.Capacity(), 1536u);
    EXPECT_EQ(std::vector<uint8_t>(b.Data(), b.Data() + 1024), block);
    EXPECT_EQ(b.Data()[1024], 0x55);
    std::vector<uint8_t> big(10000, 1);
    ASSERT_TRUE(b.PutBlock(big.data(), big.size()));
    EXPECT_EQ(b.Capacity(), 11025u); // the need beats capacity + capacity / 2
    ASSERT_TRUE(b.PutBlock(big.data(), 1));
    EXPECT_EQ(b.Capacity(), 11025u + 11025u / 2);
    EXPECT_EQ(b.Length(), 11026u);
}

TEST(VMBitBuffer, FailedGrowthFailsTheAppendAndKeepsTheContent) {
    VMBitBuffer b;
    std::vector<uint8_t> block(1000, 3);
    ASSERT_TRUE(b.PutBlock(block.data(), block.size()));
    KZFailAllocationsAfter(0);
    bool grew = b.PutBlock(block.data(), block.size());
    KZFailAllocationsAfter(-1);
    EXPECT_FALSE(grew);
    EXPECT_EQ(b.Length(), 1000u);
    EXPECT_TRUE(b.IsInline());
}

TEST(VMBitBuffer, SignedWidths) {
    const struct {
        std::vector<int32_t> values;
        int width;
    } cases[] = {{{0}, 2},      {{1}, 2},       {{-1}, 2},          {{2}, 3},          {{0, -4}, 4},
                 {{65535}, 17}, {{-65536}, 18}, {{0x3FFFFFFF}, 31}, {{0x40000000}, 32}};
    for (const auto& c : cases)
        EXPECT_EQ(VMSignedBitWidth(c.values.data(), int(c.values.size())), c.width) << c.values[0];
}
