// PNG through libpng: 16-bit samples rounded to 8 bits, packed pixels unpacked, gray expanded.
#include "media/picture/kz_picture.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

namespace {

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadData(png_structp png, png_bytep out, png_size_t length) {
    PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->pos)
        png_error(png, "PNG Read Error");
    memcpy(out, source->data + source->pos, length);
    source->pos += length;
}

void Error(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Warning(png_structp, png_const_charp) {}

struct ReadState {
    png_structp png;
    png_infop info;
    PngSource source;
    KZPicture* picture;
    png_bytep* rows;
};

// Every chunk up to IEND must fit in the bytes present. libpng only warns about a chunk longer
// than its limits and then allocates what the length claims: a few hundred bytes claiming a
// text chunk of 2 GB made it allocate and clear that much before the read failed.
bool ChunksFit(const uint8_t* data, size_t size) {
    size_t pos = 8;
    while (size - pos >= 12) {
        const uint8_t* p = data + pos;
        uint32_t length = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
        if (length > size - pos - 12)
            return false;
        if (memcmp(p + 4, "IEND", 4) == 0)
            return true;
        pos += 12 + size_t(length);
    }
    return false;
}

// No local with a destructor lives across setjmp.
bool Decode(ReadState* s) {
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_set_read_fn(s->png, &s->source, ReadData);
    png_set_user_limits(s->png, KZ_PICTURE_MAX_SIDE, KZ_PICTURE_MAX_SIDE);
    png_read_info(s->png, s->info);
    png_uint_32 width, height;
    int bit_depth, color_type, interlace;
    png_get_IHDR(s->png, s->info, &width, &height, &bit_depth, &color_type, &interlace, nullptr,
                 nullptr);
    bool has_trns = png_get_valid(s->png, s->info, PNG_INFO_tRNS) != 0;
    // Rows of 16-bit samples go to the nearest 8-bit level, (v + 128) / 257, as in every reader.
    if (bit_depth == 16)
        png_set_scale_16(s->png);
    if (bit_depth < 8)
        png_set_packing(s->png);
    if (color_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8)
        png_set_expand_gray_1_2_4_to_8(s->png);
    // A transparent colour of a gray or RGB file becomes a real alpha channel.
    if (has_trns && color_type != PNG_COLOR_TYPE_PALETTE)
        png_set_tRNS_to_alpha(s->png);
    png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);

    int format;
    switch (png_get_color_type(s->png, s->info)) {
    case PNG_COLOR_TYPE_GRAY:
        format = KZ_PICTURE_GRAY;
        break;
    case PNG_COLOR_TYPE_RGB:
        format = KZ_PICTURE_RGB;
        break;
    case PNG_COLOR_TYPE_PALETTE:
        format = KZ_PICTURE_PALETTE;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        format = KZ_PICTURE_GRAY_ALPHA;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        format = KZ_PICTURE_RGBA;
        break;
    default:
        return false;
    }
    s->picture = KZPicture::CreatePicture(format, int(width), int(height));
    if (!s->picture)
        return false;
    if (png_get_rowbytes(s->png, s->info) > size_t(s->picture->Stride()))
        return false;
    if (format == KZ_PICTURE_PALETTE) {
        png_colorp colors = nullptr;
        int count = 0;
        png_get_PLTE(s->png, s->info, &colors, &count);
        uint8_t entries[256][4];
        for (int i = 0; i < 256; i++) {
            entries[i][0] = entries[i][1] = entries[i][2] = 0;
            entries[i][3] = 255;
        }
        for (int i = 0; i < count && i < 256; i++) {
            entries[i][0] = colors[i].red;
            entries[i][1] = colors[i].green;
            entries[i][2] = colors[i].blue;
        }
        png_bytep alphas = nullptr;
        int alpha_count = 0;
        if (has_trns)
            png_get_tRNS(s->png, s->info, &alphas, &alpha_count, nullptr);
        for (int i = 0; i < alpha_count && i < 256; i++)
            entries[i][3] = alphas[i];
        KZPicturePalette* pal = static_cast<KZPicturePalette*>(s->picture);
        pal->SetPalette(count > 0 ? count : 1, &entries[0][0]);
        if (alpha_count > 0)
            pal->SetPaletteKind(KZ_PICTURE_RGBA);
    }
    s->rows = static_cast<png_bytep*>(png_malloc(s->png, sizeof(png_bytep) * height));
    for (png_uint_32 y = 0; y < height; y++)
        s->rows[y] = s->picture->Row(int(height - 1 - y));
    png_read_image(s->png, s->rows);
    png_read_end(s->png, nullptr);
    return true;
}

} // namespace

KZPicture* ReadPng(const uint8_t* data, size_t size) {
    if (!data || size < 8 || png_sig_cmp(const_cast<png_bytep>(data), 0, 8) != 0 ||
        !ChunksFit(data, size))
        return nullptr;
    ReadState s = {};
    s.source = {data, size, 0};
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, Error, Warning);
    if (!s.png)
        return nullptr;
    s.info = png_create_info_struct(s.png);
    bool ok = s.info && Decode(&s);
    if (s.rows)
        png_free(s.png, s.rows);
    png_destroy_read_struct(&s.png, s.info ? &s.info : nullptr, nullptr);
    if (!ok) {
        delete s.picture;
        return nullptr;
    }
    return s.picture;
}
