// The readers against ImageMagick's decodings of the same files (netpbm's for TIFF and one PCX;
// tests/fixtures/pictures, made by make-fixtures there), and their behaviour on truncated,
// damaged and hostile files.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "tests/unit/media/picture/picture_test_util.h"

namespace {

struct FixtureCase {
    const char* name;
    int format;    // after LoadPicture's normalisation
    bool alpha;    // HasAlpha() of the loaded picture
    int tolerance; // largest channel difference allowed against ImageMagick
};

const FixtureCase kFixtures[] = {
    {"bmp1.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"bmp4.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"bmp8.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"bmp8rle.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"bmp8rle-delta.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"bmp4rle.bmp", KZ_PICTURE_PALETTE, false, 0},
    // Odd width, odd encoded counts alternating two indices, absolute runs of 3 to 8 pixels.
    {"bmp4rle-runs.bmp", KZ_PICTURE_PALETTE, false, 0},
    // Top-down (negative height): uncompressed and RLE8.
    {"bmp8-topdown.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"bmp24-topdown.bmp", KZ_PICTURE_RGB, false, 0},
    {"bmp8rle-topdown.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"bmp16-565.bmp", KZ_PICTURE_RGB, false, 0},
    {"bmp16-555.bmp", KZ_PICTURE_RGB, false, 0},
    {"bmp24.bmp", KZ_PICTURE_RGB, false, 0},
    {"bmp24-gray.bmp", KZ_PICTURE_GRAY, false, 0},
    {"bmp32-alpha.bmp", KZ_PICTURE_RGBA, true, 0},
    {"bmp32-opaque.bmp", KZ_PICTURE_RGB, false, 0},
    {"bmp-os2.bmp", KZ_PICTURE_RGB, false, 0},
    {"bmp-os2-8.bmp", KZ_PICTURE_PALETTE, false, 0},
    {"gif.gif", KZ_PICTURE_PALETTE, false, 0},
    {"gif-interlaced.gif", KZ_PICTURE_PALETTE, false, 0},
    {"gif-transparent.gif", KZ_PICTURE_PALETTE, true, 0},
    {"gif-unused-transparent.gif", KZ_PICTURE_PALETTE, false, 0},
    {"pcx24.pcx", KZ_PICTURE_RGB, false, 0},
    {"pcx8.pcx", KZ_PICTURE_PALETTE, false, 0},
    {"pcx1.pcx", KZ_PICTURE_PALETTE, false, 0},
    {"pcx4-planar.pcx", KZ_PICTURE_PALETTE, false, 0},
    {"pcx4-packed.pcx", KZ_PICTURE_PALETTE, false, 0},
    // Four planes of one bit, 16 bytes a plane's scan line; against Pillow.
    {"pcx4-planar-wide.pcx", KZ_PICTURE_PALETTE, false, 0},
    {"p3.ppm", KZ_PICTURE_RGB, false, 0},
    {"p3-16.ppm", KZ_PICTURE_RGB, false, 0},
    {"p6.ppm", KZ_PICTURE_RGB, false, 0},
    {"p6-16.ppm", KZ_PICTURE_RGB, false, 0},
    // 16-bit samples off the 257 grid against their nearest 8-bit level (the *-round files).
    {"p6-16-round.ppm", KZ_PICTURE_RGB, false, 0},
    {"p5.pnm", KZ_PICTURE_GRAY, false, 0},
    // 16-bit samples are rounded to 8 bits; ImageMagick's own rounding differs by one at times.
    {"p5-16.pnm", KZ_PICTURE_GRAY, false, 1},
    // Bitmaps (ASCII, ASCII without separators, binary) and ASCII gray with 255 and 15.
    {"p1.pnm", KZ_PICTURE_GRAY, false, 0},
    {"p1-packed.pnm", KZ_PICTURE_GRAY, false, 0},
    {"p4.pnm", KZ_PICTURE_GRAY, false, 0},
    {"p2.pnm", KZ_PICTURE_GRAY, false, 0},
    {"p2-15.pnm", KZ_PICTURE_GRAY, false, 0},
    {"tga1.tga", KZ_PICTURE_PALETTE, false, 0},
    {"tga2.tga", KZ_PICTURE_RGB, false, 0},
    {"tga3.tga", KZ_PICTURE_GRAY, false, 0},
    {"tga9.tga", KZ_PICTURE_PALETTE, false, 0},
    {"tga10.tga", KZ_PICTURE_RGB, false, 0},
    {"tga11.tga", KZ_PICTURE_GRAY, false, 0},
    {"tga32.tga", KZ_PICTURE_RGBA, true, 0},
    {"tga2-topleft.tga", KZ_PICTURE_RGB, false, 0},
    {"tga10-topleft.tga", KZ_PICTURE_RGB, false, 0},
    {"tga2-16.tga", KZ_PICTURE_RGB, false, 0},
    {"tga10-32.tga", KZ_PICTURE_RGBA, true, 0},
    {"tga11-topleft.tga", KZ_PICTURE_GRAY, false, 0},
    {"tga1-map15.tga", KZ_PICTURE_PALETTE, false, 0},
    {"tga1-map16.tga", KZ_PICTURE_PALETTE, false, 0},
    {"tga9-map24.tga", KZ_PICTURE_PALETTE, false, 0},
    {"tga9-map32.tga", KZ_PICTURE_PALETTE, true, 0},
    // Right-to-left origins (bit 4 of the descriptor), raw, run-length and colour-mapped.
    {"tga2-right.tga", KZ_PICTURE_RGB, false, 0},
    {"tga10-topright.tga", KZ_PICTURE_RGB, false, 0},
    {"tga9-right.tga", KZ_PICTURE_PALETTE, false, 0},
    // 16-bit gray with alpha, against Pillow (ImageMagick reads these as colour).
    {"tga3-16.tga", KZ_PICTURE_GRAY_ALPHA, true, 0},
    {"tga11-16-topright.tga", KZ_PICTURE_GRAY_ALPHA, true, 0},
    {"png-rgb.png", KZ_PICTURE_RGB, false, 0},
    {"png-gray.png", KZ_PICTURE_GRAY, false, 0},
    {"png-gray2.png", KZ_PICTURE_GRAY, false, 0},
    {"png-palette.png", KZ_PICTURE_PALETTE, false, 0},
    {"png-palette-alpha.png", KZ_PICTURE_PALETTE, true, 0},
    {"png-gray-alpha.png", KZ_PICTURE_GRAY_ALPHA, true, 0},
    {"png-rgba.png", KZ_PICTURE_RGBA, true, 0},
    {"png-16.png", KZ_PICTURE_RGB, false, 0},
    {"png-rgba16.png", KZ_PICTURE_RGBA, true, 0},
    {"png-16-round.png", KZ_PICTURE_RGB, false, 0},
    {"png-gray16-round.png", KZ_PICTURE_GRAY, false, 0},
    {"png-interlaced.png", KZ_PICTURE_RGB, false, 0},
    // TIFF against libtiff's own tifftopnm: strips and tiles, raw and compressed, 8 and 16 bits.
    {"tiff-rgb.tif", KZ_PICTURE_RGB, false, 0},
    {"tiff-rgb-raw.tif", KZ_PICTURE_RGB, false, 0},
    {"tiff-tiled.tif", KZ_PICTURE_RGB, false, 0},
    // Uncompressed tiles as ImageMagick writes them: four, three cut by the picture's edges.
    {"tiff-tiled-raw.tif", KZ_PICTURE_RGB, false, 0},
    {"tiff-rgb16.tif", KZ_PICTURE_RGB, false, 0},
    {"tiff-rgb16-tiled.tif", KZ_PICTURE_RGB, false, 0},
    // 16-bit samples to the nearest 8-bit level, as the references take them (the RGBA reader
    // that read these before misplaced the samples of 16-bit gray tiles cut by the edge).
    {"tiff-gray16.tif", KZ_PICTURE_GRAY, false, 0},
    {"tiff-gray16-tiled.tif", KZ_PICTURE_GRAY, false, 0},
    {"tiff-palette.tif", KZ_PICTURE_PALETTE, false, 0},
    {"tiff-gray.tif", KZ_PICTURE_GRAY, false, 0},
    {"tiff-bilevel.tif", KZ_PICTURE_GRAY, false, 0},
    {"tiff-rgba.tif", KZ_PICTURE_RGBA, true, 0},
    {"tiff-rgba-tiled.tif", KZ_PICTURE_RGBA, true, 0},
    // Alpha in every layout (see TiffAlphaIsTheFilesOwn); ImageMagick cuts 16-bit samples to 8
    // bits where we round, and divides associated colours back at its own precision.
    {"tiff-rgba-assoc.tif", KZ_PICTURE_RGBA, true, 1},
    {"tiff-rgba-assoc-planar-tiled.tif", KZ_PICTURE_RGBA, true, 1},
    {"tiff-rgba16-assoc-tiled.tif", KZ_PICTURE_RGBA, true, 1},
    {"tiff-rgba16-planar.tif", KZ_PICTURE_RGBA, true, 1},
    {"tiff-graya16-assoc.tif", KZ_PICTURE_GRAY_ALPHA, true, 1},
    {"jpeg.jpg", KZ_PICTURE_RGB, false, 0},
    {"jpeg-progressive.jpg", KZ_PICTURE_RGB, false, 0},
    {"jpeg-gray.jpg", KZ_PICTURE_GRAY, false, 0},
    // Inverted inks behind the Adobe marker, stored as YCCK and as plain CMYK; ImageMagick
    // (and Pillow, which agrees with it) multiply the inks with a rounding of their own.
    {"jpeg-ycck.jpg", KZ_PICTURE_RGB, false, 1},
    {"jpeg-cmyk.jpg", KZ_PICTURE_RGB, false, 1},
};

class FixtureTest : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(FixtureTest, DecodesLikeImageMagick) {
    const FixtureCase& c = GetParam();
    std::string path = FixturePath(c.name);
    KZPicture* picture = LoadPicture(path.c_str());
    ASSERT_NE(picture, nullptr) << c.name;
    EXPECT_TRUE(picture->IsValid());
    EXPECT_EQ(picture->Format(), c.format) << c.name;
    EXPECT_EQ(picture->HasAlpha(), c.alpha) << c.name;
    EXPECT_EQ(picture->SourceFileType(), GetPictureFileType(c.name));
    EXPECT_STREQ(picture->Name().c_str(), c.name);
    EXPECT_STREQ(picture->Path().c_str(), path.c_str());
    EXPECT_GT(picture->ModificationTime(), 0);
    RgbaImage reference;
    ASSERT_TRUE(ReadPam(path + ".pam", &reference)) << c.name;
    std::string where;
    EXPECT_LE(MaxDifference(ToRgba(picture), reference, &where), c.tolerance)
        << c.name << " at " << where;
    delete picture;
}

// Cut anywhere inside its pixel data, a file gives no picture; damaged bytes never make a
// reader touch memory outside its buffers (the sanitizer build checks that).
TEST_P(FixtureTest, TruncatedAndDamagedFiles) {
    const FixtureCase& c = GetParam();
    std::vector<uint8_t> bytes = ReadFileBytes(FixturePath(c.name));
    ASSERT_FALSE(bytes.empty());
    int type = GetPictureFileType(c.name);
    for (size_t cut : {size_t(0), size_t(1), size_t(8), bytes.size() / 2, bytes.size() * 3 / 4}) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
        part.reserve(part.size() + 1);
        KZPicture* picture = DecodePicture(type, part.data(), part.size());
        EXPECT_EQ(picture, nullptr) << c.name << " cut at " << cut;
        delete picture;
    }
    uint32_t seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 300; round++) {
        std::vector<uint8_t> damaged = bytes;
        int flips = 1 + int(next() >> 16) % 4;
        for (int i = 0; i < flips; i++) {
            // Mostly the headers, where sizes and offsets live.
            size_t span =
                (next() >> 16) % 4 ? std::min<size_t>(damaged.size(), 64) : damaged.size();
            damaged[(next() >> 8) % span] = uint8_t(next() >> 16);
        }
        if (round % 5 == 0)
            damaged.resize((next() >> 8) % damaged.size());
        KZPicture* picture = DecodePicture(type, damaged.data(), damaged.size());
        if (picture) {
            EXPECT_TRUE(picture->IsValid());
            delete NormalizePicture(picture);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, FixtureTest, ::testing::ValuesIn(kFixtures),
                         [](const ::testing::TestParamInfo<FixtureCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// Associated colours are divided back once and unassociated ones come as stored; the alpha is
// the file's own, exactly, in every layout. The top-left pixel of each file is half-transparent
// red: 128, 0, 0, 128 stored premultiplied, 255, 0, 0, 128 stored straight.
TEST(PictureReaders, TiffAlphaIsTheFilesOwn) {
    const struct {
        const char* name;
        uint8_t top_left[4];
    } cases[] = {
        {"tiff-rgba-assoc.tif", {255, 0, 0, 128}},
        {"tiff-rgba-assoc-planar-tiled.tif", {255, 0, 0, 128}},
        {"tiff-rgba16-assoc-tiled.tif", {255, 0, 0, 128}},
        {"tiff-rgba16-planar.tif", {255, 0, 0, 128}},
        {"tiff-graya16-assoc.tif", {76, 76, 76, 128}},
    };
    for (const auto& c : cases) {
        KZPicture* picture = LoadPicture(FixturePath(c.name).c_str());
        ASSERT_NE(picture, nullptr) << c.name;
        RgbaImage ours = ToRgba(picture), reference;
        delete picture;
        ASSERT_TRUE(ReadPam(FixturePath(c.name) + ".pam", &reference)) << c.name;
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(ours.At(0, 0)[i], c.top_left[i]) << c.name << " channel " << i;
        for (int y = 0; y < ours.height; y++)
            for (int x = 0; x < ours.width; x++)
                ASSERT_EQ(ours.At(x, y)[3], reference.At(x, y)[3])
                    << c.name << " alpha at " << x << "," << y;
    }
}

TEST(PictureReaders, FormatsWeDoNotReadGiveNoPicture) {
    // Netpbm types outside 1..7, bitmaps with a digit other than 0 or 1, or too few pixels.
    for (const char* text : {"P8\n1 1\n255\n.", "P0\n1 1\n255\n.", "P1\n2 1\n0 2\n",
                             "P1\n2 2\n0 1 1\n", "P4\n9 2\n\xff\xff\xff"}) {
        std::vector<uint8_t> b(text, text + strlen(text));
        KZPicture* picture = DecodePicture(KZ_FILE_PPM, b.data(), b.size());
        EXPECT_EQ(picture, nullptr) << text;
        delete picture;
    }
    // A file of one type under another's extension is refused by the signature checks.
    std::vector<uint8_t> png = ReadFileBytes(FixturePath("png-rgb.png"));
    for (int type = KZ_FILE_BMP; type <= KZ_FILE_TIFF; type++) {
        if (type == KZ_FILE_PNG)
            continue;
        KZPicture* picture = DecodePicture(type, png.data(), png.size());
        EXPECT_EQ(picture, nullptr) << type;
        delete picture;
    }
    EXPECT_EQ(LoadPicture(FixturePath("missing.png").c_str()), nullptr);
    EXPECT_EQ(LoadPicture(FixturePath("make-fixtures").c_str()), nullptr);
}

// Little-endian helpers for the hand-made hostile headers.
void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

KZPicture* Decode(int type, const std::vector<uint8_t>& b) {
    return DecodePicture(type, b.data(), b.size());
}

TEST(PictureReaders, AbsurdSizesGiveNoPicture) {
    // BMP: widths whose rows overflow 32 bits, a zero size, the most negative height.
    std::vector<uint8_t> bmp = ReadFileBytes(FixturePath("bmp24.bmp"));
    for (uint32_t width : {0u, 0x40000000u, 0x7FFFFFFFu, uint32_t(KZ_PICTURE_MAX_SIDE + 1)}) {
        std::vector<uint8_t> b = bmp;
        Put32(b, 18, width);
        EXPECT_EQ(Decode(KZ_FILE_BMP, b), nullptr) << width;
    }
    std::vector<uint8_t> top_down = bmp;
    Put32(top_down, 22, 0x80000000u);
    EXPECT_EQ(Decode(KZ_FILE_BMP, top_down), nullptr);
    std::vector<uint8_t> far_offset = bmp;
    Put32(far_offset, 10, 0xFFFFFFF0u);
    EXPECT_EQ(Decode(KZ_FILE_BMP, far_offset), nullptr);

    // PPM: sizes whose product overflows, and more samples than the file holds.
    for (const char* text :
         {"P6\n4294967296 2\n255\n", "P6\n65536 65536\n255\n", "P6\n2000000000 2000000000\n255\n",
          "P6\n0 5\n255\n", "P5\n100 100\n255\nabc", "P6\n2 2\n0\n            ",
          "P3\n2 1\n255\n1 2 3 4 5\n"}) {
        std::vector<uint8_t> b(text, text + strlen(text));
        EXPECT_EQ(Decode(KZ_FILE_PPM, b), nullptr) << text;
    }

    // TGA and GIF: the largest 16-bit sizes need more data than the files have.
    std::vector<uint8_t> tga = ReadFileBytes(FixturePath("tga2.tga"));
    Put16(tga, 12, 0xFFFF);
    Put16(tga, 14, 0xFFFF);
    EXPECT_EQ(Decode(KZ_FILE_TGA, tga), nullptr);
    std::vector<uint8_t> pcx = ReadFileBytes(FixturePath("pcx24.pcx"));
    Put16(pcx, 8, 0xFFFF);
    Put16(pcx, 10, 0xFFFF);
    EXPECT_EQ(Decode(KZ_FILE_PCX, pcx), nullptr);

    // The library readers refuse sizes beyond the limits before they allocate.
    std::vector<uint8_t> png = ReadFileBytes(FixturePath("png-rgb.png"));
    Put32(png, 16, 0x00100000u); // width in IHDR (big-endian field: 4096 x 65536)
    EXPECT_EQ(Decode(KZ_FILE_PNG, png), nullptr);
}

#ifndef _WIN32
long PeakResidentKb() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(PictureReaders, ChunkLongerThanThePngIsRefusedBeforeAllocating) {
    // Found by fuzzing: a text chunk that claims 1.95 GB in a file of a few hundred bytes made
    // libpng allocate and clear that much (it only warns about the length) before failing.
    std::vector<uint8_t> png = ReadFileBytes(FixturePath("png-rgb.png"));
    const uint8_t text[] = {0x74, 0x66, 0x00, 0x25, 't', 'E', 'X', 't', 'd', 'a', 't', 'e', 0};
    std::vector<uint8_t> claimed = png;
    claimed.insert(claimed.begin() + 33, std::begin(text), std::end(text));
    long before = PeakResidentKb();
    EXPECT_EQ(Decode(KZ_FILE_PNG, claimed), nullptr);
    EXPECT_LT(PeakResidentKb() - before, 256 * 1024) << "kB more at the peak";

    // A chunk that fits loads as before, and a file cut inside a chunk still gives no picture.
    const uint8_t small[] = {0, 0, 0, 3, 't', 'E', 'X', 't', 'k', 0, 'v', 0xcb, 0x04, 0xf3, 0x90};
    std::vector<uint8_t> fitting = png;
    fitting.insert(fitting.begin() + 33, std::begin(small), std::end(small));
    KZPicture* loaded = Decode(KZ_FILE_PNG, fitting);
    EXPECT_NE(loaded, nullptr);
    delete loaded;
    fitting.resize(fitting.size() - 5);
    EXPECT_EQ(Decode(KZ_FILE_PNG, fitting), nullptr);
}
#endif

TEST(PictureReaders, SignaturesAndExtensionBlocks) {
    // "BM" and "GIF" in any case.
    std::vector<uint8_t> bmp = ReadFileBytes(FixturePath("bmp24.bmp"));
    KZPicture* upper = Decode(KZ_FILE_BMP, bmp);
    bmp[0] = 'b';
    bmp[1] = 'M';
    KZPicture* mixed = Decode(KZ_FILE_BMP, bmp);
    ASSERT_NE(mixed, nullptr);
    EXPECT_TRUE(mixed->Equals(upper));
    bmp[1] = 'X';
    EXPECT_EQ(Decode(KZ_FILE_BMP, bmp), nullptr);
    delete upper, delete mixed;

    std::vector<uint8_t> gif = ReadFileBytes(FixturePath("gif.gif"));
    KZPicture* plain = Decode(KZ_FILE_GIF, gif);
    ASSERT_NE(plain, nullptr);
    // Comment, application and plain-text blocks in front of the image are skipped over.
    size_t at = 13 + 3 * (size_t(1) << ((gif[10] & 7) + 1));
    const uint8_t blocks[] = {0x21, 0xFE, 5,   'h', 'e',  'l',  'l', 'o', 0,   0x21, 0xFF, 11,
                              'N',  'E',  'T', 'S', 'C',  'A',  'P', 'E', '2', '.',  '0',  3,
                              1,    0,    0,   0,   0x21, 0x01, 12,  0,   0,   0,    0,    1,
                              0,    1,    0,   8,   8,    0,    1,   2,   'x', 'y',  0};
    gif.insert(gif.begin() + at, std::begin(blocks), std::end(blocks));
    gif[0] = 'g';
    gif[2] = 'f';
    KZPicture* extended = Decode(KZ_FILE_GIF, gif);
    ASSERT_NE(extended, nullptr);
    EXPECT_TRUE(extended->Equals(plain));
    gif[4] = '8'; // "GIF88a" is no GIF
    EXPECT_EQ(Decode(KZ_FILE_GIF, gif), nullptr);
    delete plain, delete extended;
}

TEST(PictureReaders, PaletteIndicesBeyondTheColourTableStayInside) {
    // A GIF whose pixels use indices beyond a two-entry table: clamped to the last entry.
    std::vector<uint8_t> gif = ReadFileBytes(FixturePath("gif.gif"));
    ASSERT_GT(gif.size(), 13u);
    KZPicture* original = Decode(KZ_FILE_GIF, gif);
    ASSERT_NE(original, nullptr);
    int table = 1 << ((gif[10] & 7) + 1);
    // Shrink the declared table to 2 entries and drop the rest of its bytes.
    std::vector<uint8_t> small(gif.begin(), gif.begin() + 13 + 6);
    small[10] = uint8_t((gif[10] & ~7) | 0);
    small.insert(small.end(), gif.begin() + 13 + 3 * table, gif.end());
    KZPicture* clamped = Decode(KZ_FILE_GIF, small);
    ASSERT_NE(clamped, nullptr);
    const KZPicture* p = clamped;
    for (int y = 0; y < p->Height(); y++)
        for (int x = 0; x < p->Width(); x++)
            EXPECT_LE(p->Row(y)[x], 1);
    delete original;
    delete clamped;
}

TEST(PictureReaders, CmykJpegWithoutTheAdobeMarkerStillHasInvertedInks) {
    // Pillow and ImageMagick take four-component files as Adobe's inverted inks either way.
    std::vector<uint8_t> jpeg = ReadFileBytes(FixturePath("jpeg-cmyk.jpg"));
    std::vector<uint8_t> stripped(jpeg.begin(), jpeg.begin() + 2);
    bool dropped = false;
    for (size_t at = 2; at + 4 <= jpeg.size();) {
        size_t length = size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (jpeg[at + 1] == 0xDA) { // the scan runs to the end
            stripped.insert(stripped.end(), jpeg.begin() + at, jpeg.end());
            break;
        }
        if (jpeg[at + 1] == 0xEE)
            dropped = true;
        else
            stripped.insert(stripped.end(), jpeg.begin() + at, jpeg.begin() + at + 2 + length);
        at += 2 + length;
    }
    ASSERT_TRUE(dropped);
    KZPicture* with = Decode(KZ_FILE_JPEG, jpeg);
    KZPicture* without = Decode(KZ_FILE_JPEG, stripped);
    ASSERT_NE(with, nullptr);
    ASSERT_NE(without, nullptr);
    EXPECT_TRUE(without->Equals(with));
    delete with;
    delete without;
}

} // namespace
