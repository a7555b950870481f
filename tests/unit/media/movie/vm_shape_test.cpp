#include "media/movie/vm_shape.h"

#include <gtest/gtest.h>

#include "media/base/kz_stream.h"
#include "media/movie/vm_bitmap.h"
#include "media/movie/vm_lib.h"
#include "media/picture/kz_picture.h"
#include "media/movie/vm_movie.h"
#include "tests/unit/media/movie/movie_test_support.h"

namespace {

std::vector<uint8_t> Bytes(const VMShape& shape) {
    const VMBitBuffer* b = shape.Encoded();
    return b ? std::vector<uint8_t>(b->Data(), b->Data() + b->Length()) : std::vector<uint8_t>();
}

// Writes a movie with one shape and gives back what the independent reader saw.
SwfCheck CheckShapeMovie(VMShape& shape, const std::string& name) {
    std::string path = TestDir() + "/" + name + ".swf";
    KZMemoryStream stream;
    VMMovie movie(&stream, false);
    VMRect frame;
    frame.xmax = 2000;
    frame.ymax = 2000;
    EXPECT_TRUE(shape.Encode(nullptr, true, false));
    EXPECT_TRUE(movie.WriteMovieHeader(frame, 12.0f, 1));
    EXPECT_TRUE(movie.DefineShape(1, &shape));
    EXPECT_TRUE(movie.ShowFrame());
    EXPECT_TRUE(movie.End());
    uint8_t header[8];
    movie.WriteFileHeader(header);
    std::vector<uint8_t> file(header, header + 8);
    file.insert(file.end(), stream.GetData(), stream.GetData() + stream.GetLength());
    EXPECT_TRUE(WriteBytes(path, file));
    return RunSwfCheck(path);
}

typedef std::vector<std::string> Line;

} // namespace

TEST(VMShape, RectangleEdgesRunRoundTheExtendedCorners) {
    VMShape shape;
    shape.current_fill_style0 = 1;
    ASSERT_TRUE(shape.AddRectangle(30, 40, 10, 20)); // corners in either order
    ASSERT_EQ(shape.EdgeCount(), 4);
    const int expected[4][4] = {
        {10, 20, 10, 41}, {10, 41, 31, 41}, {31, 41, 31, 20}, {31, 20, 10, 20}};
    for (int i = 0; i < 4; ++i) {
        const VMShapeEdge& e = shape.Edge(i);
        EXPECT_EQ(e.straight, 1);
        EXPECT_EQ((std::vector<int>{e.start_x, e.start_y, e.end_x, e.end_y}),
                  std::vector<int>(expected[i], expected[i] + 4))
            << i;
        EXPECT_EQ(e.new_path, i == 0 ? 1 : 0) << i;
        EXPECT_EQ(e.fill_style0, 1);
    }
}

TEST(VMShape, DegenerateLinesAreSkippedUnlessKept) {
    VMShape shape;
    ASSERT_TRUE(shape.AddLine(5, 5, 5, 5));
    EXPECT_TRUE(shape.IsEmpty());
    shape.SetKeepDegenerateEdges(true);
    ASSERT_TRUE(shape.AddLine(5, 5, 5, 5));
    EXPECT_EQ(shape.EdgeCount(), 1);
    EXPECT_EQ(shape.Edge(0).new_path, 1); // the skipped line did not use the pending path
}

TEST(VMShape, BoundsHoldCurveControlPointsAndTheWidestLine) {
    VMShape shape;
    shape.UpdateBounds();
    EXPECT_EQ(shape.Bounds().xmax, 0);
    VMLineStyle thin, wide;
    thin.width = 10;
    wide.width = 41;
    shape.AddLineStyle(thin);
    shape.AddLineStyle(wide);
    shape.AddCurve(0, 0, 50, -300, 100, 0);
    shape.UpdateBounds();
    EXPECT_EQ(shape.Bounds().xmin, -21);
    EXPECT_EQ(shape.Bounds().xmax, 121);
    EXPECT_EQ(shape.Bounds().ymin, -321);
    EXPECT_EQ(shape.Bounds().ymax, 21);
}

TEST(VMShape, EncodesOnlyAfterAnEdit) {
    VMShape shape;
    shape.AddLine(0, 0, 100, 0);
    ASSERT_TRUE(shape.Encode(nullptr, true, false));
    EXPECT_FALSE(shape.IsDirty());
    std::vector<uint8_t> first = Bytes(shape);
    shape.current_line_style = 1; // not an edit
    ASSERT_TRUE(shape.Encode(nullptr, true, false));
    EXPECT_EQ(Bytes(shape), first);
    shape.AddLine(100, 0, 100, 100);
    EXPECT_TRUE(shape.IsDirty());
    ASSERT_TRUE(shape.Encode(nullptr, true, false));
    EXPECT_NE(Bytes(shape), first);
}

TEST(VMShape, MoveToBeyondThirtyOneBitsIsCapped) {
    VMShape shape;
    shape.AddLine(0x50000000, 0, 0x50000000, 4);
    ASSERT_TRUE(shape.Encode(nullptr, false, true));
    EXPECT_EQ(Bytes(shape), Bits("0000 0000"
                                 "0 00001 11111 0" +
                                 std::string(30, '1') + std::string(31, '0') +
                                 "11 0010 01 0100"
                                 "0 00000"));
}

TEST(VMShape, PathsStylesAndCurvesReadBackIndependently) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    VMShape shape;
    VMFillStyle red, blue;
    red.r = 255;
    blue.b = 255;
    shape.AddFillStyle(red);
    shape.AddFillStyle(blue);
    VMLineStyle line;
    line.width = 40;
    shape.AddLineStyle(line);
    shape.current_fill_style0 = 1;
    shape.current_line_style = 1;
    shape.AddLine(100, 100, 300, 100);
    shape.AddCurve(300, 100, 400, 200, 300, 300);
    shape.AddLine(300, 300, 100, 100);
    shape.StartNewPath();
    shape.current_fill_style0 = 2;
    shape.current_line_style = 0;
    shape.AddRectangle(500, 500, 600, 700);
    SwfCheck check = CheckShapeMovie(shape, "paths");
    ASSERT_TRUE(check.Ok()) << check.output;
    EXPECT_EQ(check.TagCodes(), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(check.First("shape"), (Line{"shape", "1", "80", "621", "80", "721", "2", "1"}));
    EXPECT_EQ(check.All("fill").size(), 2u);
    EXPECT_EQ(check.First("line"), (Line{"line", "40"}));
    const std::vector<Line> expected = {
        {"record", "style", "1", "100", "100", "1", "-", "1"},
        {"record", "straight", "200", "0"},
        {"record", "curve", "100", "100", "-100", "100"},
        {"record", "straight", "-200", "-200"},
        // pen-up before the second path: origin, every style off
        {"record", "style", "1", "0", "0", "0", "0", "0"},
        {"record", "style", "1", "500", "500", "2", "-", "-"},
        {"record", "straight", "0", "201"},
        {"record", "straight", "101", "0"},
        {"record", "straight", "0", "-201"},
        {"record", "straight", "-101", "0"},
    };
    EXPECT_EQ(check.All("record"), expected);
}

TEST(VMShape, TranslucentStylesMakeADefineShape3WithRGBAColours) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    VMShape shape;
    VMFillStyle fill;
    fill.a = 128;
    shape.AddFillStyle(fill);
    VMFillStyle gradient;
    gradient.type = VM_FILL_LINEAR_GRADIENT;
    gradient.gradient_count = 2;
    gradient.gradient[1].ratio = 255;
    shape.AddFillStyle(gradient);
    shape.current_fill_style0 = 2;
    shape.AddRectangle(0, 0, 100, 100);
    SwfCheck check = CheckShapeMovie(shape, "alpha");
    EXPECT_TRUE(shape.UsesAlpha());
    ASSERT_TRUE(check.Ok()) << check.output;
    EXPECT_EQ(check.TagCodes(), (std::vector<int>{32, 1, 0}));

    // Opaque styles stay a DefineShape with RGB colours.
    VMShape opaque;
    opaque.AddFillStyle(VMFillStyle());
    opaque.current_fill_style0 = 1;
    opaque.AddRectangle(0, 0, 100, 100);
    SwfCheck plain = CheckShapeMovie(opaque, "opaque");
    EXPECT_FALSE(opaque.UsesAlpha());
    ASSERT_TRUE(plain.Ok()) << plain.output;
    EXPECT_EQ(plain.TagCodes(), (std::vector<int>{2, 1, 0}));
}

TEST(VMShape, BitmapFillNamesTheBitmapOfItsPicture) {
    VMLib lib;
    KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, 2, 2);
    VMPicture* entry = lib.Pictures().AddPicture(picture);
    ASSERT_NE(entry, nullptr);
    VMBitmap* bitmap = lib.NewBitmap(entry->Index());
    bitmap->SetCharacterId(0x1234);
    entry->SetBitmapCharIndex(0);

    VMShape shape;
    VMFillStyle fill;
    fill.type = VM_FILL_CLIPPED_BITMAP;
    fill.picture_index = entry->Index();
    shape.AddFillStyle(fill);
    shape.AddLine(0, 0, 1, 0);
    ASSERT_TRUE(shape.Encode(&lib, true, false));
    // count 1, type 0x41, id 0x1234, then the MATRIX.
    std::vector<uint8_t> bytes = Bytes(shape);
    ASSERT_GE(bytes.size(), 5u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<uint8_t>{1, 0x41, 0x34, 0x12}));
    // Scales of exactly 1.0 go in as "no scale": 0, 0, 00010, 00, 00.
    EXPECT_EQ(bytes[4], 0x04);

    VMShape orphan; // no library: the bitmap id is 0
    orphan.AddFillStyle(fill);
    orphan.AddLine(0, 0, 1, 0);
    ASSERT_TRUE(orphan.Encode(nullptr, true, false));
    EXPECT_EQ(Bytes(orphan)[2], 0);
    EXPECT_EQ(Bytes(orphan)[3], 0);
}

TEST(VMShape, FloatMatrixRoundsHalfAwayFromZero) {
    const float m[6] = {20.0f, -0.5f / 65536.0f, 1.5f / 65536.0f, 0.0f, 2.5f, -2.5f};
    VMMatrix fixed = VMConvertMatrix(m);
    EXPECT_EQ(fixed.scale_x, 20 * 65536);
    EXPECT_EQ(fixed.scale_y, -1);
    EXPECT_EQ(fixed.rotate_skew0, 2);
    EXPECT_EQ(fixed.rotate_skew1, 0);
    EXPECT_EQ(fixed.translate_x, 3);
    EXPECT_EQ(fixed.translate_y, -3);
}
