#include "builder/ui/controls/kzc_big_button_images.h"

bool KZCMakeBigButtonImages(const uint8_t* rgb, int width, int height, int stride, bool bottom_up,
                            KZCColor transparent, KZCColor face, KZCBigButtonImages* images) {
    if (!rgb || width <= 0 || height <= 0 || width > 4096 || height > 4096 || stride < width * 3)
        return false;
    const uint8_t face_rgb[3] = {(uint8_t)KZCRed(face), (uint8_t)KZCGreen(face),
                                 (uint8_t)KZCBlue(face)};
    const uint8_t key[3] = {(uint8_t)KZCRed(transparent), (uint8_t)KZCGreen(transparent),
                            (uint8_t)KZCBlue(transparent)};
    KZCBigButtonImages out;
    out.width = width;
    out.height = height;
    for (auto& p : out.pixels)
        p.resize((size_t)width * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rgb + (size_t)stride * (bottom_up ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const uint8_t* s = row + x * 3;
            size_t at = ((size_t)y * width + x) * 3;
            bool clear = s[0] == key[0] && s[1] == key[1] && s[2] == key[2];
            int luma = (7 * s[0] + 11 * s[1] + 2 * s[2]) / 20;
            for (int c = 0; c < 3; ++c) {
                if (clear) {
                    for (auto& p : out.pixels)
                        p[at + c] = face_rgb[c];
                    continue;
                }
                out.pixels[KZC_BIG_NORMAL][at + c] = s[c];
                out.pixels[KZC_BIG_PRESSED][at + c] = s[c];
                out.pixels[KZC_BIG_HOT][at + c] = (uint8_t)(s[c] + (255 - s[c]) / 4);
                out.pixels[KZC_BIG_DISABLED][at + c] = (uint8_t)((luma + face_rgb[c]) / 2);
            }
        }
    }
    *images = std::move(out);
    return true;
}
