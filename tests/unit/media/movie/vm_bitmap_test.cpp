#include "media/movie/vm_bitmap.h"

#include <gtest/gtest.h>

#include "media/base/kz_stream.h"
#include "media/movie/vm_movie.h"
#include "media/picture/kz_picture.h"
#include "tests/unit/media/movie/movie_test_support.h"

namespace {

struct Encoded {
    bool ok = false;
    int code = 0;
    std::vector<uint8_t> jpeg;
    std::vector<uint8_t> alpha; // inflated
};

Encoded Encode(const KZPicture* picture) {
    Encoded e;
    KZMemoryStream body;
    e.ok = EncodeJpegBitmap(picture, 75, &body, &e.code);
    if (!e.ok)
        return e;
    const uint8_t* d = body.GetData();
    size_t n = size_t(body.GetLength());
    if (e.code == VM_TAG_DEFINE_BITS_JPEG3) {
        uint32_t offset = d[0] | d[1] << 8 | d[2] << 16 | uint32_t(d[3]) << 24;
        e.jpeg.assign(d + 4, d + 4 + offset);
        e.alpha = Inflate(d + 4 + offset, n - 4 - offset);
    } else {
        e.jpeg.assign(d, d + n);
    }
    return e;
}

bool HasMarker(const std::vector<uint8_t>& jpeg, uint8_t marker) {
    // Markers before the scan, walked by their lengths.
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF) {
        if (jpeg[pos + 1] == marker)
            return true;
        if (jpeg[pos + 1] == 0xDA)
            return false;
        pos += 2 + (size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3]);
    }
    return false;
}

// A movie holding just the bitmap, read back by yaswfp and decoded by ImageMagick.
SwfCheck CheckBitmapMovie(const KZPicture* picture, const std::string& name) {
    KZMemoryStream stream;
    VMMovie movie(&stream, false);
    VMRect frame;
    frame.xmax = picture->Width() * 20;
    frame.ymax = picture->Height() * 20;
    EXPECT_TRUE(movie.WriteMovieHeader(frame, 1.0f, 1));
    EXPECT_TRUE(movie.DefineBitmap(7, picture, 90));
    EXPECT_TRUE(movie.ShowFrame());
    EXPECT_TRUE(movie.End());
    uint8_t header[8];
    movie.WriteFileHeader(header);
    std::vector<uint8_t> file(header, header + 8);
    file.insert(file.end(), stream.GetData(), stream.GetData() + stream.GetLength());
    std::string path = TestDir() + "/" + name + ".swf";
    EXPECT_TRUE(WriteBytes(path, file));
    return RunSwfCheck(path);
}

KZPicture* Gradient(int format, int w, int h) {
    KZPicture* p = KZPicture::CreatePicture(format, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < p->BytesPerPixel(); ++c)
                p->Row(y)[p->BytesPerPixel() * x + c] = uint8_t(x * 50 / w + y * 6 + c * 30);
    return p;
}

} // namespace

TEST(EncodeJpegBitmap, OpaquePicturesGiveAFilteredJpeg2) {
    for (int format : {KZ_PICTURE_RGB, KZ_PICTURE_GRAY}) {
        KZPicture* p = Gradient(format, 16, 8);
        Encoded e = Encode(p);
        ASSERT_TRUE(e.ok) << format;
        EXPECT_EQ(e.code, VM_TAG_DEFINE_BITS_JPEG2);
        ASSERT_GE(e.jpeg.size(), 4u);
        EXPECT_EQ(e.jpeg[0], 0xFF);
        EXPECT_EQ(e.jpeg[1], 0xD8);
        EXPECT_FALSE(HasMarker(e.jpeg, 0xE0)) << "APP0 must be gone";
        EXPECT_TRUE(HasMarker(e.jpeg, 0xDB));
        EXPECT_TRUE(HasMarker(e.jpeg, 0xC0));
        EXPECT_EQ(e.jpeg[e.jpeg.size() - 2], 0xFF);
        EXPECT_EQ(e.jpeg.back(), 0xD9);
        delete p;
    }
}

TEST(EncodeJpegBitmap, AlphaPlaneRunsTopDownForEveryAlphaFormat) {
    // 2 x 2 pictures; bottom-up rows, so the plane starts with row 1.
    KZPicture* ga = KZPicture::CreatePicture(KZ_PICTURE_GRAY_ALPHA, 2, 2);
    const uint8_t ga_rows[2][4] = {{10, 0, 20, 128}, {30, 255, 40, 7}};
    memcpy(ga->Row(0), ga_rows[0], 4);
    memcpy(ga->Row(1), ga_rows[1], 4);

    KZPicture* alpha = KZPicture::CreatePicture(KZ_PICTURE_ALPHA, 2, 2);
    alpha->Row(0)[0] = 1;
    alpha->Row(0)[1] = 2;
    alpha->Row(1)[0] = 128;
    alpha->Row(1)[1] = 254;

    KZPicturePalette* pal =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 2, 2));
    const uint8_t entries[3 * 4] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0};
    pal->SetPalette(3, entries);
    pal->SetPaletteKind(KZ_PICTURE_RGBA);
    pal->Row(0)[0] = 0;
    pal->Row(0)[1] = 1;
    pal->Row(1)[0] = 2;
    pal->Row(1)[1] = 1;

    KZPicture* rgba = KZPicture::CreatePicture(KZ_PICTURE_RGBA, 2, 2);
    rgba->FillRGBA(9, 9, 9, 128);
    rgba->Row(1)[3] = 0;
    rgba->Row(1)[7] = 255;

    const struct {
        const KZPicture* picture;
        std::vector<uint8_t> plane;
    } cases[] = {
        // Only the RGBA form raises partial alpha by one.
        {ga, {255, 7, 0, 128}},
        {alpha, {128, 254, 1, 2}},
        {pal, {0, 128, 255, 128}},
        {rgba, {0, 255, 129, 129}},
    };
    for (const auto& c : cases) {
        Encoded e = Encode(c.picture);
        ASSERT_TRUE(e.ok) << c.picture->Format();
        EXPECT_EQ(e.code, VM_TAG_DEFINE_BITS_JPEG3) << c.picture->Format();
        EXPECT_EQ(e.alpha, c.plane) << c.picture->Format();
        EXPECT_EQ(e.jpeg.back(), 0xD9);
    }
    delete ga;
    delete alpha;
    delete pal;
    delete rgba;
}

TEST(EncodeJpegBitmap, ColourIsPremultipliedAndTheSourceKeptUnchanged) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    // The halves meet on a 16-row boundary, so that subsampled chroma does not blur across.
    KZPicture* p = KZPicture::CreatePicture(KZ_PICTURE_RGBA, 32, 32);
    p->FillRGBA(200, 100, 50, 128);
    for (int y = 0; y < 16; ++y) // the bottom half fully opaque
        for (int x = 0; x < 32; ++x)
            p->Row(y)[4 * x + 3] = 255;
    KZPicture* before = p->Clone();
    SwfCheck check = CheckBitmapMovie(p, "premultiplied");
    EXPECT_TRUE(p->Equals(before));
    ASSERT_TRUE(check.Ok()) << check.output;
    EXPECT_EQ(check.TagCodes(), (std::vector<int>{35, 1, 0}));
    std::vector<std::string> jpeg = check.First("jpeg");
    ASSERT_GE(jpeg.size(), 5u);
    EXPECT_EQ(jpeg[1], "7");
    int w = 0, h = 0;
    std::vector<uint8_t> rgb = ReadPpm(jpeg[4], &w, &h);
    ASSERT_EQ(w, 32);
    ASSERT_EQ(h, 32);
    // Expected: the top half scaled by the stored alpha 129, the bottom half unchanged.
    KZPicture* expected = KZPicture::CreatePicture(KZ_PICTURE_RGB, 32, 32);
    expected->FillRGB(200 * 129 / 255, 100 * 129 / 255, 50 * 129 / 255);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            expected->Row(y)[3 * x] = 200;
            expected->Row(y)[3 * x + 1] = 100;
            expected->Row(y)[3 * x + 2] = 50;
        }
    EXPECT_LE(MaxDifference(rgb, expected), 12);
    delete expected;
    delete before;
    delete p;
}

TEST(EncodeJpegBitmap, DecodesToTheSourceWithinJpegTolerance) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    for (int format : {KZ_PICTURE_RGB, KZ_PICTURE_GRAY}) {
        KZPicture* p = Gradient(format, 40, 24);
        SwfCheck check = CheckBitmapMovie(p, "gradient" + std::to_string(format));
        ASSERT_TRUE(check.Ok()) << check.output;
        EXPECT_EQ(check.TagCodes(), (std::vector<int>{21, 1, 0}));
        std::vector<std::string> jpeg = check.First("jpeg");
        ASSERT_GE(jpeg.size(), 5u);
        EXPECT_EQ(MarkerKinds(jpeg), (std::vector<std::string>{"D8", "DB", "C0", "C4", "DA"}))
            << "only tables, frame and scan";
        int w = 0, h = 0;
        std::vector<uint8_t> rgb = ReadPpm(jpeg[4], &w, &h);
        ASSERT_EQ(w, 40);
        ASSERT_EQ(h, 24);
        EXPECT_LE(MaxDifference(rgb, p), 24) << format;
        delete p;
    }
}

TEST(EncodeJpegBitmap, InvalidPictureFailsAndDefineBitmapWritesNothing) {
    KZPicturePalette empty; // no pixel block
    KZMemoryStream body;
    int code = 0;
    EXPECT_FALSE(EncodeJpegBitmap(&empty, 75, &body, &code));
    KZMemoryStream stream;
    VMMovie movie(&stream, false);
    EXPECT_FALSE(movie.DefineBitmap(1, &empty, 75));
    EXPECT_EQ(stream.GetLength(), 0);
}
