// The BMP writer: layout of the 24-bit and 8-bit files, read back by our reader and by
// ImageMagick.
#include <gtest/gtest.h>

#include "tests/unit/media/picture/picture_test_util.h"

namespace {

uint32_t U32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

TEST(BmpWriter, TwentyFourBitRowsBottomUpAndAligned) {
    KZPicture* p =
        MakePicture(KZ_PICTURE_RGB, 5, 3, [](int x, int y, int c) { return 50 * c + 10 * x + y; });
    uint8_t* bmp = nullptr;
    size_t size = 0;
    ASSERT_TRUE(EncodeBmp(p, &bmp, &size));
    const size_t row = 16; // 5 x 3 bytes padded to 4
    ASSERT_EQ(size, 54 + row * 3);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp + 2), size);
    EXPECT_EQ(U32(bmp + 10), 54u);
    EXPECT_EQ(U32(bmp + 18), 5u);
    EXPECT_EQ(U32(bmp + 22), 3u); // positive height: bottom-up
    EXPECT_EQ(bmp[28], 24);
    // The first file row is the bottom image row (y = 2), in B, G, R order.
    EXPECT_EQ(bmp[54], 100 + 2);
    EXPECT_EQ(bmp[56], 0 + 2);
    EXPECT_EQ(bmp[54 + 2 * row + 3 * 4 + 2], 40); // top row, x = 4, red
    KZPicture* back = ReadBmp(bmp, size);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->Equals(p));
    free(bmp);
    delete back;
    delete p;
}

TEST(BmpWriter, PalettePicturesKeepTheirPalette) {
    KZPicturePalette* p =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 3, 2));
    uint8_t entries[12] = {255, 0, 0, 255, 0, 128, 0, 255, 1, 2, 3, 255};
    p->SetPalette(3, entries);
    for (int i = 0; i < 6; i++)
        p->Row(i / 3)[i % 3] = uint8_t(i % 3);
    uint8_t* bmp = nullptr;
    size_t size = 0;
    ASSERT_TRUE(EncodeBmp(p, &bmp, &size));
    EXPECT_EQ(bmp[28], 8);
    EXPECT_EQ(size, 14 + 40 + 1024 + 4 * 2u);
    EXPECT_EQ(bmp[54 + 4 + 1], 128); // entry 1 green, stored B, G, R, 0
    KZPicture* back = NormalizePicture(ReadBmp(bmp, size));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->Format(), KZ_PICTURE_PALETTE);
    std::string where;
    EXPECT_EQ(MaxDifference(ToRgba(back), ToRgba(p), &where), 0) << where;
    free(bmp);
    delete back;

    // Other formats are written as 24-bit RGB.
    KZPicture* gray =
        MakePicture(KZ_PICTURE_GRAY_ALPHA, 2, 2, [](int x, int, int c) { return c ? 0 : 99 + x; });
    ASSERT_TRUE(EncodeBmp(gray, &bmp, &size));
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp[54 + 3], 100);
    free(bmp);
    delete gray;
    delete p;
    EXPECT_FALSE(EncodeBmp(nullptr, &bmp, &size));
}

TEST(BmpWriter, ImageMagickReadsWhatWeWrite) {
#ifdef _WIN32
    GTEST_SKIP() << "ImageMagick runs on the build machine only";
#else
    if (system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no ImageMagick";
    std::string dir = std::string(SCRKIT_BINARY_DIR) + "/";
    KZPicture* rgb = MakePicture(
        KZ_PICTURE_RGB, 7, 5, [](int x, int y, int c) { return (x * 37 + y * 11 + c * 80) % 256; });
    KZPicture* pal = LoadPicture(FixturePath("bmp8.bmp").c_str());
    ASSERT_NE(pal, nullptr);
    ASSERT_EQ(pal->Format(), KZ_PICTURE_PALETTE);
    for (KZPicture* p : {rgb, pal}) {
        std::string bmp = dir + "kz_bmp_writer_test.bmp";
        std::string pam = dir + "kz_bmp_writer_test.pam";
        ASSERT_TRUE(SaveBmp(p, bmp.c_str()));
        std::string command = "convert '" + bmp + "' -depth 8 'pam:" + pam + "'";
        ASSERT_EQ(system(command.c_str()), 0);
        RgbaImage reference;
        ASSERT_TRUE(ReadPam(pam, &reference));
        std::string where;
        EXPECT_EQ(MaxDifference(ToRgba(p), reference, &where), 0) << where;
        remove(bmp.c_str());
        remove(pam.c_str());
    }
    delete rgb;
    delete pal;
#endif
}

} // namespace
