// The filtered resampler, the area scaler, ResizeTo and the builder's in-place resize.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/unit/media/picture/picture_test_util.h"

namespace {

const double kPi = 3.14159265358979323846;

KZPicture* Pattern(int format, int w, int h) {
    return MakePicture(format, w, h,
                       [](int x, int y, int c) { return (x * 23 + y * 41 + c * 70) % 256; });
}

TEST(Resample, FilterTable) {
    const char* names[] = {"Unknown", "Fast",     "Point",    "Box",      "Triangle",  "Hermite",
                           "Hanning", "Hamming",  "Blackman", "Gaussian", "Quadratic", "Cubic",
                           "Catrom",  "Mitchell", "Lanczos",  "Bessel",   "Sinc"};
    double supports[] = {0, 0, 0, 0.5, 1, 1, 1, 1, 1, 1.25, 1.5, 2, 2, 2, 3, 3.2383, 4};
    for (int f = 0; f < KZ_FILTER_COUNT; f++) {
        EXPECT_STREQ(GetResampleFilterName(f), names[f]);
        EXPECT_DOUBLE_EQ(GetResampleFilterSupport(f), supports[f]);
    }
    EXPECT_EQ(GetResampleFilterName(17), nullptr);
    EXPECT_EQ(GetResampleFilterName(-1), nullptr);
    // Box is half open; the cubic families meet at 1 and vanish at 2.
    EXPECT_EQ(EvaluateResampleFilter(KZ_FILTER_BOX, -0.5), 1.0);
    EXPECT_EQ(EvaluateResampleFilter(KZ_FILTER_BOX, 0.5), 0.0);
    EXPECT_NEAR(EvaluateResampleFilter(KZ_FILTER_CATROM, 1.0), 0.0, 1e-12);
    EXPECT_NEAR(EvaluateResampleFilter(KZ_FILTER_MITCHELL, 2.0), 0.0, 1e-12);
    EXPECT_NEAR(EvaluateResampleFilter(KZ_FILTER_LANCZOS, 0.5),
                3 * sin(kPi / 2) * sin(kPi / 6) / (kPi * kPi / 4), 1e-12);
    EXPECT_EQ(EvaluateResampleFilter(KZ_FILTER_LANCZOS, 3.0), 0.0);
    EXPECT_NEAR(EvaluateResampleFilter(KZ_FILTER_BESSEL, 0.0), kPi / 4, 1e-12);
}

TEST(Resample, BesselKernelMatchesTheLibraryBesselFunction) {
    // J1 from the C++ special functions is an independent computation of the same function.
    for (double x = -3.2; x <= 3.2; x += 0.05) {
        if (fabs(x) < 1e-9)
            continue;
        double expected = std::cyl_bessel_j(1.0, kPi * fabs(x)) / (2.0 * fabs(x));
        EXPECT_NEAR(EvaluateResampleFilter(KZ_FILTER_BESSEL, x), expected, 1e-7) << x;
    }
}

TEST(Resample, UniformPicturesStayUniformUnderEveryFilter) {
    for (int f = 0; f < KZ_FILTER_COUNT; f++)
        for (auto size : {std::pair<int, int>{37, 23}, {5, 4}, {11, 40}}) {
            KZPicture* p = MakePicture(KZ_PICTURE_GRAY_ALPHA, 13, 9,
                                       [](int, int, int c) { return c ? 200 : 128; });
            KZPicture* r = ResampleFiltered(p, size.first, size.second, f);
            ASSERT_NE(r, nullptr) << f;
            EXPECT_EQ(r->Format(), KZ_PICTURE_GRAY_ALPHA);
            EXPECT_EQ(r->Width(), size.first);
            EXPECT_EQ(r->Height(), size.second);
            for (int y = 0; y < r->Height(); y++)
                for (int x = 0; x < r->Width(); x++) {
                    ASSERT_EQ(r->Row(y)[2 * x], 128)
                        << GetResampleFilterName(f) << " " << x << "," << y;
                    ASSERT_EQ(r->Row(y)[2 * x + 1], 200);
                }
            delete r;
            delete p;
        }
}

TEST(Resample, SizesCopiesAndRefusals) {
    KZPicture* p = Pattern(KZ_PICTURE_RGB, 6, 4);
    KZPicture* same = ResampleFiltered(p, 6, 4, KZ_FILTER_LANCZOS);
    ASSERT_NE(same, nullptr);
    EXPECT_NE(same, p);
    EXPECT_TRUE(same->Equals(p));
    KZPicture* tiny = ResampleFiltered(p, 0, 0, KZ_FILTER_LANCZOS);
    ASSERT_NE(tiny, nullptr);
    EXPECT_EQ(tiny->Width(), 1);
    EXPECT_EQ(tiny->Height(), 1);
    // Filter indices outside the table act as Box.
    KZPicture* box = ResampleFiltered(p, 9, 3, KZ_FILTER_BOX);
    for (int f : {20, -1, 17}) {
        KZPicture* other = ResampleFiltered(p, 9, 3, f);
        EXPECT_TRUE(other->Equals(box)) << f;
        delete other;
    }
    // Fast is the area scaler.
    KZPicture* fast = ResampleFiltered(p, 3, 2, KZ_FILTER_FAST);
    KZPicture* area = p->ResizeTo(3, 2);
    EXPECT_TRUE(fast->Equals(area));
    for (int format : {KZ_PICTURE_PALETTE, KZ_PICTURE_ALPHA}) {
        KZPicture* q = KZPicture::CreatePicture(format, 4, 4);
        EXPECT_EQ(ResampleFiltered(q, 2, 2, KZ_FILTER_LANCZOS), nullptr);
        EXPECT_EQ(q->ResizeTo(2, 2), nullptr);
        delete q;
    }
    EXPECT_EQ(ResampleFiltered(nullptr, 2, 2, 3), nullptr);
    delete same, delete tiny, delete box, delete fast, delete area, delete p;
}

TEST(Resample, WorkedCasesOfOneRow) {
    // Triangle, 2 -> 4 (factor 2): centres 0.25, 0.75, 1.25, 1.75 give weights
    // {1}, {0.75, 0.25}, {0.25, 0.75}, {1} of the pixels 0 and 200.
    KZPicture* two =
        MakePicture(KZ_PICTURE_GRAY, 2, 1, [](int x, int, int) { return x ? 200 : 0; });
    KZPicture* four = ResampleFiltered(two, 4, 1, KZ_FILTER_TRIANGLE);
    EXPECT_EQ(std::vector<int>(four->Row(0), four->Row(0) + 4),
              (std::vector<int>{0, 50, 150, 200}));
    // Box, 4 -> 2 (factor 0.5, scale 2): each target averages its two pixels.
    KZPicture* src = MakePicture(KZ_PICTURE_GRAY, 4, 1, [](int x, int, int) {
        return std::vector<int>{10, 20, 30, 51}[x];
    });
    KZPicture* half = ResampleFiltered(src, 2, 1, KZ_FILTER_BOX);
    EXPECT_EQ(half->Row(0)[0], 15);
    EXPECT_EQ(half->Row(0)[1], 41); // 40.5 rounds up
    delete two, delete four, delete src, delete half;
}

TEST(Resample, ShrinkingHeightRunsTheVerticalPassFirst) {
    // Strong Lanczos overshoot is clamped between the passes, so the order shows in the result.
    KZPicture* p = MakePicture(KZ_PICTURE_GRAY, 12, 12,
                               [](int x, int y, int) { return ((x / 2 + y / 3) % 2) ? 255 : 0; });
    KZPicture* result = ResampleFiltered(p, 17, 7, KZ_FILTER_LANCZOS);
    // One axis at a time: a same-size axis is an identity pass for Lanczos (f(n) = 0 at whole n).
    KZPicture* v = ResampleFiltered(p, 12, 7, KZ_FILTER_LANCZOS);
    KZPicture* vh = ResampleFiltered(v, 17, 7, KZ_FILTER_LANCZOS);
    KZPicture* h = ResampleFiltered(p, 17, 12, KZ_FILTER_LANCZOS);
    KZPicture* hv = ResampleFiltered(h, 17, 7, KZ_FILTER_LANCZOS);
    EXPECT_TRUE(result->Equals(vh));
    EXPECT_FALSE(result->Equals(hv));
    // Growing height: horizontal first.
    KZPicture* grown = ResampleFiltered(p, 7, 17, KZ_FILTER_LANCZOS);
    KZPicture* h2 = ResampleFiltered(p, 7, 12, KZ_FILTER_LANCZOS);
    KZPicture* h2v = ResampleFiltered(h2, 7, 17, KZ_FILTER_LANCZOS);
    EXPECT_TRUE(grown->Equals(h2v));
    delete p, delete result, delete v, delete vh, delete h, delete hv, delete grown, delete h2,
        delete h2v;
}

TEST(Resample, LanczosAgreesWithImageMagick) {
    // ImageMagick keeps its intermediate in 16 bits, we round and clamp to 8 between the passes,
    // so values differ by rounding: at most 3 levels per channel. Shrinking both axes,
    // ImageMagick runs the horizontal pass first where we run the vertical one first; at the
    // sharp edges of this picture that moves single channels by up to 8 levels. The mean
    // difference stays below 0.75 levels everywhere.
    KZPicture* src = LoadPicture(FixturePath("resample-src.ppm").c_str());
    ASSERT_NE(src, nullptr);
    ASSERT_EQ(src->Format(), KZ_PICTURE_RGB);
    struct {
        int width, height, tolerance;
    } sizes[] = {{10, 7, 8}, {41, 29, 3}, {24, 9, 3}, {60, 18, 3}};
    for (auto& size : sizes) {
        RgbaImage reference;
        std::string name = "resample-lanczos-" + std::to_string(size.width) + "x" +
                           std::to_string(size.height) + ".pam";
        ASSERT_TRUE(ReadPam(FixturePath(name), &reference)) << name;
        KZPicture* r = ResampleFiltered(src, size.width, size.height, KZ_FILTER_LANCZOS);
        ASSERT_NE(r, nullptr);
        RgbaImage ours = ToRgba(r);
        std::string where;
        int worst = MaxDifference(ours, reference, &where);
        EXPECT_LE(worst, size.tolerance) << name << " " << where;
        double sum = 0;
        for (size_t i = 0; i < ours.pixels.size(); i++)
            if (i % 4 != 3)
                sum += abs(int(ours.pixels[i]) - int(reference.pixels[i]));
        EXPECT_LT(sum / (ours.pixels.size() / 4 * 3), 0.75) << name;
        delete r;
    }
    delete src;
}

TEST(Resample, ProgressCallbackAborts) {
    KZPicture* p = Pattern(KZ_PICTURE_RGBA, 20, 20);
    int calls = 0;
    auto count = [](void* arg) {
        ++*static_cast<int*>(arg);
        return 0;
    };
    KZPicture* r = ResampleFiltered(p, 10, 30, KZ_FILTER_MITCHELL, count, &calls);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(calls, 10 + 30); // once per target column and per target row
    delete r;
    calls = 0;
    auto abort_at_25 = [](void* arg) { return ++*static_cast<int*>(arg) == 25 ? 1 : 0; };
    EXPECT_EQ(ResampleFiltered(p, 10, 30, KZ_FILTER_MITCHELL, abort_at_25, &calls), nullptr);
    EXPECT_EQ(calls, 25);
    calls = 0;
    auto abort_first = [](void* arg) {
        ++*static_cast<int*>(arg);
        return 1;
    };
    EXPECT_EQ(p->ResizeTo(5, 5, abort_first, &calls), nullptr);
    EXPECT_EQ(calls, 1);
    delete p;
}

TEST(ScaleArea, CoverageWeightedMeans) {
    // 3 -> 2: each target covers 1.5 pixels: (0 + 90 / 2) / 1.5 = 30 and (90 / 2 + 180) / 1.5 =
    // 150.
    uint8_t src[3] = {0, 90, 180};
    uint8_t dst[2];
    ASSERT_TRUE(ScaleArea(3, 1, 1, 3, src, 2, 1, dst, 2));
    EXPECT_EQ(dst[0], 30);
    EXPECT_EQ(dst[1], 150);
    // Rows combine the same way; channels stay apart.
    uint8_t block[2 * 4] = {0, 100, 10, 100, 20, 0, 30, 0}; // 2 x 2, two channels
    uint8_t one[2];
    ASSERT_TRUE(ScaleArea(2, 2, 2, 4, block, 1, 1, one, 2));
    EXPECT_EQ(one[0], 15);
    EXPECT_EQ(one[1], 50);
    // Enlarging repeats pixels.
    uint8_t up[4];
    ASSERT_TRUE(ScaleArea(2, 1, 1, 2, src, 4, 1, up, 4));
    EXPECT_EQ(std::vector<int>(up, up + 4), (std::vector<int>{0, 0, 90, 90}));
    EXPECT_FALSE(ScaleArea(0, 1, 1, 4, src, 1, 1, dst, 4));
    EXPECT_FALSE(ScaleArea(3, 1, 1, 3, src, 1, -1, dst, 4));
}

TEST(ScaleArea, HalvesWhileTheFactorIsAtLeastSixteen) {
    // 3200 x 10 -> 100 x 10: 3200 -> 1600 -> 800, then the fixed-point pass. The progress
    // callback is asked before each halving and every 8 target rows (rows 0 and 8).
    std::vector<uint8_t> src(3200 * 10);
    for (size_t i = 0; i < src.size(); i++)
        src[i] = (i % 4 == 3) ? 1 : 0; // columns 0, 0, 0, 1: halving rounds up to 1 twice
    std::vector<uint8_t> dst(100 * 10);
    int calls = 0;
    auto count = [](void* arg) {
        ++*static_cast<int*>(arg);
        return 0;
    };
    ASSERT_TRUE(ScaleArea(3200, 10, 1, 3200, src.data(), 100, 10, dst.data(), 100, count, &calls));
    EXPECT_EQ(calls, 2 + 2);
    // Averaging 0, 0, 0, 1 directly would round 0.25 to 0; the halvings give (0+1+1)/2 = 1.
    for (uint8_t v : dst)
        ASSERT_EQ(v, 1);
    calls = 0;
    ASSERT_TRUE(ScaleArea(1599, 10, 1, 3200, src.data(), 100, 10, dst.data(), 100, count, &calls));
    EXPECT_EQ(calls, 2); // factor below 16: no halving
    for (uint8_t v : dst)
        ASSERT_EQ(v, 0);
    // Both axes at once, and every format through ResizeTo keeps a constant colour.
    for (int format : {KZ_PICTURE_RGB, KZ_PICTURE_RGBA, KZ_PICTURE_GRAY, KZ_PICTURE_GRAY_ALPHA}) {
        KZPicture* p = MakePicture(format, 517, 333, [](int, int, int c) { return 40 + 50 * c; });
        KZPicture* r = p->ResizeTo(7, 5);
        ASSERT_NE(r, nullptr);
        KZPicture* expected =
            MakePicture(format, 7, 5, [](int, int, int c) { return 40 + 50 * c; });
        EXPECT_TRUE(r->Equals(expected)) << format;
        delete p, delete r, delete expected;
    }
}

TEST(ResizeInPlace, PalettesAndFailures) {
    KZPicturePalette* pal =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 4, 4));
    uint8_t entries[12] = {9, 9, 9, 255, 200, 10, 10, 255, 1, 1, 1, 255};
    pal->SetPalette(3, entries);
    pal->FillBytes(1);
    KZPicture* slot = pal;
    // Same size: only optimised (one colour left).
    ASSERT_TRUE(ResizePictureInPlace(&slot, 4, 4));
    EXPECT_EQ(slot, pal);
    EXPECT_EQ(pal->PaletteSize(), 1);
    // Another size: expanded to RGB, then Lanczos.
    ASSERT_TRUE(ResizePictureInPlace(&slot, 8, 6));
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->Format(), KZ_PICTURE_RGB);
    EXPECT_EQ(slot->Width(), 8);
    EXPECT_EQ(slot->Row(5)[0], 200);
    delete slot;
    // An alpha-kind palette expands to an Alpha picture, which cannot be resampled.
    KZPicturePalette* alpha =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 4, 4));
    alpha->SetPaletteKind(KZ_PICTURE_ALPHA);
    slot = alpha;
    EXPECT_FALSE(ResizePictureInPlace(&slot, 2, 2));
    EXPECT_EQ(slot, nullptr);
    KZPicture* empty = nullptr;
    EXPECT_FALSE(ResizePictureInPlace(&empty, 2, 2));
}

} // namespace
