// Windows and OS/2 bitmaps: 1, 4, 8, 16, 24 and 32 bits, RLE8 and RLE4, bit-field masks.
#include "media/picture/kz_byte_reader.h"
#include "media/picture/kz_picture.h"

#include <cstring>

namespace {

enum { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

// Bits of a channel value replicated until at least 8 bits are filled.
int out_bits(int bits) {
    return (8 + bits - 1) / bits * bits;
}

// One channel of a bit-field mask: where it sits and how many bits it has.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m)
            return;
        while (!(m & 1)) {
            m >>= 1;
            shift++;
        }
        while (m & 1) {
            m >>= 1;
            bits++;
        }
    }
    // The channel scaled to 0..255; `absent` when the mask is empty.
    uint8_t Get(uint32_t pixel, uint8_t absent) const {
        if (!bits)
            return absent;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return uint8_t(v >> (bits - 8));
        // Replicate the high bits into the low ones, as Windows does: 5 bits 10011 -> 10011100.
        uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits)
            out = (out << bits) | v;
        return uint8_t(out >> (out_bits(bits) - 8));
    }
};

// Run-length decoding into one index byte per pixel (rows bottom-up like the file). Pixels the
// stream never reaches stay index 0. Returns false only on a truncated stream.
bool DecodeRle(KZByteReader& in, KZPicture* picture, bool four_bits) {
    int width = picture->Width();
    int height = picture->Height();
    int x = 0;
    int y = 0;
    auto put = [&](uint8_t index) {
        if (x < width && y < height)
            picture->Row(y)[x] = index;
        x++;
    };
    while (y < height) {
        if (in.Left() < 2)
            return false;
        uint8_t count = in.U8();
        uint8_t value = in.U8();
        if (count > 0) {
            for (int i = 0; i < count; i++)
                put(four_bits ? uint8_t((i & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            y++;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // delta
            if (in.Left() < 2)
                return false;
            x += in.U8();
            y += in.U8();
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            size_t bytes = four_bits ? (value + 1) / 2 : value;
            const uint8_t* run = in.Take(bytes);
            if (!run)
                return false;
            for (int i = 0; i < value; i++)
                put(four_bits ? uint8_t((i & 1) ? run[i / 2] & 15 : run[i / 2] >> 4) : run[i]);
            if (bytes & 1)
                in.Skip(1);
        }
    }
    return true;
}

} // namespace

KZPicture* ReadBmp(const uint8_t* data, size_t size) {
    KZByteReader in(data, size);
    if (size < 26 || (data[0] | 0x20) != 'b' || (data[1] | 0x20) != 'm')
        return nullptr;
    in.Seek(10);
    uint32_t data_offset = in.U32();
    uint32_t header_size = in.U32();
    int64_t width, height;
    int bits;
    uint32_t compression = kBiRgb;
    uint32_t colors_used = 0;
    int entry_bytes;
    uint32_t masks[4] = {0, 0, 0, 0};
    bool have_masks = false;
    if (header_size == 12) {
        width = in.U16();
        height = in.U16();
        in.U16(); // planes
        bits = in.U16();
        entry_bytes = 3;
    } else if (header_size >= 40) {
        width = int32_t(in.U32());
        height = int32_t(in.U32());
        in.U16();
        bits = in.U16();
        compression = in.U32();
        in.Skip(12); // image size, resolution
        colors_used = in.U32();
        in.U32(); // important colours
        entry_bytes = 4;
        if (compression == kBiBitfields) {
            // Version 2 and later headers hold the masks; the plain 40-byte one is followed by
            // them.
            in.Seek(14 + 40);
            for (int i = 0; i < 3; i++)
                masks[i] = in.U32();
            if (header_size >= 56)
                masks[3] = in.U32();
            have_masks = true;
        }
    } else {
        return nullptr;
    }
    // A negative height marks a top-down file (OS/2 headers have unsigned sizes).
    bool top_down = height < 0;
    if (top_down)
        height = -height;
    if (in.failed || width <= 0 || height <= 0 || width > KZ_PICTURE_MAX_SIDE ||
        height > KZ_PICTURE_MAX_SIDE)
        return nullptr;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return nullptr;
    if (compression == kBiRle8 && bits != 8)
        return nullptr;
    if (compression == kBiRle4 && bits != 4)
        return nullptr;
    if (compression == kBiBitfields && bits != 16 && bits != 32)
        return nullptr;
    if (compression > kBiBitfields)
        return nullptr;

    // The palette follows the header (and the masks of a 40-byte bit-field header).
    size_t palette_at = 14 + size_t(header_size) + (have_masks && header_size == 40 ? 12 : 0);
    int w = int(width), h = int(height);
    size_t row_bytes = (size_t(bits) * size_t(w) + 31) / 32 * 4;
    bool rle = compression == kBiRle8 || compression == kBiRle4;
    // An uncompressed file must hold all its rows; checked before anything is allocated.
    if (!rle && (data_offset > size || uint64_t(row_bytes) * uint64_t(h) > size - data_offset))
        return nullptr;
    KZPicture* picture;
    if (bits <= 8) {
        uint32_t count = colors_used ? colors_used : (1u << bits);
        if (count > 256)
            count = 256;
        KZPicturePalette* pal =
            static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, w, h));
        if (!pal)
            return nullptr;
        uint8_t entries[256][4];
        in.Seek(palette_at);
        for (uint32_t i = 0; i < count; i++) {
            uint8_t b = in.U8(), g = in.U8(), r = in.U8();
            if (entry_bytes == 4)
                in.U8();
            entries[i][0] = r;
            entries[i][1] = g;
            entries[i][2] = b;
            entries[i][3] = 255;
        }
        if (in.failed) {
            delete pal;
            return nullptr;
        }
        pal->SetPalette(int(count), &entries[0][0]);
        picture = pal;
    } else {
        picture = KZPicture::CreatePicture(bits == 32 ? KZ_PICTURE_RGBA : KZ_PICTURE_RGB, w, h);
        if (!picture)
            return nullptr;
    }

    if (!in.Seek(data_offset)) {
        delete picture;
        return nullptr;
    }
    if (compression == kBiRle8 || compression == kBiRle4) {
        if (!DecodeRle(in, picture, compression == kBiRle4)) {
            delete picture;
            return nullptr;
        }
        // The stream of a top-down file runs from the top row, its deltas downwards.
        if (top_down)
            picture->FlipVertical();
        return picture;
    }

    Channel red, green, blue, alpha;
    if (bits == 16) {
        if (have_masks) {
            // 5-6-5 when the red mask says so, 5-5-5 otherwise.
            bool six = masks[0] == 0xF800;
            red = Channel(six ? 0xF800 : 0x7C00);
            green = Channel(six ? 0x07E0 : 0x03E0);
            blue = Channel(0x001F);
        } else {
            red = Channel(0x7C00);
            green = Channel(0x03E0);
            blue = Channel(0x001F);
        }
    } else if (bits == 32) {
        if (have_masks) {
            red = Channel(masks[0]);
            green = Channel(masks[1]);
            blue = Channel(masks[2]);
            alpha = Channel(masks[3]);
        } else {
            red = Channel(0x00FF0000);
            green = Channel(0x0000FF00);
            blue = Channel(0x000000FF);
            alpha = Channel(0xFF000000);
        }
    }
    bool any_alpha = false;
    for (int y = 0; y < h; y++) {
        const uint8_t* s = in.Take(row_bytes);
        uint8_t* t = picture->Row(top_down ? h - 1 - y : y);
        switch (bits) {
        case 1:
        case 4:
            for (int x = 0; x < w; x++) {
                int bit = x * bits;
                int v = s[bit / 8] >> (8 - bits - bit % 8);
                t[x] = uint8_t(v & ((1 << bits) - 1));
            }
            break;
        case 8:
            memcpy(t, s, size_t(w));
            break;
        case 16:
            for (int x = 0; x < w; x++, s += 2, t += 3) {
                uint32_t v = uint32_t(s[0] | (s[1] << 8));
                t[0] = red.Get(v, 0);
                t[1] = green.Get(v, 0);
                t[2] = blue.Get(v, 0);
            }
            break;
        case 24:
            for (int x = 0; x < w; x++, s += 3, t += 3) {
                t[0] = s[2];
                t[1] = s[1];
                t[2] = s[0];
            }
            break;
        case 32:
            for (int x = 0; x < w; x++, s += 4, t += 4) {
                uint32_t v = uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 |
                             uint32_t(s[3]) << 24;
                t[0] = red.Get(v, 0);
                t[1] = green.Get(v, 0);
                t[2] = blue.Get(v, 0);
                t[3] = alpha.Get(v, 255);
                if (t[3])
                    any_alpha = true;
            }
            break;
        }
    }
    // Most 32-bit files without masks leave the fourth byte 0: an unused byte, not a picture
    // that is transparent everywhere.
    if (bits == 32 && !any_alpha && alpha.bits)
        for (int y = 0; y < h; y++) {
            uint8_t* t = picture->Row(y);
            for (int x = 0; x < w; x++)
                t[4 * x + 3] = 255;
        }
    return picture;
}
