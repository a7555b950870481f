// JPEG encoding into memory and files: decodes close to the source (by libjpeg and by
// ImageMagick), baseline or progressive, one or three components, and its refusals.
#include <gtest/gtest.h>

#include "tests/unit/media/picture/picture_test_util.h"

namespace {

KZPicture* Smooth(int format) {
    return MakePicture(format, 40, 24, [](int x, int y, int c) { return x * 3 + y * 2 + c * 30; });
}

// The start-of-frame marker (0xC0 baseline, 0xC2 progressive) and its component count.
bool FindFrame(const uint8_t* data, size_t size, int* marker, int* components) {
    for (size_t i = 2; i + 9 < size; i++)
        if (data[i] == 0xFF && (data[i + 1] == 0xC0 || data[i + 1] == 0xC2)) {
            *marker = data[i + 1];
            *components = data[i + 9];
            return true;
        }
    return false;
}

double MeanDifference(const RgbaImage& a, const RgbaImage& b) {
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        sum += abs(int(a.pixels[i]) - int(b.pixels[i]));
    return sum / a.pixels.size();
}

TEST(JpegWriter, EncodesRgbAndGrayThatDecodeCloseToTheSource) {
    struct {
        int format;
        bool progressive, force_gray;
        int marker, components;
    } cases[] = {{KZ_PICTURE_RGB, false, false, 0xC0, 3},
                 {KZ_PICTURE_RGB, true, false, 0xC2, 3},
                 {KZ_PICTURE_GRAY, false, false, 0xC0, 1},
                 {KZ_PICTURE_RGB, false, true, 0xC0, 1},
                 {KZ_PICTURE_RGBA, false, true, 0xC0, 1}};
    for (auto& c : cases) {
        KZPicture* p = Smooth(c.format);
        uint8_t* jpeg = nullptr;
        size_t size = 0;
        ASSERT_TRUE(p->EncodeJpeg(&jpeg, &size, 90, c.progressive, c.force_gray)) << c.format;
        ASSERT_GT(size, 100u);
        EXPECT_EQ(jpeg[0], 0xFF);
        EXPECT_EQ(jpeg[1], 0xD8);
        EXPECT_EQ(jpeg[size - 2], 0xFF);
        EXPECT_EQ(jpeg[size - 1], 0xD9);
        int marker = 0, components = 0;
        ASSERT_TRUE(FindFrame(jpeg, size, &marker, &components));
        EXPECT_EQ(marker, c.marker);
        EXPECT_EQ(components, c.components);
        KZPicture* back = ReadJpeg(jpeg, size);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->Format(), c.components == 1 ? KZ_PICTURE_GRAY : KZ_PICTURE_RGB);
        KZPicture* expected = p;
        KZPicture* made = nullptr;
        if (c.force_gray && c.format != KZ_PICTURE_GRAY) {
            KZPicture* rgb = p->ToRGB();
            expected = made = rgb->ToGray();
            delete rgb;
        }
        std::string where;
        RgbaImage ours = ToRgba(back), source = ToRgba(expected);
        EXPECT_LT(MeanDifference(ours, source), 3.0) << c.format;
        EXPECT_LE(MaxDifference(ours, source, &where), 40) << where;
        free(jpeg);
        delete back;
        delete made;
        delete p;
    }
}

TEST(JpegWriter, RefusalsAndTheCallersBuffer) {
    KZPicture* rgba = Smooth(KZ_PICTURE_RGBA);
    uint8_t* jpeg = nullptr;
    size_t size = 0;
    EXPECT_FALSE(rgba->EncodeJpeg(&jpeg, &size, 80, false));
    EXPECT_EQ(jpeg, nullptr);
    KZPicture* rgb = Smooth(KZ_PICTURE_RGB);
    // A caller's block that is too small fails; a large enough one is used as it is.
    uint8_t small[200];
    jpeg = small;
    size = sizeof(small);
    EXPECT_FALSE(rgb->EncodeJpeg(&jpeg, &size, 80, false));
    std::vector<uint8_t> big(64 * 1024);
    jpeg = big.data();
    size = big.size();
    ASSERT_TRUE(rgb->EncodeJpeg(&jpeg, &size, 80, false));
    EXPECT_EQ(jpeg, big.data());
    EXPECT_LT(size, big.size());
    KZPicture* back = ReadJpeg(big.data(), size);
    EXPECT_NE(back, nullptr);
    delete back;
    // The progress callback aborts.
    jpeg = nullptr;
    int calls = 0;
    auto abort_third = [](void* arg) { return ++*static_cast<int*>(arg) >= 3 ? 1 : 0; };
    EXPECT_FALSE(rgb->EncodeJpeg(&jpeg, &size, 80, false, false, abort_third, &calls));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(jpeg, nullptr);
    delete rgb;
    delete rgba;
}

TEST(JpegWriter, FileOutputDecodesWithImageMagick) {
    KZPicture* p = Smooth(KZ_PICTURE_RGB);
    std::string path = std::string(SCRKIT_BINARY_DIR) + "/kz_jpeg_writer_test.jpg";
    ASSERT_TRUE(p->EncodeJpegToFile(path.c_str(), 92, false));
    KZPicture* back = LoadPicture(path.c_str());
    ASSERT_NE(back, nullptr);
    std::string where;
    EXPECT_LE(MaxDifference(ToRgba(back), ToRgba(p), &where), 40) << where;
    delete back;
#ifndef _WIN32
    if (system("command -v convert >/dev/null 2>&1") == 0) {
        std::string pam = path + ".pam";
        ASSERT_EQ(system(("convert '" + path + "' -depth 8 'pam:" + pam + "'").c_str()), 0);
        RgbaImage reference;
        ASSERT_TRUE(ReadPam(pam, &reference));
        EXPECT_LT(MeanDifference(reference, ToRgba(p)), 3.0);
        remove(pam.c_str());
    }
#endif
    remove(path.c_str());
    delete p;
}

} // namespace
