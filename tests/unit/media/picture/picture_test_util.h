// Helpers of the picture tests: fixture paths, a PAM reader for ImageMagick's reference
// decodings, and pictures flattened to top-down RGBA for comparison.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/picture/kz_picture.h"

inline std::string FixturePath(const std::string& name) {
    return std::string(SCRKIT_SOURCE_DIR) + "/tests/fixtures/pictures/" + name;
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

inline bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// Top-down RGBA pixels.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    const uint8_t* At(int x, int y) const { return &pixels[(size_t(y) * width + x) * 4]; }
};

// A PAM (P7) file with depth 1..4 and maximum value 255, as written by `convert ... pam:`.
inline bool ReadPam(const std::string& path, RgbaImage* image) {
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::string text(bytes.begin(), bytes.end());
    size_t end = text.find("ENDHDR\n");
    if (text.compare(0, 3, "P7\n") != 0 || end == std::string::npos)
        return false;
    int width = 0, height = 0, depth = 0, max = 0;
    size_t pos = 3;
    while (pos < end) {
        size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl - pos);
        sscanf(line.c_str(), "WIDTH %d", &width);
        sscanf(line.c_str(), "HEIGHT %d", &height);
        sscanf(line.c_str(), "DEPTH %d", &depth);
        sscanf(line.c_str(), "MAXVAL %d", &max);
        pos = nl + 1;
    }
    const uint8_t* p = bytes.data() + end + 7;
    if (max != 255 || depth < 1 || depth > 4 ||
        bytes.size() < end + 7 + size_t(width) * height * depth)
        return false;
    image->width = width;
    image->height = height;
    image->pixels.resize(size_t(width) * height * 4);
    for (size_t i = 0; i < size_t(width) * height; i++, p += depth) {
        uint8_t* t = &image->pixels[i * 4];
        if (depth <= 2) {
            t[0] = t[1] = t[2] = p[0];
            t[3] = depth == 2 ? p[1] : 255;
        } else {
            t[0] = p[0];
            t[1] = p[1];
            t[2] = p[2];
            t[3] = depth == 4 ? p[3] : 255;
        }
    }
    return true;
}

// Any picture as top-down RGBA (palette pictures through their palette).
inline RgbaImage ToRgba(const KZPicture* picture) {
    RgbaImage image;
    KZPicture* expanded = nullptr;
    if (picture->Format() == KZ_PICTURE_PALETTE) {
        expanded = static_cast<const KZPicturePalette*>(picture)->PaletteToRGBOrRGBA();
        picture = expanded;
    }
    image.width = picture->Width();
    image.height = picture->Height();
    image.pixels.resize(size_t(image.width) * image.height * 4);
    int bpp = picture->BytesPerPixel();
    for (int y = 0; y < image.height; y++) {
        const uint8_t* s = picture->Row(image.height - 1 - y);
        for (int x = 0; x < image.width; x++, s += bpp) {
            uint8_t* t = &image.pixels[(size_t(y) * image.width + x) * 4];
            switch (picture->Format()) {
            case KZ_PICTURE_RGB:
                t[0] = s[0], t[1] = s[1], t[2] = s[2], t[3] = 255;
                break;
            case KZ_PICTURE_RGBA:
                t[0] = s[0], t[1] = s[1], t[2] = s[2], t[3] = s[3];
                break;
            case KZ_PICTURE_ALPHA:
                t[0] = t[1] = t[2] = 255, t[3] = s[0];
                break;
            case KZ_PICTURE_GRAY:
                t[0] = t[1] = t[2] = s[0], t[3] = 255;
                break;
            case KZ_PICTURE_GRAY_ALPHA:
                t[0] = t[1] = t[2] = s[0], t[3] = s[1];
                break;
            }
        }
    }
    delete expanded;
    return image;
}

// Largest channel difference; fully transparent pixels compare by alpha only (decoders differ
// in what colour they leave behind a zero alpha).
inline int MaxDifference(const RgbaImage& a, const RgbaImage& b, std::string* where) {
    if (a.width != b.width || a.height != b.height)
        return 1000;
    int worst = 0;
    for (int y = 0; y < a.height; y++)
        for (int x = 0; x < a.width; x++) {
            const uint8_t* p = a.At(x, y);
            const uint8_t* q = b.At(x, y);
            int channels = (p[3] == 0 && q[3] == 0) ? 0 : 3;
            for (int c = 0; c < 4; c++) {
                if (c < 3 && c >= channels)
                    continue;
                int d = abs(int(p[c]) - int(q[c]));
                if (d > worst) {
                    worst = d;
                    char text[160];
                    snprintf(text, sizeof(text), "(%d,%d) ours %d %d %d %d, reference %d %d %d %d",
                             x, y, p[0], p[1], p[2], p[3], q[0], q[1], q[2], q[3]);
                    *where = text;
                }
            }
        }
    return worst;
}

// A picture of the given format filled by f(x, y, channel), y counted from the top.
template <typename F> KZPicture* MakePicture(int format, int width, int height, F f) {
    KZPicture* p = KZPicture::CreatePicture(format, width, height);
    int bpp = p->BytesPerPixel();
    for (int y = 0; y < height; y++) {
        uint8_t* row = p->Row(height - 1 - y);
        for (int x = 0; x < width; x++)
            for (int c = 0; c < bpp; c++)
                row[x * bpp + c] = uint8_t(f(x, y, c));
    }
    return p;
}
