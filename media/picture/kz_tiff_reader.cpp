// TIFF through libtiff over the file image in memory, which libtiff sees as a mapped file, as
// it does when it opens one from disk. Gray and palette strips of up to 8 bits are read scan line
// by scan line; gray and RGB of 8 and 16 bits, with or without alpha, strip by strip or tile by
// tile, reduced to 8 bits as they are read; everything else through libtiff's RGBA image reader.
#include "media/picture/kz_picture.h"
#include "media/picture/kz_sample16.h"

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

// The layouts read block by block: gray or RGB with an optional alpha sample (more extra
// samples are skipped), 8 or 16 bits, contiguous or planar, in strips or tiles.
struct DirectLayout {
    int width, height;
    int samples; // per pixel in the file
    int colours; // 1 (gray) or 3 (RGB)
    bool alpha;
    bool associated; // colours stored multiplied by the alpha
    bool min_is_white;
    bool planar;
};

// A sample at full depth to 8 bits.
inline uint8_t Reduce(uint8_t v) {
    return v;
}
inline uint8_t Reduce(uint16_t v) {
    return KZSample16To8(v);
}

// Converts `rows` rows of `count` pixels, channel c of pixel x at in[c][x * step], into the
// picture's row `y` downwards. Associated colours are divided back by the alpha at full depth,
// once, before the reduction to 8 bits; unassociated ones come through as stored.
template <typename T>
void ConvertRun(const DirectLayout& l, const T* const* in, int step, uint8_t* out, int count) {
    const unsigned max = T(~T(0));
    const int out_step = l.colours + (l.alpha ? 1 : 0);
    const T* a_in = l.alpha ? in[l.colours] : nullptr;
    for (int x = 0; x < count; x++, out += out_step) {
        size_t i = size_t(x) * size_t(step);
        unsigned a = a_in ? a_in[i] : max;
        for (int c = 0; c < l.colours; c++) {
            unsigned v = in[c][i];
            if (l.min_is_white)
                v = max - v;
            if (l.associated && a < max) {
                v = a ? (v * max + a / 2) / a : 0;
                v = v > max ? max : v;
            }
            out[c] = Reduce(T(v));
        }
        if (a_in)
            out[l.colours] = Reduce(T(a));
    }
}

template <typename T> KZPicture* ReadDirect(TIFF* tif, const DirectLayout& l) {
    int format = l.colours == 3 ? (l.alpha ? KZ_PICTURE_RGBA : KZ_PICTURE_RGB)
                                : (l.alpha ? KZ_PICTURE_GRAY_ALPHA : KZ_PICTURE_GRAY);
    bool tiled = TIFFIsTiled(tif) != 0;
    uint32_t block_w = uint32_t(l.width), block_h = 0;
    if (tiled) {
        if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &block_w) ||
            !TIFFGetField(tif, TIFFTAG_TILELENGTH, &block_h))
            return nullptr;
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &block_h);
        if (block_h > uint32_t(l.height))
            block_h = uint32_t(l.height);
    }
    if (block_w == 0 || block_h == 0 || block_w > uint32_t(KZ_PICTURE_MAX_SIDE) ||
        block_h > uint32_t(KZ_PICTURE_MAX_SIDE))
        return nullptr;
    // One block of each plane in use is held at a time: the colours and the alpha of a pixel.
    int planes = l.planar ? l.colours + (l.alpha ? 1 : 0) : 1;
    int per_pixel = l.planar ? 1 : l.samples;
    uint64_t block_bytes = uint64_t(block_w) * block_h * uint64_t(per_pixel) * sizeof(T);
    tmsize_t coded_size = tiled ? TIFFTileSize(tif) : TIFFStripSize(tif);
    if (block_bytes > uint64_t(KZ_PICTURE_MAX_BYTES) || coded_size <= 0 ||
        uint64_t(coded_size) < block_bytes)
        return nullptr;
    KZPicture* picture = KZPicture::CreatePicture(format, l.width, l.height);
    if (!picture)
        return nullptr;
    std::vector<T> buffer(size_t(coded_size / tmsize_t(sizeof(T)) + 1) * size_t(planes));
    size_t plane_size = buffer.size() / size_t(planes);
    const int out_step = l.colours + (l.alpha ? 1 : 0);
    for (uint32_t by = 0; by < uint32_t(l.height); by += block_h) {
        uint32_t rows = block_h < uint32_t(l.height) - by ? block_h : uint32_t(l.height) - by;
        for (uint32_t bx = 0; bx < uint32_t(l.width); bx += block_w) {
            uint32_t count = block_w < uint32_t(l.width) - bx ? block_w : uint32_t(l.width) - bx;
            // A strip holds only its own rows; a tile is always whole.
            uint64_t needed = uint64_t(block_w) * (tiled ? block_h : rows) * per_pixel * sizeof(T);
            for (int p = 0; p < planes; p++) {
                T* target = &buffer[size_t(p) * plane_size];
                // The alpha plane is the sample after the colours, wherever extra ones follow.
                uint16_t plane = uint16_t(l.planar ? p : 0);
                tmsize_t got =
                    tiled ? TIFFReadEncodedTile(tif, TIFFComputeTile(tif, bx, by, 0, plane), target,
                                                coded_size)
                          : TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, by, plane), target,
                                                 coded_size);
                if (got < 0 || uint64_t(got) < needed) {
                    delete picture;
                    return nullptr;
                }
            }
            for (uint32_t r = 0; r < rows; r++) {
                const T* in[4];
                size_t row_start = size_t(r) * block_w * size_t(per_pixel);
                for (int c = 0; c < out_step; c++)
                    in[c] = l.planar ? &buffer[size_t(c) * plane_size + row_start]
                                     : &buffer[row_start + size_t(c)];
                uint8_t* out = picture->Row(l.height - 1 - int(by + r)) + size_t(bx) * out_step;
                ConvertRun(l, in, per_pixel, out, int(count));
            }
        }
    }
    return picture;
}

// Whether the file's layout is one ReadDirect reads; odd depths, YCbCr, CMYK, Lab and signed
// or floating-point samples are left to libtiff's RGBA reader.
bool DirectLayoutOf(int width, int height, int bits, int sample_format, int photometric, int planar,
                    int samples, int extra_kind, DirectLayout* l) {
    bool gray = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    if ((bits != 8 && bits != 16) || sample_format != SAMPLEFORMAT_UINT ||
        !(gray || photometric == PHOTOMETRIC_RGB))
        return false;
    l->width = width;
    l->height = height;
    l->samples = samples;
    l->colours = gray ? 1 : 3;
    if (samples < l->colours)
        return false;
    l->associated = extra_kind == EXTRASAMPLE_ASSOCALPHA;
    l->alpha = samples > l->colours && (l->associated || extra_kind == EXTRASAMPLE_UNASSALPHA);
    l->associated = l->associated && l->alpha;
    l->min_is_white = photometric == PHOTOMETRIC_MINISWHITE;
    l->planar = planar == PLANARCONFIG_SEPARATE;
    return true;
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
            // libtiff gives the colours multiplied by the alpha, associated alpha as stored and
            // unassociated by its own multiplication; divide back once so they are the picture's.
            if (alpha && a > 0 && a < 255) {
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
    uint16_t sample_format = SAMPLEFORMAT_UINT;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_MINSAMPLEVALUE, &min_value);
    TIFFGetFieldDefaulted(tif, TIFFTAG_MAXSAMPLEVALUE, &max_value);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra_count, &extra);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &sample_format);
    int extra_kind = extra_count > 0 && extra ? extra[0] : EXTRASAMPLE_UNSPECIFIED;
    DirectLayout layout = {};
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
        else if (DirectLayoutOf(w, h, bits, sample_format, photometric, planar, samples,
                                extra_count > 0 ? extra_kind : EXTRASAMPLE_UNSPECIFIED, &layout))
            picture =
                bits == 16 ? ReadDirect<uint16_t>(tif, layout) : ReadDirect<uint8_t>(tif, layout);
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
