#include "builder/ui/controls/kz_picture_bitmap.h"

#include "builder/ui/framework/kz_window.h"
#include "media/picture/kz_picture.h"

namespace {

// Red, green, blue and alpha of pixel x of a row of any format.
void ReadPixel(const KZPicture* picture, const uint8_t* row, int x, uint8_t rgba[4]) {
    switch (picture->Format()) {
    case KZ_PICTURE_RGB:
        rgba[0] = row[x * 3], rgba[1] = row[x * 3 + 1], rgba[2] = row[x * 3 + 2], rgba[3] = 255;
        break;
    case KZ_PICTURE_RGBA:
        for (int i = 0; i < 4; ++i)
            rgba[i] = row[x * 4 + i];
        break;
    case KZ_PICTURE_ALPHA:
        rgba[0] = rgba[1] = rgba[2] = 0, rgba[3] = row[x];
        break;
    case KZ_PICTURE_GRAY:
        rgba[0] = rgba[1] = rgba[2] = row[x], rgba[3] = 255;
        break;
    case KZ_PICTURE_GRAY_ALPHA:
        rgba[0] = rgba[1] = rgba[2] = row[x * 2], rgba[3] = row[x * 2 + 1];
        break;
    default:
        rgba[0] = rgba[1] = rgba[2] = 0, rgba[3] = 255;
        break;
    }
}

// A top-down 24-bit DIB section; its pixels are BGR, rows `stride` bytes apart.
HBITMAP CreateDib24(int width, int height, uint8_t** bits, int* stride) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<uint8_t*>(pixels);
    *stride = (width * 3 + 3) / 4 * 4;
    return bitmap;
}

} // namespace

KZPicture* KZLoadPngResource(int id, const char* type) {
    // A language library holds texts and dialogs only: pictures stay in the program.
    HINSTANCE instance = KZGetResourceInstance();
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
    if (!found && instance != GetModuleHandleA(nullptr)) {
        instance = GetModuleHandleA(nullptr);
        found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
    }
    if (!found)
        return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return nullptr;
    return ReadPng(static_cast<const uint8_t*>(data), SizeofResource(instance, found));
}

HBITMAP KZCreateBitmapFromPicture(const KZPicture* picture, COLORREF background) {
    if (!picture || !picture->IsValid())
        return nullptr;
    const KZPicture* source = picture;
    KZPicture* expanded = nullptr;
    if (picture->Format() == KZ_PICTURE_PALETTE) {
        expanded = static_cast<const KZPicturePalette*>(picture)->PaletteToRGBOrRGBA();
        if (!expanded)
            return nullptr;
        source = expanded;
    }
    int width = source->Width();
    int height = source->Height();
    uint8_t* bits = nullptr;
    int stride = 0;
    HBITMAP bitmap = CreateDib24(width, height, &bits, &stride);
    if (bitmap) {
        const int back[3] = {GetRValue(background), GetGValue(background), GetBValue(background)};
        for (int y = 0; y < height; ++y) {
            // The picture's rows run bottom-up, the DIB's top-down.
            const uint8_t* row = source->Row(height - 1 - y);
            uint8_t* out = bits + size_t(stride) * y;
            for (int x = 0; x < width; ++x) {
                uint8_t rgba[4];
                ReadPixel(source, row, x, rgba);
                for (int c = 0; c < 3; ++c) {
                    int blended = (rgba[c] * rgba[3] + back[c] * (255 - rgba[3]) + 127) / 255;
                    out[x * 3 + 2 - c] = (uint8_t)blended; // BGR
                }
            }
        }
    }
    if (expanded)
        expanded->Release();
    return bitmap;
}

HBITMAP KZCreateBitmapFromRGB(const uint8_t* rgb, int width, int height) {
    uint8_t* bits = nullptr;
    int stride = 0;
    HBITMAP bitmap = CreateDib24(width, height, &bits, &stride);
    if (!bitmap)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rgb + size_t(y) * width * 3;
        uint8_t* out = bits + size_t(y) * stride;
        for (int x = 0; x < width; ++x) {
            out[x * 3] = in[x * 3 + 2];
            out[x * 3 + 1] = in[x * 3 + 1];
            out[x * 3 + 2] = in[x * 3];
        }
    }
    return bitmap;
}
