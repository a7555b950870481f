#include "media/movie/vm_movie_converter.h"

#include <csignal>
#include <cstdlib>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

#include "media/base/kz_file.h"
#include "media/base/kz_memory.h"
#include "media/base/kz_reporter.h"
#include "media/picture/kz_picture.h"
#include "tests/unit/media/movie/movie_test_support.h"

namespace {

typedef std::vector<std::string> Line;

KZPicture* Pattern(int format, int w, int h) {
    KZPicture* p = KZPicture::CreatePicture(format, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < p->BytesPerPixel(); ++c)
                p->Row(y)[p->BytesPerPixel() * x + c] =
                    uint8_t(40 + (x * 100 / w) + (y * 80 / h) + c * 10);
    return p;
}

std::string Path(const std::string& name) {
    return TestDir() + "/" + name;
}

// Checks the one-frame layout every converted picture has and returns the checker's report.
SwfCheck CheckConverted(const std::string& path, int w, int h, int bitmap_tag) {
    SwfCheck check = RunSwfCheck(path);
    EXPECT_TRUE(check.Ok()) << check.output;
    const std::string W = std::to_string(w * 20), H = std::to_string(h * 20);
    const std::string W1 = std::to_string(w * 20 + 1), H1 = std::to_string(h * 20 + 1);
    // Signature, version, stated and actual length, frame RECT, rate 2.0, two frames.
    std::vector<std::string> header = check.First("header");
    EXPECT_EQ(header.size(), 11u);
    if (header.size() == 11) {
        EXPECT_EQ(Line(header.begin() + 1, header.begin() + 3), (Line{"FWS", "4"}));
        EXPECT_EQ(header[3], std::to_string(ReadBytes(path).size()));
        EXPECT_EQ(Line(header.begin() + 5, header.end()), (Line{"0", W, "0", H, "512", "2"}));
    }
    EXPECT_EQ(check.TagCodes(), (std::vector<int>{9, 9, bitmap_tag, 2, 4, 1, 12, 0}));
    // Lengths of the fixed-size tags: background 3, empty tag 9, PlaceObject 6, frame 0,
    // DoAction 2, end 0.
    EXPECT_EQ(check.TagLength(0), 3);
    EXPECT_EQ(check.TagLength(1), 0);
    EXPECT_EQ(check.TagLength(4), 6);
    EXPECT_EQ(check.TagLength(5), 0);
    EXPECT_EQ(check.TagLength(6), 2);
    EXPECT_EQ(check.First("background"), (Line{"background", "0", "0", "0"}));
    std::vector<std::string> jpeg = check.First("jpeg");
    EXPECT_GE(jpeg.size(), 5u);
    if (jpeg.size() >= 5) {
        EXPECT_EQ(jpeg[1], "1");
        EXPECT_EQ(jpeg[2], std::to_string(w));
        EXPECT_EQ(jpeg[3], std::to_string(h));
    }
    EXPECT_EQ(check.First("shape"), (Line{"shape", "2", "0", W1, "0", H1, "1", "1"}));
    EXPECT_EQ(check.All("fill"),
              (std::vector<Line>{{"fill", "65", "1", "1310720", "1310720", "0", "0"}}));
    EXPECT_TRUE(check.All("line").empty());
    const std::vector<Line> records = {
        {"record", "style", "1", "0", "0", "1", "-", "-"},
        {"record", "straight", "0", H1},
        {"record", "straight", W1, "0"},
        {"record", "straight", "0", "-" + H1},
        {"record", "straight", "-" + W1, "0"},
    };
    EXPECT_EQ(check.All("record"), records);
    EXPECT_EQ(check.First("place"), (Line{"place", "2", "1", "65536", "65536", "0", "0", "0"}));
    EXPECT_EQ(check.First("actions"), (Line{"actions", "ActionStop"}));
    return check;
}

std::vector<uint8_t> DecodedBitmap(const SwfCheck& check, int* w, int* h) {
    std::vector<std::string> jpeg = check.First("jpeg");
    return jpeg.size() >= 5 ? ReadPpm(jpeg[4], w, h) : std::vector<uint8_t>();
}

} // namespace

TEST(ConvertPictureToMovie, A640x480PictureGivesTheOneFrameLayout) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    KZRecordingReporter reporter;
    KZPicture* picture = Pattern(KZ_PICTURE_RGB, 640, 480);
    KZPicture* source = picture->Clone();
    std::string path = Path("640x480.swf");
    ASSERT_TRUE(ConvertPictureToMovie(picture, path.c_str(), &reporter));
    EXPECT_TRUE(reporter.messages.empty());
    SwfCheck check = CheckConverted(path, 640, 480, 21);
    std::vector<std::string> jpeg = check.First("jpeg");
    EXPECT_EQ(MarkerKinds(jpeg), (Line{"D8", "DB", "C0", "C4", "DA"}));
    int w = 0, h = 0;
    std::vector<uint8_t> rgb = DecodedBitmap(check, &w, &h);
    ASSERT_EQ(w, 640);
    ASSERT_EQ(h, 480);
    EXPECT_LE(MaxDifference(rgb, source), 16);
    delete source;
}

TEST(ConvertPictureToMovie, AlphaGivesDefineBitsJPEG3WithItsPlane) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    KZRecordingReporter reporter;
    KZPicture* picture = Pattern(KZ_PICTURE_RGBA, 24, 16);
    std::vector<uint8_t> plane;
    for (int top = 0; top < 16; ++top)
        for (int x = 0; x < 24; ++x) {
            uint8_t a = uint8_t(top < 8 ? 255 : x * 10);
            picture->Row(15 - top)[4 * x + 3] = a;
            plane.push_back(a > 0 && a < 255 ? uint8_t(a + 1) : a);
        }
    std::string path = Path("alpha.swf");
    ASSERT_TRUE(ConvertPictureToMovie(picture, path.c_str(), &reporter));
    SwfCheck check = CheckConverted(path, 24, 16, 35);
    std::vector<std::string> alpha = check.First("alpha");
    ASSERT_EQ(alpha.size(), 4u);
    std::vector<uint8_t> file = ReadBytes(path);
    size_t offset = 8 + std::stoul(alpha[2]), length = std::stoul(alpha[3]);
    ASSERT_LE(offset + length, file.size());
    EXPECT_EQ(Inflate(file.data() + offset, length), plane);
}

TEST(ConvertImageFileToMovie, EveryPictureFileTypeBecomesAMovie) {
    if (!SwfCheckAvailable() || system("/usr/bin/convert -version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no yaswfp or ImageMagick here";
    // The source: an ImageMagick gradient, written by ImageMagick in every type.
    std::string source = Path("source.ppm");
    ASSERT_EQ(system(("/usr/bin/convert -size 48x32 gradient:red-blue '" + source + "'").c_str()),
              0);
    for (const char* ext : {"bmp", "gif", "jpg", "pcx", "png", "ppm", "tga", "tif"}) {
        std::string image = Path(std::string("picture.") + ext);
        ASSERT_EQ(system(("/usr/bin/convert '" + source + "' '" + image + "'").c_str()), 0) << ext;
        KZPicture* loaded = LoadPicture(image.c_str());
        ASSERT_NE(loaded, nullptr) << ext;
        // What the movie must show: the loaded picture as RGB.
        KZPicture* expected = loaded->ToRGB();
        delete loaded;
        std::string movie = Path(std::string("picture-") + ext + ".swf");
        KZRecordingReporter reporter;
        ASSERT_TRUE(ConvertImageFileToMovie(image.c_str(), movie.c_str(), &reporter)) << ext;
        EXPECT_TRUE(reporter.messages.empty()) << ext;
        SwfCheck check = CheckConverted(movie, 48, 32, 21);
        int w = 0, h = 0;
        std::vector<uint8_t> rgb = DecodedBitmap(check, &w, &h);
        ASSERT_EQ(w, 48) << ext;
        ASSERT_EQ(h, 32) << ext;
        EXPECT_LE(MaxDifference(rgb, expected), 24) << ext;
        delete expected;
    }
}

TEST(ConvertPictureToMovie, EdgesOfPicturesWiderThan3276PixelsAreClamped) {
    if (!SwfCheckAvailable())
        GTEST_SKIP() << "no yaswfp here";
    KZRecordingReporter reporter;
    std::string path = Path("wide.swf");
    ASSERT_TRUE(ConvertPictureToMovie(Pattern(KZ_PICTURE_GRAY, 3300, 2), path.c_str(), &reporter));
    SwfCheck check = RunSwfCheck(path);
    ASSERT_TRUE(check.Ok()) << check.output;
    EXPECT_EQ(check.First("shape"), (Line{"shape", "2", "0", "66001", "0", "41", "1", "1"}));
    const std::vector<Line> records = {
        {"record", "style", "1", "0", "0", "1", "-", "-"},
        {"record", "straight", "0", "41"},
        {"record", "straight", "65535", "0"},
        {"record", "straight", "0", "-41"},
        {"record", "straight", "-65535", "0"},
    };
    EXPECT_EQ(check.All("record"), records);
}

TEST(VMIsPictureFile, EverythingButSwfIsAPicture) {
    EXPECT_FALSE(VMIsPictureFile("C:\\movies\\intro.SWF"));
    EXPECT_FALSE(VMIsPictureFile("intro.swf"));
    EXPECT_TRUE(VMIsPictureFile("photo.jpg"));
    EXPECT_TRUE(VMIsPictureFile("archive.swf.png"));
    EXPECT_TRUE(VMIsPictureFile("swf"));
}

TEST(ConvertImageFileToMovie, TransparentPngAndGifGiveTheirAlphaPlane) {
    if (!SwfCheckAvailable() || system("/usr/bin/convert -version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no yaswfp or ImageMagick here";
    const std::string png = Path("translucent.png"), gif = Path("transparent.gif");
    // PNG: a colour gradient with an alpha gradient; GIF: a gradient with a transparent square.
    const std::string make_png = "/usr/bin/convert -size 40x24 gradient:yellow-navy \\( -size "
                                 "40x24 gradient:white-black \\) -alpha off -compose CopyOpacity "
                                 "-composite png32:'" +
                                 png + "'";
    const std::string make_gif = "/usr/bin/convert -size 40x24 gradient:red-blue -colors 16 "
                                 "-alpha set -region 8x8+4+4 -alpha transparent '" +
                                 gif + "'";
    ASSERT_EQ(system(make_png.c_str()), 0);
    ASSERT_EQ(system(make_gif.c_str()), 0);
    for (const std::string& image : {png, gif}) {
        KZPicture* loaded = LoadPicture(image.c_str());
        ASSERT_NE(loaded, nullptr) << image;
        ASSERT_TRUE(loaded->HasAlpha()) << image;
        KZPicture* rgba = loaded->Format() == KZ_PICTURE_PALETTE
                              ? static_cast<KZPicturePalette*>(loaded)->PaletteToRGBOrRGBA()
                              : loaded->Clone();
        delete loaded;
        ASSERT_NE(rgba, nullptr);
        ASSERT_EQ(rgba->Format(), KZ_PICTURE_RGBA) << image;
        std::vector<uint8_t> plane;
        int partial = 0;
        for (int top = 0; top < rgba->Height(); ++top)
            for (int x = 0; x < rgba->Width(); ++x) {
                uint8_t a = rgba->Row(rgba->Height() - 1 - top)[4 * x + 3];
                partial += a > 0 && a < 255;
                // Palette alpha is taken as it is; only RGBA pictures raise partial alpha.
                bool raised = image == png && a > 0 && a < 255;
                plane.push_back(raised ? uint8_t(a + 1) : a);
            }
        EXPECT_EQ(partial > 0, image == png);
        delete rgba;
        std::string movie = image + ".swf";
        KZRecordingReporter reporter;
        ASSERT_TRUE(ConvertImageFileToMovie(image.c_str(), movie.c_str(), &reporter)) << image;
        SwfCheck check = CheckConverted(movie, 40, 24, 35);
        std::vector<std::string> alpha = check.First("alpha");
        ASSERT_EQ(alpha.size(), 4u);
        std::vector<uint8_t> file = ReadBytes(movie);
        size_t offset = 8 + std::stoul(alpha[2]), length = std::stoul(alpha[3]);
        ASSERT_LE(offset + length, file.size());
        EXPECT_EQ(Inflate(file.data() + offset, length), plane) << image;
    }
}

TEST(ConvertImageFileToMovie, FailuresAreReportedAndLeaveNoFile) {
    KZRecordingReporter reporter;
    std::string missing = Path("missing.png"), movie = Path("never.swf");
    EXPECT_FALSE(ConvertImageFileToMovie(missing.c_str(), movie.c_str(), &reporter));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Unable to read image:\n" + missing);
    EXPECT_EQ(reporter.types[0], unsigned(KZ_MB_OK | KZ_MB_ICONERROR));
    EXPECT_FALSE(KZFileExists(movie.c_str()));

    std::string folderless = Path("no-such-folder/out.swf");
    EXPECT_FALSE(
        ConvertPictureToMovie(Pattern(KZ_PICTURE_RGB, 4, 4), folderless.c_str(), &reporter));
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[1], "Unable to create file:\n" + folderless);
    EXPECT_EQ(reporter.types[1], unsigned(KZ_MB_OK | KZ_MB_ICONERROR));

    // A picture that cannot be encoded.
    EXPECT_FALSE(ConvertPictureToMovie(new KZPicturePalette, movie.c_str(), &reporter));
    ASSERT_EQ(reporter.messages.size(), 3u);
    EXPECT_EQ(reporter.messages[2], "Error while encoding\n");
    EXPECT_FALSE(KZFileExists(movie.c_str()));

    // The picture table cannot take the picture.
    KZPicture* picture = Pattern(KZ_PICTURE_RGB, 4, 4);
    KZFailAllocationsAfter(0);
    bool converted = ConvertPictureToMovie(picture, movie.c_str(), &reporter);
    KZFailAllocationsAfter(-1);
    EXPECT_FALSE(converted);
    ASSERT_EQ(reporter.messages.size(), 4u);
    EXPECT_EQ(reporter.messages[3], "Error while encoding\n");
    EXPECT_FALSE(KZFileExists(movie.c_str()));
}

#ifndef _WIN32
TEST(ConvertPictureToMovie, ShortWriteDeletesThePartialFile) {
    // A file-size limit below the movie's size makes the body write come up short.
    KZRecordingReporter reporter;
    std::string movie = Path("short.swf");
    struct rlimit old_limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    void (*old_handler)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_limit;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool converted =
        ConvertPictureToMovie(Pattern(KZ_PICTURE_RGB, 64, 64), movie.c_str(), &reporter);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(converted);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Unable to write to file:\n" + movie);
    EXPECT_FALSE(KZFileExists(movie.c_str()));
}
#endif

TEST(PreparePreviewPicture, FitsIntoThePreviewWindow) {
    const struct {
        int w, h, fit_w, fit_h;
    } cases[] = {{400, 100, 152, 38},  {100, 400, 28, 112}, {2000, 1, 152, 1},  {1, 2000, 1, 112},
                 {152, 112, 152, 112}, {100, 50, 100, 50},  {304, 448, 76, 112}};
    for (const auto& c : cases) {
        int w = c.w, h = c.h;
        FitPreviewSize(&w, &h);
        EXPECT_EQ(w, c.fit_w) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.fit_h) << c.w << "x" << c.h;
    }
}

TEST(PreparePreviewPicture, ExpandsPalettesAndScalesLargePictures) {
    KZPicturePalette* pal =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, 4, 2));
    const uint8_t entries[8] = {10, 20, 30, 255, 40, 50, 60, 255};
    pal->SetPalette(2, entries);
    pal->Row(1)[3] = 1;
    KZPicture* small = PreparePreviewPicture(pal);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->Format(), KZ_PICTURE_RGB);
    EXPECT_EQ(small->Width(), 4);
    EXPECT_EQ(small->Row(1)[9], 40);
    EXPECT_EQ(small->Row(0)[0], 10);
    delete small;

    KZPicture* wide = KZPicture::CreatePicture(KZ_PICTURE_RGBA, 400, 100);
    wide->FillRGBA(7, 8, 9, 100);
    KZPicture* fitted = PreparePreviewPicture(wide);
    ASSERT_NE(fitted, nullptr);
    EXPECT_EQ(fitted->Format(), KZ_PICTURE_RGBA);
    EXPECT_EQ(fitted->Width(), 152);
    EXPECT_EQ(fitted->Height(), 38);
    EXPECT_EQ(std::vector<uint8_t>(fitted->Row(20) + 40, fitted->Row(20) + 44),
              (std::vector<uint8_t>{7, 8, 9, 100}));
    delete fitted;
}
