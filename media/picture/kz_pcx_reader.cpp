// ZSoft PCX: run-length encoded planes; 24-bit, 8-bit with its trailing palette, and the planar
// or packed low depths with the header palette.
#include "media/picture/kz_byte_reader.h"
#include "media/picture/kz_picture.h"

#include <vector>

KZPicture* ReadPcx(const uint8_t* data, size_t size) {
    if (size < 128 || data[0] != 10 || (data[1] != 2 && data[1] != 3 && data[1] != 5))
        return nullptr;
    KZByteReader header(data, 128);
    header.Seek(3);
    int bits = header.U8();
    int xmin = header.U16(), ymin = header.U16(), xmax = header.U16(), ymax = header.U16();
    header.Seek(65);
    int planes = header.U8();
    int bytes_per_line = header.U16();
    int width = xmax - xmin + 1;
    int height = ymax - ymin + 1;
    if (width <= 0 || height <= 0 || planes < 1 || planes > 4)
        return nullptr;
    if (int64_t(bytes_per_line) * 8 < int64_t(width) * bits)
        return nullptr;
    bool truecolor = bits == 8 && (planes == 3 || planes == 4);
    bool full_palette = bits == 8 && planes == 1;
    int index_bits = bits * planes;
    if (!truecolor && !full_palette && !((bits == 1 || bits == 2 || bits == 4) && index_bits <= 8))
        return nullptr;

    size_t data_end = size;
    uint8_t entries[256][4];
    int colors;
    if (full_palette) {
        // The 256-entry palette closes the file behind a marker byte 12.
        if (size < 128 + 769 || data[size - 769] != 12)
            return nullptr;
        data_end = size - 769;
        colors = 256;
        for (int i = 0; i < 256; i++) {
            const uint8_t* p = data + size - 768 + 3 * i;
            entries[i][0] = p[0];
            entries[i][1] = p[1];
            entries[i][2] = p[2];
            entries[i][3] = 255;
        }
    } else {
        colors = truecolor ? 0 : 1 << index_bits;
        for (int i = 0; i < 256; i++) {
            const uint8_t* p = data + 16 + 3 * (i < 16 ? i : 0);
            entries[i][0] = i < 16 ? p[0] : 0;
            entries[i][1] = i < 16 ? p[1] : 0;
            entries[i][2] = i < 16 ? p[2] : 0;
            entries[i][3] = 255;
        }
        // Two-colour files often leave the header palette empty: they mean black and white.
        if (index_bits == 1 && entries[0][0] == entries[1][0] && entries[0][1] == entries[1][1] &&
            entries[0][2] == entries[1][2]) {
            entries[0][0] = entries[0][1] = entries[0][2] = 0;
            entries[1][0] = entries[1][1] = entries[1][2] = 255;
        }
    }

    int format = truecolor ? (planes == 4 ? KZ_PICTURE_RGBA : KZ_PICTURE_RGB) : KZ_PICTURE_PALETTE;
    KZPicture* picture = KZPicture::CreatePicture(format, width, height);
    if (!picture)
        return nullptr;
    if (format == KZ_PICTURE_PALETTE)
        static_cast<KZPicturePalette*>(picture)->SetPalette(colors, &entries[0][0]);

    KZByteReader in(data, data_end);
    in.Seek(128);
    size_t line_bytes = size_t(bytes_per_line) * planes;
    std::vector<uint8_t> line(line_bytes);
    int run = 0;
    uint8_t value = 0;
    for (int y = 0; y < height; y++) {
        // Runs may carry over from one scan line into the next.
        for (size_t i = 0; i < line_bytes; i++) {
            if (run == 0) {
                if (in.AtEnd()) {
                    delete picture;
                    return nullptr;
                }
                uint8_t c = in.U8();
                if ((c & 0xC0) == 0xC0) {
                    run = c & 0x3F;
                    value = in.U8();
                } else {
                    run = 1;
                    value = c;
                }
                if (in.failed) {
                    delete picture;
                    return nullptr;
                }
                if (run == 0) {
                    i--;
                    continue;
                }
            }
            line[i] = value;
            run--;
        }
        uint8_t* t = picture->Row(height - 1 - y);
        if (truecolor) {
            for (int x = 0; x < width; x++)
                for (int c = 0; c < planes; c++)
                    t[x * planes + c] = line[size_t(c) * bytes_per_line + x];
        } else if (full_palette) {
            for (int x = 0; x < width; x++)
                t[x] = line[x];
        } else {
            for (int x = 0; x < width; x++) {
                int index = 0;
                for (int p = 0; p < planes; p++) {
                    const uint8_t* plane = &line[size_t(p) * bytes_per_line];
                    int bit = x * bits;
                    int v = (plane[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                    index |= v << (p * bits);
                }
                t[x] = uint8_t(index);
            }
        }
    }
    return picture;
}
