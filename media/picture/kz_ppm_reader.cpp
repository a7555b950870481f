// Netpbm files: P1 and P4 (ASCII and binary bitmaps), P2 and P5 (ASCII and binary gray), P3 and
// P6 (ASCII and binary RGB), P7 (binary gray). Always RGB results; LoadPicture's normalisation
// turns gray ones into Grayscale pictures.
#include "media/picture/kz_byte_reader.h"
#include "media/picture/kz_picture.h"
#include "media/picture/kz_sample16.h"

#include <cstring>
#include <vector>

namespace {

bool IsSpace(uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void SkipSpaceAndComments(KZByteReader& in) {
    while (!in.AtEnd()) {
        uint8_t c = in.data[in.pos];
        if (c == '#') {
            while (!in.AtEnd() && in.data[in.pos] != '\n' && in.data[in.pos] != '\r')
                in.pos++;
        } else if (IsSpace(c)) {
            in.pos++;
        } else {
            break;
        }
    }
}

// A decimal number of the header or of ASCII data; false when there is none or it is huge.
bool ReadNumber(KZByteReader& in, int64_t* value) {
    SkipSpaceAndComments(in);
    int64_t v = 0;
    int digits = 0;
    while (!in.AtEnd() && in.data[in.pos] >= '0' && in.data[in.pos] <= '9') {
        v = v * 10 + (in.data[in.pos++] - '0');
        if (++digits > 9)
            return false;
    }
    *value = v;
    return digits > 0;
}

// The pixels of a bitmap (P1: one digit a pixel, separators optional; P4: eight pixels a byte,
// each row starting on a byte), 1 black and 0 white.
KZPicture* ReadBitmap(KZByteReader& in, bool ascii, int width, int height) {
    size_t row_bytes = (size_t(width) + 7) / 8;
    if (ascii ? uint64_t(width) * uint64_t(height) > in.Left()
              : uint64_t(row_bytes) * uint64_t(height) > in.Left())
        return nullptr;
    KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, width, height);
    if (!picture)
        return nullptr;
    for (int y = 0; y < height; y++) {
        uint8_t* t = picture->Row(height - 1 - y);
        const uint8_t* row = ascii ? nullptr : in.Take(row_bytes);
        for (int x = 0; x < width; x++, t += 3) {
            int bit;
            if (ascii) {
                SkipSpaceAndComments(in);
                uint8_t c = in.U8();
                if (c != '0' && c != '1') {
                    delete picture;
                    return nullptr;
                }
                bit = c - '0';
            } else {
                bit = row ? (row[x / 8] >> (7 - x % 8)) & 1 : 0;
            }
            t[0] = t[1] = t[2] = bit ? 0 : 255;
        }
    }
    if (in.failed) {
        delete picture;
        return nullptr;
    }
    return picture;
}

// Binary samples (their count already checked against the bytes left), a row at a time: 8-bit
// ones of the full range copied, 16-bit ones of the full range by the shared rounding, other
// maxima through a table of every value the sample bytes can hold.
void ReadBinaryRows(KZByteReader& in, int max, int channels, int sample_bytes, int width,
                    int height, KZPicture* picture) {
    size_t count = size_t(width) * size_t(channels);
    std::vector<uint8_t> table;
    if (max != 255 && max != 65535) {
        table.resize(sample_bytes == 2 ? 65536 : 256);
        for (size_t v = 0; v < table.size(); v++)
            table[v] = uint8_t(v > size_t(max) ? 255 : (size_t(max) / 2 + v * 255) / size_t(max));
    }
    std::vector<uint8_t> gray(channels == 1 ? count : 0);
    for (int y = 0; y < height; y++) {
        const uint8_t* s = in.data + in.pos;
        in.pos += count * size_t(sample_bytes);
        uint8_t* t = picture->Row(height - 1 - y);
        uint8_t* out = channels == 1 ? gray.data() : t;
        if (sample_bytes == 2 && max == 65535)
            KZReduceBigEndian16(s, out, count);
        else if (sample_bytes == 2)
            for (size_t i = 0; i < count; i++)
                out[i] = table[size_t(s[2 * i]) << 8 | s[2 * i + 1]];
        else if (max == 255)
            memcpy(out, s, count);
        else
            for (size_t i = 0; i < count; i++)
                out[i] = table[s[i]];
        if (channels == 1)
            for (int x = 0; x < width; x++, t += 3)
                t[0] = t[1] = t[2] = gray[size_t(x)];
    }
}

} // namespace

KZPicture* ReadPpm(const uint8_t* data, size_t size) {
    if (size < 3 || data[0] != 'P')
        return nullptr;
    int type = data[1] - '0';
    if (type < 1 || type > 7)
        return nullptr;
    bool bitmap = type == 1 || type == 4;
    bool ascii = type == 1 || type == 2 || type == 3;
    KZByteReader in(data, size);
    in.Seek(2);
    int64_t width, height, max = 1, extra;
    if (!ReadNumber(in, &width) || !ReadNumber(in, &height) || (!bitmap && !ReadNumber(in, &max)))
        return nullptr;
    if (type == 7 && !ReadNumber(in, &extra))
        return nullptr;
    if (width <= 0 || height <= 0 || width * height <= 0 || max < 1 || max > 65535 ||
        width > KZ_PICTURE_MAX_SIDE || height > KZ_PICTURE_MAX_SIDE)
        return nullptr;
    if (bitmap) {
        // Binary bitmaps, like the other binary types, have one separator before the bits.
        if (type == 4 && (in.AtEnd() || !IsSpace(in.U8())))
            return nullptr;
        return ReadBitmap(in, type == 1, int(width), int(height));
    }
    int channels = (type == 3 || type == 6) ? 3 : 1;
    int sample_bytes = max >= 256 ? 2 : 1;
    if (!ascii) {
        // Exactly one white-space character separates the header from the samples.
        if (in.AtEnd() || !IsSpace(in.U8()))
            return nullptr;
        if (uint64_t(width) * uint64_t(height) * channels * sample_bytes > in.Left())
            return nullptr;
    }
    // Every ASCII sample takes a digit and a separator (the last one may end the file).
    if (ascii && uint64_t(width) * uint64_t(height) * channels * 2 - 1 > in.Left())
        return nullptr;
    KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, int(width), int(height));
    if (!picture)
        return nullptr;
    if (!ascii) {
        ReadBinaryRows(in, int(max), channels, sample_bytes, int(width), int(height), picture);
        return picture;
    }
    // Samples are brought to 0..255 with rounding, whatever the maximum (a 16-bit sample is
    // scaled as a whole, not cut to its high byte, so that P3 files with 65535 keep their light).
    uint8_t scale8[256];
    for (int i = 0; i < 256; i++)
        scale8[i] = uint8_t(i > max ? 255 : (max / 2 + i * 255) / max);
    auto scale = [&](int64_t v) -> uint8_t {
        if (v > max)
            v = max;
        if (max == 255)
            return uint8_t(v);
        if (v < 256 && max < 256)
            return scale8[v];
        return uint8_t((max / 2 + v * 255) / max);
    };
    for (int y = 0; y < height; y++) {
        uint8_t* t = picture->Row(int(height) - 1 - y);
        for (int x = 0; x < width; x++, t += 3) {
            uint8_t s[3];
            for (int c = 0; c < channels; c++) {
                int64_t v;
                if (!ReadNumber(in, &v)) {
                    delete picture;
                    return nullptr;
                }
                s[c] = scale(v);
            }
            if (channels == 1)
                s[1] = s[2] = s[0];
            t[0] = s[0];
            t[1] = s[1];
            t[2] = s[2];
        }
    }
    if (in.failed) {
        delete picture;
        return nullptr;
    }
    return picture;
}
