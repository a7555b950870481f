#include "media/movie/vm_movie.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "media/base/kz_stream.h"
#include "media/movie/vm_shape.h"
#include "tests/unit/media/movie/movie_test_support.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes Written(const std::function<bool(VMMovie&)>& write) {
    KZMemoryStream stream;
    VMMovie movie(&stream, false);
    EXPECT_TRUE(write(movie));
    return Bytes(stream.GetData(), stream.GetData() + stream.GetLength());
}

// The same small movie, compressed or not; returns the file bytes.
Bytes SampleMovie(bool compressed) {
    KZMemoryStream stream;
    VMMovie movie(&stream, compressed);
    VMRect frame;
    frame.xmax = 4000;
    frame.ymax = 3000;
    VMShape shape;
    VMFillStyle fill;
    fill.r = 200;
    shape.AddFillStyle(fill);
    shape.current_fill_style0 = 1;
    shape.AddRectangle(0, 0, 1000, 1000);
    VMBitBuffer actions;
    actions.PutByte(0x07);
    bool ok = movie.WriteMovieHeader(frame, 12.0f, 1) && movie.SetBackgroundColor(1, 2, 3, 255) &&
              shape.Encode(nullptr, true, false) && movie.DefineShape(1, &shape) &&
              movie.PlaceObject(1, 1, VMMatrix()) && movie.ShowFrame() && movie.DoAction(actions) &&
              movie.End();
    EXPECT_TRUE(ok);
    uint8_t header[8];
    movie.WriteFileHeader(header);
    Bytes file(header, header + 8);
    file.insert(file.end(), stream.GetData(), stream.GetData() + stream.GetLength());
    return file;
}

uint32_t U32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

} // namespace

TEST(VMMovie, TagOperationsWriteTheirRecords) {
    const struct {
        const char* name;
        std::function<bool(VMMovie&)> write;
        Bytes expected;
    } cases[] = {
        {"background colour without alpha",
         [](VMMovie& m) { return m.SetBackgroundColor(1, 2, 3, 4); },
         {0x43, 0x02, 1, 2, 3}},
        {"empty tag 9", [](VMMovie& m) { return m.WriteEmptyTag9(); }, {0x40, 0x02}},
        {"show frame", [](VMMovie& m) { return m.ShowFrame(); }, {0x40, 0x00}},
        {"end", [](VMMovie& m) { return m.End(); }, {0x00, 0x00}},
        {"stop action with its end byte",
         [](VMMovie& m) {
             VMBitBuffer actions;
             return actions.PutByte(0x07) && m.DoAction(actions);
         },
         {0x02, 0x03, 0x07, 0x00}},
        {"place object, identity matrix",
         [](VMMovie& m) { return m.PlaceObject(2, 1, VMMatrix()); },
         {0x06, 0x01, 2, 0, 1, 0, 0x04, 0x00}},
        {"place object with a colour transform",
         [](VMMovie& m) {
             VMColorTransform cx;
             cx.mul_r = 128; // multiply only: 0 1 1010, then 128 256 256 in 10 bits
             VMMatrix shifted;
             shifted.translate_x = 1;
             return m.PlaceObject(3, 2, shifted, &cx);
         },
         [] {
             Bytes b = {0x0B, 0x01, 3, 0, 2, 0};
             // The colour transform starts on the next byte after the matrix.
             Bytes bits = Bits("0 0 00010 01 00 00000"
                               "0 1 1010 0010000000 0100000000 0100000000");
             b.insert(b.end(), bits.begin(), bits.end());
             return b;
         }()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Written(c.write), c.expected) << c.name;
}

TEST(VMMovie, ShowFrameCountsFrames) {
    VMMovie movie;
    EXPECT_EQ(movie.FrameCounter(), 0);
    movie.ShowFrame();
    movie.ShowFrame();
    EXPECT_EQ(movie.FrameCounter(), 2);
}

TEST(VMMovie, UnencodedShapeIsNotWritten) {
    KZMemoryStream stream;
    VMMovie movie(&stream, false);
    VMShape shape;
    shape.AddLine(0, 0, 10, 10);
    EXPECT_FALSE(movie.DefineShape(1, &shape));
    EXPECT_EQ(stream.GetLength(), 0);
}

TEST(VMMovie, FileHeaderCountsFromTheStartOffset) {
    KZMemoryStream stream;
    ASSERT_TRUE(stream.WriteBlock("prefix", 6));
    VMMovie movie(&stream, false);
    EXPECT_EQ(movie.Version(), 4);
    EXPECT_EQ(movie.StartOffset(), 6);
    ASSERT_TRUE(movie.WriteMovieHeader(VMRect(), 2.0f, 1));
    ASSERT_TRUE(movie.End());
    uint8_t header[8];
    movie.WriteFileHeader(header);
    EXPECT_EQ(Bytes(header, header + 8), (Bytes{'F', 'W', 'S', 4, 16, 0, 0, 0}));

    VMMovie own; // its own memory stream
    ASSERT_TRUE(own.IsValid());
    EXPECT_EQ(own.StartOffset(), 0);
    ASSERT_TRUE(own.End());
    own.WriteFileHeader(header);
    EXPECT_EQ(U32(Bytes(header, header + 8), 4), 10u);
}

TEST(VMMovie, CompressedMovieInflatesToTheUncompressedBody) {
    Bytes plain = SampleMovie(false);
    Bytes packed = SampleMovie(true);
    ASSERT_GT(plain.size(), 8u);
    ASSERT_GT(packed.size(), 8u);
    EXPECT_EQ(Bytes(plain.begin(), plain.begin() + 4), (Bytes{'F', 'W', 'S', 4}));
    EXPECT_EQ(Bytes(packed.begin(), packed.begin() + 4), (Bytes{'C', 'W', 'S', 6}));
    EXPECT_EQ(U32(plain, 4), plain.size());
    EXPECT_EQ(U32(packed, 4), plain.size()); // the uncompressed length
    Bytes inflated = Inflate(packed.data() + 8, packed.size() - 8);
    EXPECT_EQ(inflated, Bytes(plain.begin() + 8, plain.end()));

    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    for (const Bytes* file : {&plain, &packed}) {
        std::string path = TestDir() + (file == &plain ? "/sample-fws.swf" : "/sample-cws.swf");
        ASSERT_TRUE(WriteBytes(path, *file));
        SwfCheck check = RunSwfCheck(path);
        ASSERT_TRUE(check.Ok()) << check.output;
        EXPECT_EQ(check.TagCodes(), (std::vector<int>{9, 2, 4, 1, 12, 0}));
        EXPECT_EQ(check.First("background"),
                  (std::vector<std::string>{"background", "1", "2", "3"}));
        EXPECT_EQ(check.First("actions"), (std::vector<std::string>{"actions", "ActionStop"}));
        std::vector<std::string> header = check.First("header");
        ASSERT_EQ(header.size(), 11u);
        EXPECT_EQ(header[1], file == &plain ? "FWS" : "CWS");
        EXPECT_EQ(header[9], "3072"); // 12.0 in 8.8
    }
}

TEST(VMMovie, CompressedEndFailsWhenTheTargetRefuses) {
    struct Refusing : KZStream {
        bool WriteBlock(const void*, int) override { return false; }
        int64_t GetSize() const override { return 0; }
    } target;
    VMMovie movie(&target, true);
    ASSERT_TRUE(movie.IsValid());
    EXPECT_TRUE(movie.ShowFrame()); // staged in the deflate stream
    EXPECT_FALSE(movie.End());
}

TEST(SwfCheck, RejectsAMovieWithAWrongTagLength) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    // The independent reader must be able to fail: the DoAction record claims one byte more.
    Bytes file = SampleMovie(false);
    const Bytes action = {0x02, 0x03, 0x07, 0x00};
    auto at = std::search(file.begin(), file.end(), action.begin(), action.end());
    ASSERT_NE(at, file.end());
    *at = 0x03;
    std::string path = TestDir() + "/corrupt.swf";
    ASSERT_TRUE(WriteBytes(path, file));
    EXPECT_FALSE(RunSwfCheck(path).Ok());
}
