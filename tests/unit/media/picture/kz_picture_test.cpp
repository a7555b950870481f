// The picture model: allocation and strides, copies and comparison, fills, conversions, palette
// optimisation, gamma, descriptions, file types and the dialog filter.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/media/picture/picture_test_util.h"

namespace {

TEST(Picture, StridesAreFourByteAlignedAndRowsBottomUp) {
    struct {
        int format, width, stride;
    } cases[] = {{KZ_PICTURE_RGB, 5, 16},    {KZ_PICTURE_GRAY, 5, 8},
                 {KZ_PICTURE_RGBA, 5, 20},   {KZ_PICTURE_GRAY_ALPHA, 3, 8},
                 {KZ_PICTURE_PALETTE, 4, 4}, {KZ_PICTURE_ALPHA, 1, 4}};
    for (auto& c : cases) {
        KZPicture* p = KZPicture::CreatePicture(c.format, c.width, 3);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Stride(), c.stride) << c.format;
        EXPECT_EQ(p->Row(2) - p->Row(0), 2 * c.stride);
        EXPECT_TRUE(p->IsValid());
        delete p;
    }
    EXPECT_EQ(KZPicture::CreatePicture(7, 5, 5), nullptr);
    EXPECT_EQ(KZPicture::CreatePicture(0, 5, 5), nullptr);
    EXPECT_EQ(KZPicture::CreatePicture(KZ_PICTURE_RGB, 0, 5), nullptr);
    EXPECT_EQ(KZPicture::CreatePicture(KZ_PICTURE_RGB, -3, 5), nullptr);
    EXPECT_EQ(KZPicture::CreatePicture(KZ_PICTURE_RGB, KZ_PICTURE_MAX_SIDE + 1, 1), nullptr);
    // Each side within the limit but the block beyond it.
    EXPECT_EQ(KZPicture::CreatePicture(KZ_PICTURE_RGBA, 20000, 20000), nullptr);
}

TEST(Picture, AllocateKeepsTheBlockForTheSameSize) {
    KZPicture* p = KZPicture::CreatePicture(KZ_PICTURE_RGB, 4, 4);
    p->FillBytes(7);
    uint8_t* block = p->Data();
    EXPECT_TRUE(p->Allocate(4, 4));
    EXPECT_EQ(p->Data(), block);
    EXPECT_EQ(p->Data()[5], 7);
    EXPECT_TRUE(p->Allocate(6, 2));
    EXPECT_EQ(p->Width(), 6);
    EXPECT_EQ(p->Stride(), 20);
    EXPECT_FALSE(p->Allocate(-1, 5));
    EXPECT_FALSE(p->IsValid());
    EXPECT_EQ(p->Data(), nullptr);
    delete p;
}

TEST(Picture, CloneAndEqualsIgnoreStridePadding) {
    KZPicture* a =
        MakePicture(KZ_PICTURE_RGB, 5, 3, [](int x, int y, int c) { return x * 9 + y + c; });
    a->SetSourceFileType(KZ_FILE_TGA);
    KZPicture* b = a->Clone();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->SourceFileType(), KZ_FILE_TGA);
    EXPECT_TRUE(a->Equals(b));
    EXPECT_TRUE(a->Equals(a));
    b->Row(1)[15] = 99; // padding byte
    EXPECT_TRUE(a->Equals(b));
    b->Row(1)[14] ^= 1;
    EXPECT_FALSE(a->Equals(b));
    KZPicture* gray = KZPicture::CreatePicture(KZ_PICTURE_GRAY, 5, 3);
    EXPECT_FALSE(a->Equals(gray));
    EXPECT_FALSE(a->Equals(nullptr));

    KZPicturePalette* p =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 2, 2));
    EXPECT_EQ(p->PaletteKind(), KZ_PICTURE_RGB);
    EXPECT_EQ(p->PaletteSize(), 1);
    EXPECT_EQ(p->Entry(200)[3], 255);
    uint8_t entries[8] = {1, 2, 3, 255, 4, 5, 6, 128};
    p->SetPalette(2, entries);
    p->SetPaletteKind(KZ_PICTURE_RGBA);
    KZPicture* q = p->Clone();
    EXPECT_TRUE(p->Equals(q));
    static_cast<KZPicturePalette*>(q)->Entry(1)[3] = 127;
    EXPECT_FALSE(p->Equals(q));
    delete a, delete b, delete gray, delete p, delete q;
}

TEST(Picture, HasAlphaFlipAndFills) {
    int alpha_formats[] = {KZ_PICTURE_RGBA, KZ_PICTURE_ALPHA, KZ_PICTURE_GRAY_ALPHA};
    for (int f = 1; f <= 5; f++) {
        KZPicture* p = KZPicture::CreatePicture(f, 2, 2);
        bool expected = std::find(std::begin(alpha_formats), std::end(alpha_formats), f) !=
                        std::end(alpha_formats);
        EXPECT_EQ(p->HasAlpha(), expected) << f;
        EXPECT_EQ(p->IsRGBOrGray(), f == KZ_PICTURE_RGB || f == KZ_PICTURE_GRAY);
        delete p;
        KZPicturePalette* pal = new KZPicturePalette;
        pal->SetPaletteKind(f);
        EXPECT_EQ(pal->HasAlpha(), expected) << "palette kind " << f;
        delete pal;
    }
    KZPicture* p = MakePicture(KZ_PICTURE_GRAY, 2, 3, [](int x, int y, int) { return y * 10 + x; });
    p->FlipVertical();
    EXPECT_EQ(p->Row(0)[0], 0); // the former top row is now at the bottom
    EXPECT_EQ(p->Row(2)[1], 21);
    delete p;
    KZPicture* rgba = KZPicture::CreatePicture(KZ_PICTURE_RGBA, 3, 2);
    rgba->FillRGBA(1, 2, 3, 4);
    rgba->FillRGB(9, 9, 9); // not an RGB picture: no effect
    EXPECT_EQ(rgba->Row(1)[10], 3);
    EXPECT_EQ(rgba->Row(1)[11], 4);
    delete rgba;
}

TEST(Picture, ConversionsAndTheirConditions) {
    KZPicture* gray_rgb =
        MakePicture(KZ_PICTURE_RGB, 3, 2, [](int x, int y, int) { return 40 * x + y; });
    KZPicture* color =
        MakePicture(KZ_PICTURE_RGB, 3, 2, [](int x, int, int c) { return c == 0 ? 200 : 10 * x; });
    KZPicture* g = gray_rgb->ToGrayIfGray();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Format(), KZ_PICTURE_GRAY);
    EXPECT_EQ(g->Row(0)[2], 81); // bottom row is image row 1
    EXPECT_EQ(color->ToGrayIfGray(), nullptr);
    KZPicture* forced = color->ToGray();
    ASSERT_NE(forced, nullptr);
    EXPECT_EQ(forced->Row(0)[2], (7 * 200 + 11 * 20 + 2 * 20) / 20);

    KZPicture* rgba =
        MakePicture(KZ_PICTURE_RGBA, 2, 2, [](int x, int, int c) { return c == 3 ? 255 : 50 + x; });
    KZPicture* ga = rgba->ToGrayAlphaIfGray();
    ASSERT_NE(ga, nullptr);
    EXPECT_EQ(ga->Format(), KZ_PICTURE_GRAY_ALPHA);
    KZPicture* opaque_gray = ga->ToGrayIfOpaque();
    ASSERT_NE(opaque_gray, nullptr);
    EXPECT_EQ(opaque_gray->Row(1)[1], 51);
    KZPicture* rgb = rgba->ToRGBIfOpaque();
    ASSERT_NE(rgb, nullptr);
    rgba->Row(0)[3] = 254;
    EXPECT_EQ(rgba->ToRGBIfOpaque(), nullptr);
    ga->Row(0)[1] = 0;
    EXPECT_EQ(ga->ToGrayIfOpaque(), nullptr);
    // Wrong source formats give nothing.
    EXPECT_EQ(rgba->ToGray(), nullptr);
    EXPECT_EQ(gray_rgb->ToRGBIfOpaque(), nullptr);
    delete g, delete forced, delete ga, delete opaque_gray, delete rgb;

    // ToRGB from every format.
    KZPicturePalette* pal =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 1, 1));
    uint8_t entries[4] = {10, 20, 30, 40};
    pal->SetPalette(1, entries);
    struct {
        KZPicture* source;
        uint8_t r, g, b;
    } cases[] = {
        {MakePicture(KZ_PICTURE_RGB, 1, 1, [](int, int, int c) { return 10 + c; }), 10, 11, 12},
        {MakePicture(KZ_PICTURE_RGBA, 1, 1, [](int, int, int c) { return 10 + c; }), 10, 11, 12},
        {MakePicture(KZ_PICTURE_ALPHA, 1, 1, [](int, int, int) { return 7; }), 255, 255, 255},
        {MakePicture(KZ_PICTURE_GRAY, 1, 1, [](int, int, int) { return 77; }), 77, 77, 77},
        {MakePicture(KZ_PICTURE_GRAY_ALPHA, 1, 1, [](int, int, int c) { return c ? 5 : 66; }), 66,
         66, 66},
        {pal, 10, 20, 30},
    };
    for (auto& c : cases) {
        KZPicture* out = c.source->ToRGB();
        ASSERT_NE(out, nullptr) << c.source->Format();
        EXPECT_EQ(out->Format(), KZ_PICTURE_RGB);
        EXPECT_EQ(out->Row(0)[0], c.r) << c.source->Format();
        EXPECT_EQ(out->Row(0)[1], c.g);
        EXPECT_EQ(out->Row(0)[2], c.b);
        delete out;
    }
    pal->SetPaletteKind(KZ_PICTURE_RGBA); // alpha dropped
    KZPicture* from_rgba_palette = pal->ToRGB();
    EXPECT_EQ(from_rgba_palette->Row(0)[2], 30);
    delete from_rgba_palette;
    for (auto& c : cases)
        delete c.source;
    delete gray_rgb, delete color, delete rgba;
}

TEST(Picture, ExpandPaletteByKind) {
    KZPicturePalette* p =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 2, 1));
    uint8_t entries[8] = {10, 20, 30, 40, 50, 60, 70, 80};
    p->SetPalette(2, entries);
    p->Row(0)[1] = 1;
    struct {
        int kind, format;
        std::vector<int> expanded, rgb_or_rgba;
    } cases[] = {
        {KZ_PICTURE_RGB, KZ_PICTURE_RGB, {50, 60, 70}, {50, 60, 70}},
        {KZ_PICTURE_RGBA, KZ_PICTURE_RGBA, {50, 60, 70, 80}, {50, 60, 70, 80}},
        {KZ_PICTURE_ALPHA, KZ_PICTURE_ALPHA, {80}, {255, 255, 255, 80}},
        {KZ_PICTURE_GRAY, KZ_PICTURE_GRAY, {50}, {50, 50, 50}},
        {KZ_PICTURE_GRAY_ALPHA, KZ_PICTURE_GRAY_ALPHA, {50, 80}, {50, 50, 50, 80}},
    };
    for (auto& c : cases) {
        p->SetPaletteKind(c.kind);
        KZPicture* e = p->ExpandPalette();
        KZPicture* f = p->PaletteToRGBOrRGBA();
        ASSERT_NE(e, nullptr);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(e->Format(), c.format);
        for (size_t i = 0; i < c.expanded.size(); i++)
            EXPECT_EQ(e->Row(0)[c.expanded.size() + i], c.expanded[i]) << c.kind;
        EXPECT_EQ(f->BytesPerPixel(), int(c.rgb_or_rgba.size()));
        for (size_t i = 0; i < c.rgb_or_rgba.size(); i++)
            EXPECT_EQ(f->Row(0)[c.rgb_or_rgba.size() + i], c.rgb_or_rgba[i]) << c.kind;
        delete e, delete f;
    }
    delete p;
}

KZPicturePalette* PaletteOf(std::vector<std::vector<uint8_t>> entries,
                            std::vector<uint8_t> pixels) {
    KZPicturePalette* p = static_cast<KZPicturePalette*>(
        KZPicture::CreatePicture(KZ_PICTURE_PALETTE, int(pixels.size()), 1));
    std::vector<uint8_t> flat;
    for (auto& e : entries)
        flat.insert(flat.end(), e.begin(), e.end());
    p->SetPalette(int(entries.size()), flat.data());
    for (size_t i = 0; i < pixels.size(); i++)
        p->Row(0)[i] = pixels[i];
    return p;
}

TEST(Picture, OptimizePaletteDropsUnusedAndDuplicateEntries) {
    // Entry 1 unused, entry 3 duplicates entry 0.
    KZPicturePalette* p =
        PaletteOf({{9, 1, 1, 255}, {2, 2, 3, 255}, {5, 6, 7, 255}, {9, 1, 1, 255}}, {3, 2, 0, 2});
    p->OptimizePalette();
    EXPECT_EQ(p->PaletteSize(), 2);
    EXPECT_EQ(p->PaletteKind(), KZ_PICTURE_RGB);
    EXPECT_EQ(std::vector<uint8_t>(p->Row(0), p->Row(0) + 4), (std::vector<uint8_t>{0, 1, 0, 1}));
    EXPECT_EQ(p->Entry(1)[0], 5);
    EXPECT_EQ(p->Entry(2)[0], 0); // rebuilt: unused places black and opaque
    EXPECT_EQ(p->Entry(3)[3], 255);
    delete p;

    // Only the first entries used: pixels stay, the size shrinks.
    p = PaletteOf({{1, 2, 3, 255}, {4, 5, 6, 255}, {7, 8, 9, 255}}, {1, 0, 1});
    p->OptimizePalette();
    EXPECT_EQ(p->PaletteSize(), 2);
    EXPECT_EQ(p->Row(0)[0], 1);
    EXPECT_EQ(p->Entry(2)[0], 7);
    delete p;

    // Kind normalisation: translucent RGB becomes RGBA; all-gray becomes gray kinds.
    struct {
        int kind;
        std::vector<std::vector<uint8_t>> entries;
        int expected;
    } kinds[] = {
        {KZ_PICTURE_RGB, {{1, 2, 3, 255}, {4, 5, 6, 100}}, KZ_PICTURE_RGBA},
        {KZ_PICTURE_RGBA, {{1, 2, 3, 255}, {4, 5, 6, 255}}, KZ_PICTURE_RGB},
        {KZ_PICTURE_RGB, {{3, 3, 3, 255}, {9, 9, 9, 255}}, KZ_PICTURE_GRAY},
        {KZ_PICTURE_RGBA, {{3, 3, 3, 255}, {9, 9, 9, 0}}, KZ_PICTURE_GRAY_ALPHA},
        {KZ_PICTURE_GRAY, {{3, 0, 0, 10}, {9, 0, 0, 255}}, KZ_PICTURE_GRAY_ALPHA},
        {KZ_PICTURE_GRAY_ALPHA, {{3, 0, 0, 255}, {9, 0, 0, 255}}, KZ_PICTURE_GRAY},
        {KZ_PICTURE_ALPHA, {{3, 3, 3, 255}, {9, 9, 9, 255}}, KZ_PICTURE_ALPHA},
    };
    for (auto& k : kinds) {
        p = PaletteOf(k.entries, {0, 1});
        p->SetPaletteKind(k.kind);
        p->OptimizePalette();
        EXPECT_EQ(p->PaletteKind(), k.expected) << k.kind;
        delete p;
    }

    // A pixel using an index beyond the palette size keeps its colour.
    p = PaletteOf({{1, 2, 3, 255}}, {0, 5});
    p->Entry(5)[0] = 77;
    p->OptimizePalette();
    EXPECT_EQ(p->PaletteSize(), 2);
    EXPECT_EQ(p->Entry(p->Row(0)[1])[0], 77);
    delete p;
}

TEST(Picture, ApplyGamma) {
    KZPicture* p = MakePicture(KZ_PICTURE_RGBA, 4, 1, [](int x, int, int) { return x * 85; });
    KZPicture* same = p->Clone();
    p->ApplyGamma(1.005f); // within 0.01 of 1: unchanged
    EXPECT_TRUE(p->Equals(same));
    p->ApplyGamma(2.0f);
    // 255 * (85 / 255) ^ 0.5 + 0.5 = 147.7 -> 147, alpha included.
    EXPECT_EQ(p->Row(0)[4], 147);
    EXPECT_EQ(p->Row(0)[7], 147);
    EXPECT_EQ(p->Row(0)[0], 0);
    EXPECT_EQ(p->Row(0)[12], 255);
    KZPicture* q = same->Clone();
    q->ApplyGamma(1e9f); // limited to 1000
    same->ApplyGamma(1000.0f);
    EXPECT_TRUE(q->Equals(same));
    delete p, delete q, delete same;

    KZPicturePalette* pal = PaletteOf({{85, 0, 255, 85}}, {0});
    pal->ApplyGamma(0.5f); // (85/255)^2 * 255 = 28.3
    EXPECT_EQ(pal->Entry(0)[0], 28);
    EXPECT_EQ(pal->Entry(0)[3], 28);
    EXPECT_EQ(pal->Row(0)[0], 0); // indices untouched
    delete pal;
}

TEST(Picture, Descriptions) {
    KZPicturePalette* pal =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 640, 480));
    pal->SetPaletteSize(16);
    EXPECT_STREQ(pal->GetDescription().c_str(), "640x480 16 colors");
    delete pal;
    const char* texts[] = {"",          "3x2 RGB",       "3x2 RGBA",
                           "3x2 Alpha", "3x2 Grayscale", "3x2 Gray+Alpha"};
    for (int f = 1; f <= 5; f++) {
        KZPicture* p = KZPicture::CreatePicture(f, 3, 2);
        EXPECT_STREQ(p->GetDescription().c_str(), texts[f]);
        p->Allocate(0, 0);
        EXPECT_STREQ(p->GetDescription().c_str(), "");
        delete p;
    }
}

TEST(PictureFiles, TypesByExtension) {
    struct {
        const char* path;
        int type;
    } cases[] = {{"a.bmp", 1},     {"C:\\x\\b.RLE", 1}, {"c.dib", 1},       {"d.GIF", 2},
                 {"photo.JPG", 3}, {"e.jpeg", 3},       {"f.jpe", 3},       {"g.jif", 3},
                 {"h.jfif", 3},    {"i.pcx", 4},        {"j.png", 5},       {"k.ppm", 6},
                 {"l.PNM", 6},     {"m.tga", 7},        {"n.tif", 8},       {"o.TIFF", 8},
                 {"p.jpeg2", 0},   {"q.pgm", 0},        {"noextension", 0}, {"dir.png/file", 0},
                 {"", 0}};
    for (auto& c : cases)
        EXPECT_EQ(GetPictureFileType(c.path), c.type) << c.path;
    EXPECT_EQ(GetPictureFileType(nullptr), 0);
    EXPECT_EQ(LoadPicture(FixturePath("jpeg.jpeg2").c_str()), nullptr);
}

TEST(PictureFiles, DialogFilter) {
    KZString all;
    KZString filter = GetFileDialogFilter(&all);
    EXPECT_STREQ(filter.c_str(),
                 "BMP Windows Bitmap (*.bmp;*.rle;*.dib)|*.bmp;*.rle;*.dib|"
                 "GIF CompuServe GIF (*.gif)|*.gif|"
                 "JPEG (*.jpg;*.jpeg;*.jpe;*.jif;*.jfif)|*.jpg;*.jpeg;*.jpe;*.jif;*.jfif|"
                 "PCX (*.pcx)|*.pcx|"
                 "PNG Portable Network Graphics (*.png)|*.png|"
                 "PPM Portable Pixmap (*.ppm;*.pnm)|*.ppm;*.pnm|"
                 "TGA Targa (*.tga)|*.tga|"
                 "TIFF (*.tif;*.tiff)|*.tif;*.tiff|");
    EXPECT_STREQ(all.c_str(), "*.bmp;*.rle;*.dib;*.gif;*.jpg;*.jpeg;*.jpe;*.jif;*.jfif;*.pcx;"
                              "*.png;*.ppm;*.pnm;*.tga;*.tif;*.tiff");
    EXPECT_STREQ(GetFileDialogFilter(nullptr).c_str(), filter.c_str());
}

TEST(PictureFiles, NormalisationOnLoad) {
    // RGBA that is gray and opaque ends as Grayscale; gray with alpha as Gray+Alpha.
    KZPicture* p =
        MakePicture(KZ_PICTURE_RGBA, 2, 1, [](int x, int, int c) { return c == 3 ? 255 : 9 * x; });
    p = NormalizePicture(p);
    EXPECT_EQ(p->Format(), KZ_PICTURE_GRAY);
    delete p;
    p = MakePicture(KZ_PICTURE_RGBA, 2, 1, [](int x, int, int c) { return c == 3 ? 9 : 9 * x; });
    p = NormalizePicture(p);
    EXPECT_EQ(p->Format(), KZ_PICTURE_GRAY_ALPHA);
    delete p;
    p = MakePicture(KZ_PICTURE_RGBA, 2, 1,
                    [](int x, int, int c) { return c == 3 ? 255 : 9 * x + c; });
    p = NormalizePicture(p);
    EXPECT_EQ(p->Format(), KZ_PICTURE_RGB);
    delete p;
}

} // namespace
