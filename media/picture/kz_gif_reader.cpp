// GIF 87a/89a: the first image, LZW-decoded, with its colour table and transparency.
#include "media/picture/kz_byte_reader.h"
#include "media/picture/kz_picture.h"

#include <vector>

namespace {

// Reads the colour table of 2^(bits+1) entries.
bool ReadColorTable(KZByteReader& in, int bits, uint8_t table[256][4], int* count) {
    *count = 1 << ((bits & 7) + 1);
    for (int i = 0; i < *count; i++) {
        table[i][0] = in.U8();
        table[i][1] = in.U8();
        table[i][2] = in.U8();
        table[i][3] = 255;
    }
    return !in.failed;
}

// Gathers the data sub-blocks up to their terminator; false when the file ends first.
bool ReadSubBlocks(KZByteReader& in, std::vector<uint8_t>* out) {
    for (;;) {
        if (in.AtEnd())
            return false;
        uint8_t n = in.U8();
        if (n == 0)
            return true;
        const uint8_t* block = in.Take(n);
        if (!block)
            return false;
        if (out)
            out->insert(out->end(), block, block + n);
    }
}

// LZW with a 4096-entry table. Writes up to `count` indices; a stream that ends early (or is
// damaged after its start) leaves the rest of the pixels at 0.
void DecodeLzw(const std::vector<uint8_t>& data, int min_code_size, uint8_t* out, size_t count) {
    const int clear = 1 << min_code_size;
    const int end = clear + 1;
    static const int kTable = 4096;
    std::vector<uint16_t> prefix(kTable);
    std::vector<uint8_t> suffix(kTable);
    std::vector<uint8_t> stack(kTable + 1);
    for (int i = 0; i < clear; i++)
        suffix[i] = uint8_t(i);
    int code_size = min_code_size + 1;
    int next = clear + 2;
    int old = -1;
    int first = 0;
    size_t written = 0;
    size_t bit_pos = 0;
    const size_t total_bits = data.size() * 8;
    while (written < count) {
        if (bit_pos + code_size > total_bits)
            return;
        int code = 0;
        for (int i = 0; i < code_size; i++, bit_pos++)
            code |= ((data[bit_pos >> 3] >> (bit_pos & 7)) & 1) << i;
        if (code == clear) {
            code_size = min_code_size + 1;
            next = clear + 2;
            old = -1;
            continue;
        }
        if (code == end)
            return;
        if (old < 0) {
            if (code >= clear)
                return;
            out[written++] = uint8_t(code);
            old = first = code;
            continue;
        }
        int in_code = code;
        int sp = 0;
        if (code >= next) {
            if (code > next)
                return;
            stack[sp++] = uint8_t(first);
            code = old;
        }
        while (code >= clear) {
            if (sp >= kTable)
                return;
            stack[sp++] = suffix[code];
            code = prefix[code];
        }
        first = code;
        stack[sp++] = uint8_t(first);
        if (next < kTable) {
            prefix[next] = uint16_t(old);
            suffix[next] = uint8_t(first);
            next++;
            if (next == (1 << code_size) && code_size < 12)
                code_size++;
        }
        old = in_code;
        while (sp > 0 && written < count)
            out[written++] = stack[--sp];
    }
}

bool IsLetter(uint8_t c, char lower) {
    return (c | 0x20) == lower;
}

} // namespace

KZPicture* ReadGif(const uint8_t* data, size_t size) {
    KZByteReader in(data, size);
    if (size < 13 || !IsLetter(data[0], 'g') || !IsLetter(data[1], 'i') ||
        !IsLetter(data[2], 'f') || data[3] != '8' || (data[4] != '7' && data[4] != '9'))
        return nullptr;
    in.Seek(6);
    in.U16(); // screen width
    in.U16(); // screen height
    uint8_t flags = in.U8();
    in.U8(); // background
    in.U8(); // aspect
    uint8_t global[256][4];
    int global_count = 0;
    if ((flags & 0x80) && !ReadColorTable(in, flags & 7, global, &global_count))
        return nullptr;

    int transparent = -1;
    for (;;) {
        if (in.AtEnd())
            return nullptr;
        uint8_t block = in.U8();
        if (block == 0x3B) // trailer before any image
            return nullptr;
        if (block == 0x21) {
            uint8_t label = in.U8();
            if (label == 0xF9) {
                // Graphic control: size, flags, delay, transparent index, then the terminator.
                std::vector<uint8_t> gce;
                if (!ReadSubBlocks(in, &gce))
                    return nullptr;
                if (gce.size() >= 4)
                    transparent = (gce[0] & 1) ? gce[3] : -1;
            } else if (!ReadSubBlocks(in, nullptr)) { // comment, application, plain text
                return nullptr;
            }
            continue;
        }
        if (block != 0x2C)
            return nullptr;
        break;
    }

    in.U16(); // left
    in.U16(); // top
    int width = in.U16();
    int height = in.U16();
    uint8_t image_flags = in.U8();
    if (in.failed || width <= 0 || height <= 0)
        return nullptr;
    uint8_t local[256][4];
    int local_count = 0;
    if ((image_flags & 0x80) && !ReadColorTable(in, image_flags & 7, local, &local_count))
        return nullptr;
    int min_code_size = in.U8();
    if (in.failed || min_code_size < 1 || min_code_size > 8)
        return nullptr;
    std::vector<uint8_t> lzw;
    if (!ReadSubBlocks(in, &lzw))
        return nullptr;

    KZPicturePalette* picture =
        static_cast<KZPicturePalette*>(KZPicture::CreatePicture(KZ_PICTURE_PALETTE, width, height));
    if (!picture)
        return nullptr;
    uint8_t(*table)[4] = local_count ? local : global;
    int table_count = local_count ? local_count : global_count;
    if (table_count == 0) {
        // No colour table at all: a gray ramp, so that the indices still show.
        table_count = 256;
        for (int i = 0; i < 256; i++) {
            local[i][0] = local[i][1] = local[i][2] = uint8_t(i);
            local[i][3] = 255;
        }
        table = local;
    }
    picture->SetPalette(table_count, &table[0][0]);

    std::vector<uint8_t> indices(size_t(width) * height, 0);
    DecodeLzw(lzw, min_code_size, indices.data(), indices.size());

    // File rows in display order: interlaced files store four passes.
    std::vector<int> order;
    order.reserve(size_t(height));
    if (image_flags & 0x40) {
        static const int kStart[4] = {0, 4, 2, 1};
        static const int kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; pass++)
            for (int y = kStart[pass]; y < height; y += kStep[pass])
                order.push_back(y);
    } else {
        for (int y = 0; y < height; y++)
            order.push_back(y);
    }
    bool transparent_used = false;
    for (int i = 0; i < height; i++) {
        const uint8_t* s = &indices[size_t(i) * width];
        uint8_t* t = picture->Row(height - 1 - order[size_t(i)]);
        for (int x = 0; x < width; x++) {
            int v = s[x];
            if (v >= table_count)
                v = table_count - 1;
            if (v == transparent)
                transparent_used = true;
            t[x] = uint8_t(v);
        }
    }
    if (transparent_used) {
        picture->SetPaletteKind(KZ_PICTURE_RGBA);
        picture->Entry(transparent)[3] = 0;
    }
    return picture;
}
