// TIFF through libtiff over the file image in memory, which libtiff sees as a mapped file, as
// it does when it opens one from disk. Simple strip layouts (gray, palette, contiguous 8-bit
// RGB) are read scan line by scan line; everything else through libtiff's RGBA image reader.
#include "media/picture/kz_picture.h"

#include <cstring>
#include <tiffio.h>
#include <vector>

namespace {

// No scan line of a picture within our limits is longer than this.
const tmsize_t kMaxLine = tmsize_t(KZ_PICTURE_MAX_SIDE) * 4 * 8;

struct TiffSource {
    const uint8_t* data;
    toff_t size;
    toff_t pos;
};

tmsize_t ReadProc(thandle_t h, void* buf, tmsize_t n) {
    TiffSource* s = static_cast<TiffSource*>(h);
    if (n <= 0 || s->pos >= s->size)
        return 0;
    toff_t left = s->size - s->pos;
    toff_t count = toff_t(n) < left ? toff_t(n) : left;
    memcpy(buf, s->data + s->pos, size_t(count));
    s->pos += count;
    return tmsize_t(count);
}
tmsize_t WriteProc(thandle_t, void*, tmsize_t) {
    return 0;
}
toff_t SeekProc(thandle_t h, toff_t off, int whence) {
    TiffSource* s = static_cast<TiffSource*>(h);
    toff_t base = whence == SEEK_CUR ? s->pos : whence == SEEK_END ? s->size : 0;
    // Positions beyond the end are allowed, as for a file; reads there give nothing.
    s->pos = base + off;
    return s->pos;
}
int CloseProc(thandle_t) {
    return 0;
}
toff_t SizeProc(thandle_t h) {
    return static_cast<TiffSource*>(h)->size;
}
// libtiff reads strips and tiles in place from a mapping and checks their byte counts as for a
// file on disk (unmapped, it compares them with its own rounded-up buffer and refuses
// uncompressed tiles). It maps files from disk read-only, so it never writes through this.
int MapProc(thandle_t h, void** base, toff_t* size) {
    TiffSource* s = static_cast<TiffSource*>(h);
    *base = const_cast<uint8_t*>(s->data);
    *size = s->size;
    return 1;
}
void UnmapProc(thandle_t, void*, toff_t) {}

// A 16-bit colour-map value in 8 bits: its high byte, as libtiff (and so tifftopnm) takes it.
uint8_t To8(uint16_t v) {
    return uint8_t(v >> 8);
}

// Scan lines of one sample per pixel (gray or palette, 1 to 8 bits).
KZPicture* ReadSingleSample(TIFF* tif, int width, int height, int bits, int photometric) {
    bool palette = photometric == PHOTOMETRIC_PALETTE;
    KZPicture* picture =
        KZPicture::CreatePicture(palette ? KZ_PICTURE_PALETTE : KZ_PICTURE_GRAY, width, height);
    if (!picture)
        return nullptr;
    int max = (1 << bits) - 1;
    if (palette) {
        uint16_t *r, *g, *b;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b)) {
            delete picture;
            return nullptr;
        }
        uint8_t entries[256][4];
        for (int i = 0; i <= max; i++) {
            entries[i][0] = To8(r[i]);
            entries[i][1] = To8(g[i]);
            entries[i][2] = To8(b[i]);
            entries[i][3] = 255;
        }
        static_cast<KZPicturePalette*>(picture)->SetPalette(max + 1, &entries[0][0]);
    }
    tmsize_t line_size = TIFFScanlineSize(tif);
    if (line_size < (tmsize_t(width) * bits + 7) / 8 || line_size > kMaxLine) {
        delete picture;
        return nullptr;
    }
    std::vector<uint8_t> line(static_cast<size_t>(line_size));
    for (int y = 0; y < height; y++) {
        if (TIFFReadScanline(tif, line.data(), uint32_t(y), 0) < 0) {
            delete picture;
            return nullptr;
        }
        uint8_t* t = picture->Row(height - 1 - y);
        for (int x = 0; x < width; x++) {
            int bit = x * bits;
            int v = (line[size_t(bit / 8)] >> (8 - bits - bit % 8)) & max;
            if (!palette) {
                v = v * 255 / max;
                if (photometric == PHOTOMETRIC_MINISWHITE)
                    v = 255 - v;
            }
            t[x] = uint8_t(v);
        }
    }
    return picture;
}

// Scan lines of contiguous 8-bit RGB with possible extra samples; an alpha sample is kept.
KZPicture* ReadContiguousRgb(TIFF* tif, int width, int height, int samples, bool alpha) {
    KZPicture* picture =
        KZPicture::CreatePicture(alpha ? KZ_PICTURE_RGBA : KZ_PICTURE_RGB, width, height);
    if (!picture)
        return nullptr;
    tmsize_t line_size = TIFFScanlineSize(tif);
    if (line_size < tmsize_t(width) * samples || line_size > kMaxLine) {
        delete picture;
        return nullptr;
    }
    std::vector<uint8_t> line(static_cast<size_t>(line_size));
    int out = alpha ? 4 : 3;
    for (int y = 0; y < height; y++) {
        if (TIFFReadScanline(tif, line.data(), uint32_t(y), 0) < 0) {
            delete picture;
            return nullptr;
        }
        uint8_t* t = picture->Row(height - 1 - y);
        const uint8_t* s = line.data();
        for (int x = 0; x < width; x++, s += samples, t += out)
            memcpy(t, s, size_t(out));
    }
    return picture;
}

// libtiff's RGBA reader, asked for bottom-up rows like ours.
KZPicture* ReadThroughRgba(TIFF* tif, int width, int height, int extra_kind) {
    bool alpha = extra_kind == EXTRASAMPLE_ASSOCALPHA || extra_kind == EXTRASAMPLE_UNASSALPHA;
    KZPicture* picture =
        KZPicture::CreatePicture(alpha ? KZ_PICTURE_RGBA : KZ_PICTURE_RGB, width, height);
    if (!picture)
        return nullptr;
    std::vector<uint32_t> raster;
    raster.resize(size_t(width) * size_t(height));
    if (!TIFFReadRGBAImageOriented(tif, uint32_t(width), uint32_t(height), raster.data(),
                                   ORIENTATION_BOTLEFT, 1)) {
        delete picture;
        return nullptr;
    }
    for (int y = 0; y < height; y++) {
        const uint32_t* s = &raster[size_t(y) * width];
        uint8_t* t = picture->Row(y);
        for (int x = 0; x < width; x++) {
            uint32_t p = s[x];
            int r = TIFFGetR(p), g = TIFFGetG(p), b = TIFFGetB(p), a = TIFFGetA(p);
            // libtiff premultiplies unassociated alpha; undo it so the colours stay the file's.
            if (extra_kind == EXTRASAMPLE_UNASSALPHA && a > 0 && a < 255) {
                r = (r * 255 + a / 2) / a;
                g = (g * 255 + a / 2) / a;
                b = (b * 255 + a / 2) / a;
                r = r > 255 ? 255 : r;
                g = g > 255 ? 255 : g;
                b = b > 255 ? 255 : b;
            }
            *t++ = uint8_t(r);
            *t++ = uint8_t(g);
            *t++ = uint8_t(b);
            if (alpha)
                *t++ = uint8_t(a);
        }
    }
    return picture;
}

// libtiff recovers from some damage on its own (a colour map that cannot be read is dropped and
// the image shown as gray); for us such a file is broken, so its errors and I/O warnings count.
struct Diagnostics {
    bool failed = false;
};

int OnError(TIFF*, void* user, const char*, const char*, va_list) {
    static_cast<Diagnostics*>(user)->failed = true;
    return 1; // handled: nothing is printed
}

int OnWarning(TIFF*, void* user, const char*, const char* format, va_list) {
    if (format && strstr(format, "IO error"))
        static_cast<Diagnostics*>(user)->failed = true;
    return 1;
}

} // namespace

KZPicture* ReadTiff(const uint8_t* data, size_t size) {
    if (!data || size < 8)
        return nullptr;
    // Nothing of libtiff reaches the console: a bad file just gives no picture.
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    TiffSource source = {data, toff_t(size), 0};
    Diagnostics diagnostics;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &diagnostics);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &diagnostics);
    TIFF* tif = TIFFClientOpenExt("tifffile", "r", &source, ReadProc, WriteProc, SeekProc,
                                  CloseProc, SizeProc, MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
    if (!tif)
        return nullptr;
    uint32_t width = 0, height = 0;
    uint16_t planar = PLANARCONFIG_CONTIG, bits = 1, min_value = 0, max_value = 1;
    uint16_t photometric = PHOTOMETRIC_MINISBLACK, samples = 1, extra_count = 0;
    uint16_t* extra = nullptr;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_MINSAMPLEVALUE, &min_value);
    TIFFGetFieldDefaulted(tif, TIFFTAG_MAXSAMPLEVALUE, &max_value);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra_count, &extra);
    int extra_kind = extra_count > 0 && extra ? extra[0] : EXTRASAMPLE_UNSPECIFIED;
    KZPicture* picture = nullptr;
    if (!diagnostics.failed && width > 0 && height > 0 && width <= uint32_t(KZ_PICTURE_MAX_SIDE) &&
        height <= uint32_t(KZ_PICTURE_MAX_SIDE)) {
        int w = int(width), h = int(height);
        bool tiled = TIFFIsTiled(tif) != 0;
        // Depths that do not divide a byte (3, 5 ...) go through libtiff's RGBA reader.
        bool whole_bytes = bits == 1 || bits == 2 || bits == 4 || bits == 8;
        if (!tiled && samples == 1 && whole_bytes &&
            (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE ||
             photometric == PHOTOMETRIC_PALETTE))
            picture = ReadSingleSample(tif, w, h, bits, photometric);
        else if (!tiled && samples >= 3 && bits == 8 && planar == PLANARCONFIG_CONTIG &&
                 photometric == PHOTOMETRIC_RGB)
            picture = ReadContiguousRgb(tif, w, h, samples,
                                        samples >= 4 && (extra_kind == EXTRASAMPLE_ASSOCALPHA ||
                                                         extra_kind == EXTRASAMPLE_UNASSALPHA));
        else
            picture = ReadThroughRgba(tif, w, h, extra_kind);
    }
    TIFFClose(tif);
    if (picture && diagnostics.failed) {
        delete picture;
        picture = nullptr;
    }
    return picture;
}
