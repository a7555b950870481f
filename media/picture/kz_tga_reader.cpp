// Truevision TGA: colour-mapped, true-colour and gray images, raw or run-length encoded, with
// 15/16/24/32-bit colour maps, 16-bit gray with alpha, and any of the four origins.
#include "media/picture/kz_byte_reader.h"
#include "media/picture/kz_picture.h"

namespace {

// One pixel or colour-map entry of `bits` bits, as R, G, B, A.
void ReadColor(const uint8_t* s, int bits, uint8_t out[4]) {
    switch (bits) {
    case 15:
    case 16: {
        int v = s[0] | (s[1] << 8);
        out[0] = uint8_t(((v >> 10) & 31) * 255 / 31);
        out[1] = uint8_t(((v >> 5) & 31) * 255 / 31);
        out[2] = uint8_t((v & 31) * 255 / 31);
        out[3] = 255;
        break;
    }
    case 24:
        out[0] = s[2];
        out[1] = s[1];
        out[2] = s[0];
        out[3] = 255;
        break;
    case 32:
        out[0] = s[2];
        out[1] = s[1];
        out[2] = s[0];
        out[3] = s[3];
        break;
    default: // 8 bits: gray or an index
        out[0] = out[1] = out[2] = s[0];
        out[3] = 255;
        break;
    }
}

} // namespace

KZPicture* ReadTga(const uint8_t* data, size_t size) {
    KZByteReader in(data, size);
    if (size < 18)
        return nullptr;
    int id_length = in.U8();
    int map_type = in.U8();
    int image_type = in.U8();
    int map_first = in.U16();
    int map_length = in.U16();
    int map_bits = in.U8();
    in.Skip(4); // origin
    int width = in.U16();
    int height = in.U16();
    int depth = in.U8();
    int descriptor = in.U8();
    if (image_type < 1 || image_type > 11 || width <= 0 || height <= 0)
        return nullptr;
    bool rle = image_type >= 9;
    int kind = rle ? image_type - 8 : image_type; // 1 colour-mapped, 2 true colour, 3 gray
    bool mapped = kind == 1;
    if (kind < 1 || kind > 3)
        return nullptr;
    if (mapped && (map_type != 1 || depth != 8))
        return nullptr;
    if (kind == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32)
        return nullptr;
    if (kind == 3 && depth != 8 && depth != 16)
        return nullptr; // 16-bit gray is a gray byte and an alpha byte
    in.Skip(size_t(id_length));

    uint8_t entries[256][4];
    for (int i = 0; i < 256; i++) {
        entries[i][0] = entries[i][1] = entries[i][2] = 0;
        entries[i][3] = 255;
    }
    if (map_type == 1) {
        if (map_bits != 15 && map_bits != 16 && map_bits != 24 && map_bits != 32)
            return nullptr;
        int entry_bytes = (map_bits + 7) / 8;
        const uint8_t* map = in.Take(size_t(map_length) * entry_bytes);
        if (!map)
            return nullptr;
        for (int i = 0; i < map_length; i++)
            if (map_first + i < 256)
                ReadColor(map + size_t(i) * entry_bytes, map_bits, entries[map_first + i]);
    }
    if (in.failed)
        return nullptr;

    int format = mapped        ? KZ_PICTURE_PALETTE
                 : kind == 3   ? (depth == 16 ? KZ_PICTURE_GRAY_ALPHA : KZ_PICTURE_GRAY)
                 : depth == 32 ? KZ_PICTURE_RGBA
                               : KZ_PICTURE_RGB;
    KZPicture* picture = KZPicture::CreatePicture(format, width, height);
    if (!picture)
        return nullptr;
    if (format == KZ_PICTURE_RGBA)
        picture->FillRGBA(0, 0, 0, 255);
    if (mapped) {
        int count = map_first + map_length;
        static_cast<KZPicturePalette*>(picture)->SetPalette(count > 256 ? 256 : count,
                                                            &entries[0][0]);
    }

    int pixel_bytes = (depth + 7) / 8;
    int out_bytes = picture->BytesPerPixel();
    bool top_down = (descriptor & 0x20) != 0;
    bool right_to_left = (descriptor & 0x10) != 0;
    int packet_left = 0;
    bool packet_run = false;
    const uint8_t* run_pixel = nullptr;
    for (int y = 0; y < height; y++) {
        uint8_t* row = picture->Row(top_down ? height - 1 - y : y);
        for (int x = 0; x < width; x++) {
            uint8_t* t = row + size_t(right_to_left ? width - 1 - x : x) * out_bytes;
            const uint8_t* s;
            if (rle) {
                if (packet_left == 0) {
                    uint8_t h = in.U8();
                    packet_left = (h & 0x7F) + 1;
                    packet_run = (h & 0x80) != 0;
                    if (packet_run)
                        run_pixel = in.Take(size_t(pixel_bytes));
                }
                s = packet_run ? run_pixel : in.Take(size_t(pixel_bytes));
                packet_left--;
            } else {
                s = in.Take(size_t(pixel_bytes));
            }
            if (!s) {
                delete picture;
                return nullptr;
            }
            if (format == KZ_PICTURE_PALETTE || format == KZ_PICTURE_GRAY) {
                t[0] = s[0];
            } else if (format == KZ_PICTURE_GRAY_ALPHA) {
                t[0] = s[0];
                t[1] = s[1];
            } else {
                uint8_t c[4];
                ReadColor(s, depth, c);
                for (int i = 0; i < out_bytes; i++)
                    t[i] = c[i];
            }
        }
    }
    return picture;
}
