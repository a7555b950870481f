// Netpbm pixmaps: P3 (ASCII RGB), P5 and P7 (binary gray), P6 (binary RGB). Always RGB results;
// LoadPicture's normalisation turns gray ones into Grayscale pictures.
#include "media/picture/kz_byte_reader.h"
#include "media/picture/kz_picture.h"

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

} // namespace

KZPicture* ReadPpm(const uint8_t* data, size_t size) {
    if (size < 3 || data[0] != 'P')
        return nullptr;
    int type = data[1] - '0';
    if (type != 3 && type != 5 && type != 6 && type != 7)
        return nullptr; // bitmaps (1, 4) and ASCII gray (2) are not read
    KZByteReader in(data, size);
    in.Seek(2);
    int64_t width, height, max, extra;
    if (!ReadNumber(in, &width) || !ReadNumber(in, &height) || !ReadNumber(in, &max))
        return nullptr;
    if (type == 7 && !ReadNumber(in, &extra))
        return nullptr;
    if (width <= 0 || height <= 0 || width * height <= 0 || max < 1 || max > 65535 ||
        width > KZ_PICTURE_MAX_SIDE || height > KZ_PICTURE_MAX_SIDE)
        return nullptr;
    int channels = (type == 3 || type == 6) ? 3 : 1;
    int sample_bytes = max >= 256 ? 2 : 1;
    if (type != 3) {
        // Exactly one white-space character separates the header from the samples.
        if (in.AtEnd() || !IsSpace(in.U8()))
            return nullptr;
        if (uint64_t(width) * uint64_t(height) * channels * sample_bytes > in.Left())
            return nullptr;
    }
    // Every ASCII sample takes a digit and a separator (the last one may end the file).
    if (type == 3 && uint64_t(width) * uint64_t(height) * 3 * 2 - 1 > in.Left())
        return nullptr;
    KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, int(width), int(height));
    if (!picture)
        return nullptr;
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
                if (type == 3) {
                    if (!ReadNumber(in, &v)) {
                        delete picture;
                        return nullptr;
                    }
                } else if (sample_bytes == 2) {
                    v = in.U8() << 8;
                    v |= in.U8();
                } else {
                    v = in.U8();
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
