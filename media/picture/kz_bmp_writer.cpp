// BMP writer for the setup bitmaps: 24-bit, or 8-bit with the palette of a palette picture.
// Rows go bottom-up and 4-byte aligned, which is the picture's own row order.
#include "media/picture/kz_picture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/base/kz_file.h"

namespace {

void Put16(uint8_t*& p, uint32_t v) {
    *p++ = uint8_t(v);
    *p++ = uint8_t(v >> 8);
}
void Put32(uint8_t*& p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p, v >> 16);
}

} // namespace

bool EncodeBmp(const KZPicture* picture, uint8_t** out, size_t* out_size) {
    if (!picture || !out || !out_size || !picture->IsValid())
        return false;
    KZPicture* made = nullptr;
    const KZPicture* source = picture;
    bool paletted = picture->Format() == KZ_PICTURE_PALETTE;
    if (!paletted && picture->Format() != KZ_PICTURE_RGB) {
        source = made = picture->ToRGB();
        if (!made)
            return false;
    }
    int width = source->Width();
    int height = source->Height();
    int bits = paletted ? 8 : 24;
    uint32_t colors = paletted ? 256 : 0;
    size_t row_bytes = (size_t(width) * (bits / 8) + 3) / 4 * 4;
    size_t header = 14 + 40 + size_t(colors) * 4;
    size_t total = header + row_bytes * size_t(height);
    uint8_t* block = static_cast<uint8_t*>(calloc(total, 1));
    if (!block) {
        delete made;
        return false;
    }
    uint8_t* p = block;
    *p++ = 'B';
    *p++ = 'M';
    Put32(p, uint32_t(total));
    Put32(p, 0);
    Put32(p, uint32_t(header));
    Put32(p, 40);
    Put32(p, uint32_t(width));
    Put32(p, uint32_t(height));
    Put16(p, 1);
    Put16(p, uint32_t(bits));
    Put32(p, 0); // no compression
    Put32(p, uint32_t(row_bytes * size_t(height)));
    Put32(p, 2835); // 72 dpi
    Put32(p, 2835);
    Put32(p, colors);
    Put32(p, 0);
    if (paletted) {
        const KZPicturePalette* pal = static_cast<const KZPicturePalette*>(source);
        int kind = pal->PaletteKind();
        for (int i = 0; i < 256; i++) {
            const uint8_t* e = pal->Entry(i);
            uint8_t r = e[0], g = e[1], b = e[2];
            if (kind == KZ_PICTURE_GRAY || kind == KZ_PICTURE_GRAY_ALPHA)
                g = b = r;
            else if (kind == KZ_PICTURE_ALPHA)
                r = g = b = e[3];
            *p++ = b;
            *p++ = g;
            *p++ = r;
            *p++ = 0;
        }
    }
    for (int y = 0; y < height; y++, p += row_bytes) {
        const uint8_t* s = source->Row(y);
        if (paletted) {
            memcpy(p, s, size_t(width));
        } else {
            for (int x = 0; x < width; x++, s += 3) {
                p[3 * x] = s[2];
                p[3 * x + 1] = s[1];
                p[3 * x + 2] = s[0];
            }
        }
    }
    delete made;
    *out = block;
    *out_size = total;
    return true;
}

bool SaveBmp(const KZPicture* picture, const char* path) {
    uint8_t* block = nullptr;
    size_t size = 0;
    if (!path || !EncodeBmp(picture, &block, &size))
        return false;
    FILE* file = KZOpenCFile(path, "wb");
    bool ok = file && fwrite(block, 1, size, file) == size;
    if (file && fclose(file) != 0)
        ok = false;
    if (file && !ok)
        KZDeleteFile(path);
    free(block);
    return ok;
}
