// The static Windows builds of zlib, libpng, libjpeg-turbo and libtiff link into one program and
// work: each round-trips a small picture. A library built without a codec, a missing link
// dependency or a header/archive mismatch shows up here instead of in the picture readers.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

namespace {

constexpr int kWidth = 24;
constexpr int kHeight = 16;

// A smooth gradient: JPEG keeps it within a few levels, so a wrong decode stands out.
std::vector<unsigned char> MakeRgb() {
    std::vector<unsigned char> rgb(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            unsigned char* p = &rgb[(y * kWidth + x) * 3];
            p[0] = static_cast<unsigned char>(x * 10);
            p[1] = static_cast<unsigned char>(y * 15);
            p[2] = static_cast<unsigned char>(128 + x * 2 - y * 3);
        }
    }
    return rgb;
}

int MaxDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int worst = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    }
    return worst;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

TEST(WinLibs, ZlibRoundTrip) {
    std::vector<unsigned char> input(10000);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = static_cast<unsigned char>(i * 7 % 251);
    uLongf packedSize = compressBound(input.size());
    std::vector<unsigned char> packed(packedSize);
    ASSERT_EQ(compress2(packed.data(), &packedSize, input.data(), input.size(), 9), Z_OK);
    EXPECT_LT(packedSize, input.size());
    std::vector<unsigned char> output(input.size());
    uLongf outputSize = output.size();
    ASSERT_EQ(uncompress(output.data(), &outputSize, packed.data(), packedSize), Z_OK);
    EXPECT_EQ(outputSize, input.size());
    EXPECT_EQ(output, input);
    EXPECT_STREQ(zlibVersion(), ZLIB_VERSION);
}

TEST(WinLibs, PngRoundTripInMemory) {
    const std::vector<unsigned char> rgb = MakeRgb();
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    ASSERT_TRUE(png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr))
        << image.message;
    std::vector<unsigned char> file(size);
    ASSERT_TRUE(png_image_write_to_memory(&image, file.data(), &size, 0, rgb.data(), 0, nullptr))
        << image.message;
    ASSERT_GT(size, 8u);
    EXPECT_EQ(png_sig_cmp(file.data(), 0, 8), 0);

    png_image back;
    std::memset(&back, 0, sizeof back);
    back.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&back, file.data(), size)) << back.message;
    EXPECT_EQ(back.width, unsigned(kWidth));
    EXPECT_EQ(back.height, unsigned(kHeight));
    back.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(back));
    ASSERT_TRUE(png_image_finish_read(&back, nullptr, pixels.data(), 0, nullptr)) << back.message;
    EXPECT_EQ(pixels, rgb); // lossless
}

TEST(WinLibs, JpegRoundTripInMemory) {
    const std::vector<unsigned char> rgb = MakeRgb();
    unsigned char* file = nullptr;
    unsigned long size = 0;
    {
        jpeg_compress_struct c;
        jpeg_error_mgr err;
        c.err = jpeg_std_error(&err);
        jpeg_create_compress(&c);
        jpeg_mem_dest(&c, &file, &size);
        c.image_width = kWidth;
        c.image_height = kHeight;
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 95, TRUE);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row = const_cast<unsigned char*>(&rgb[c.next_scanline * kWidth * 3]);
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
    }
    ASSERT_NE(file, nullptr);
    ASSERT_GT(size, 2u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xD8);

    std::vector<unsigned char> pixels(rgb.size());
    {
        jpeg_decompress_struct d;
        jpeg_error_mgr err;
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_mem_src(&d, file, size);
        ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
        d.out_color_space = JCS_RGB;
        jpeg_start_decompress(&d);
        EXPECT_EQ(d.output_width, unsigned(kWidth));
        EXPECT_EQ(d.output_height, unsigned(kHeight));
        EXPECT_EQ(d.output_components, 3);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = &pixels[d.output_scanline * kWidth * 3];
            jpeg_read_scanlines(&d, &row, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
    }
    std::free(file);
    EXPECT_LE(MaxDifference(pixels, rgb), 24);
}

// Writes and reads back a TIFF file with the given compression; JPEG and Deflate compression
// prove that libtiff was built with, and linked to, libjpeg and zlib.
void TiffRoundTrip(uint16_t compression, int tolerance) {
    SCOPED_TRACE(compression);
    const std::vector<unsigned char> rgb = MakeRgb();
    const std::string path =
        TempPath(("scrkit_winlibs_" + std::to_string(compression) + ".tif").c_str());
    ASSERT_TRUE(TIFFIsCODECConfigured(compression));
    {
        TIFF* t = TIFFOpen(path.c_str(), "w");
        ASSERT_NE(t, nullptr) << path;
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kWidth);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, kHeight);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, kHeight); // JPEG wants multiples of 8/16
        for (int y = 0; y < kHeight; ++y) {
            ASSERT_EQ(TIFFWriteScanline(t, const_cast<unsigned char*>(&rgb[y * kWidth * 3]), y, 0),
                      1);
        }
        TIFFClose(t);
    }
    std::vector<unsigned char> pixels(rgb.size());
    {
        TIFF* t = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(t, nullptr) << path;
        uint32_t w = 0, h = 0;
        uint16_t c = 0;
        TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
        TIFFGetField(t, TIFFTAG_COMPRESSION, &c);
        EXPECT_EQ(w, unsigned(kWidth));
        EXPECT_EQ(h, unsigned(kHeight));
        EXPECT_EQ(c, compression);
        for (int y = 0; y < kHeight; ++y) {
            ASSERT_EQ(TIFFReadScanline(t, &pixels[y * kWidth * 3], y, 0), 1);
        }
        TIFFClose(t);
    }
    std::remove(path.c_str());
    EXPECT_LE(MaxDifference(pixels, rgb), tolerance);
}

TEST(WinLibs, TiffRoundTripWithDeflateAndJpeg) {
    TiffRoundTrip(COMPRESSION_ADOBE_DEFLATE, 0);
    TiffRoundTrip(COMPRESSION_LZW, 0);
    TiffRoundTrip(COMPRESSION_JPEG, 24);
}

TEST(WinLibs, TiffLacksTheCodecsLeftOut) {
    // Only zlib and libjpeg are linked; the others would need DLLs or libraries we do not ship.
    EXPECT_FALSE(TIFFIsCODECConfigured(COMPRESSION_LZMA));
    EXPECT_FALSE(TIFFIsCODECConfigured(COMPRESSION_ZSTD));
    EXPECT_FALSE(TIFFIsCODECConfigured(COMPRESSION_WEBP));
    EXPECT_FALSE(TIFFIsCODECConfigured(COMPRESSION_JBIG));
    EXPECT_FALSE(TIFFIsCODECConfigured(COMPRESSION_LERC));
}

} // namespace
