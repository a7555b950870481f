// Conversions between the pixel formats. Each makes a new picture and leaves its source alone.
#include "media/picture/kz_picture.h"

namespace {

// A new picture of `format` with the size and source file type of `source`.
KZPicture* MakeLike(const KZPicture* source, int format) {
    KZPicture* picture = KZPicture::CreatePicture(format, source->Width(), source->Height());
    if (picture)
        picture->SetSourceFileType(source->SourceFileType());
    return picture;
}

bool Usable(const KZPicture* p, int format) {
    return p->IsValid() && p->Format() == format;
}

// Every pixel of `bpp` bytes satisfies `test`.
template <typename Test> bool AllPixels(const KZPicture* p, int bpp, Test test) {
    for (int y = 0; y < p->Height(); y++) {
        const uint8_t* s = p->Row(y);
        for (int x = 0; x < p->Width(); x++, s += bpp)
            if (!test(s))
                return false;
    }
    return true;
}

// Converts pixel by pixel from `source` into a new picture of `format`.
template <typename Convert> KZPicture* Map(const KZPicture* source, int format, Convert convert) {
    KZPicture* target = MakeLike(source, format);
    if (!target)
        return nullptr;
    int sb = source->BytesPerPixel();
    int tb = target->BytesPerPixel();
    for (int y = 0; y < source->Height(); y++) {
        const uint8_t* s = source->Row(y);
        uint8_t* t = target->Row(y);
        for (int x = 0; x < source->Width(); x++, s += sb, t += tb)
            convert(s, t);
    }
    return target;
}

} // namespace

KZPicture* KZPicture::ToGrayIfGray() const {
    if (!Usable(this, KZ_PICTURE_RGB) ||
        !AllPixels(this, 3, [](const uint8_t* s) { return s[0] == s[1] && s[1] == s[2]; }))
        return nullptr;
    return Map(this, KZ_PICTURE_GRAY, [](const uint8_t* s, uint8_t* t) { t[0] = s[0]; });
}

KZPicture* KZPicture::ToGray() const {
    if (!Usable(this, KZ_PICTURE_RGB))
        return nullptr;
    return Map(this, KZ_PICTURE_GRAY, [](const uint8_t* s, uint8_t* t) {
        t[0] = uint8_t((7 * s[0] + 11 * s[1] + 2 * s[2]) / 20);
    });
}

KZPicture* KZPicture::ToGrayAlphaIfGray() const {
    if (!Usable(this, KZ_PICTURE_RGBA) ||
        !AllPixels(this, 4, [](const uint8_t* s) { return s[0] == s[1] && s[1] == s[2]; }))
        return nullptr;
    return Map(this, KZ_PICTURE_GRAY_ALPHA, [](const uint8_t* s, uint8_t* t) {
        t[0] = s[0];
        t[1] = s[3];
    });
}

KZPicture* KZPicture::ToGrayIfOpaque() const {
    if (!Usable(this, KZ_PICTURE_GRAY_ALPHA) ||
        !AllPixels(this, 2, [](const uint8_t* s) { return s[1] == 255; }))
        return nullptr;
    return Map(this, KZ_PICTURE_GRAY, [](const uint8_t* s, uint8_t* t) { t[0] = s[0]; });
}

KZPicture* KZPicture::ToRGBIfOpaque() const {
    if (!Usable(this, KZ_PICTURE_RGBA) ||
        !AllPixels(this, 4, [](const uint8_t* s) { return s[3] == 255; }))
        return nullptr;
    return Map(this, KZ_PICTURE_RGB, [](const uint8_t* s, uint8_t* t) {
        t[0] = s[0];
        t[1] = s[1];
        t[2] = s[2];
    });
}

KZPicture* KZPicture::ToRGB() const {
    if (!IsValid())
        return nullptr;
    switch (format_) {
    case KZ_PICTURE_RGB:
        return Clone();
    case KZ_PICTURE_RGBA:
        return Map(this, KZ_PICTURE_RGB, [](const uint8_t* s, uint8_t* t) {
            t[0] = s[0];
            t[1] = s[1];
            t[2] = s[2];
        });
    case KZ_PICTURE_ALPHA:
        // An alpha picture is white with its alpha; without the alpha only the white is left.
        return Map(this, KZ_PICTURE_RGB,
                   [](const uint8_t*, uint8_t* t) { t[0] = t[1] = t[2] = 255; });
    case KZ_PICTURE_GRAY:
    case KZ_PICTURE_GRAY_ALPHA:
        return Map(this, KZ_PICTURE_RGB,
                   [](const uint8_t* s, uint8_t* t) { t[0] = t[1] = t[2] = s[0]; });
    case KZ_PICTURE_PALETTE: {
        KZPicture* full = static_cast<const KZPicturePalette*>(this)->PaletteToRGBOrRGBA();
        if (!full || full->Format() == KZ_PICTURE_RGB)
            return full;
        KZPicture* rgb = full->ToRGB();
        delete full;
        return rgb;
    }
    default:
        return nullptr;
    }
}

namespace {

// Palette entries as they are, for palettes of colours and of colours with alpha.
KZPicture* ExpandColours(const KZPicture* source, const uint8_t (*pal)[4]) {
    return Map(source, KZ_PICTURE_RGB, [pal](const uint8_t* s, uint8_t* t) {
        t[0] = pal[s[0]][0];
        t[1] = pal[s[0]][1];
        t[2] = pal[s[0]][2];
    });
}

KZPicture* ExpandColoursAndAlpha(const KZPicture* source, const uint8_t (*pal)[4]) {
    return Map(source, KZ_PICTURE_RGBA, [pal](const uint8_t* s, uint8_t* t) {
        for (int c = 0; c < 4; c++)
            t[c] = pal[s[0]][c];
    });
}

} // namespace

KZPicture* KZPicturePalette::ExpandPalette() const {
    if (!IsValid())
        return nullptr;
    const uint8_t(*pal)[4] = palette_;
    switch (palette_kind_) {
    case KZ_PICTURE_RGB:
        return ExpandColours(this, pal);
    case KZ_PICTURE_RGBA:
        return ExpandColoursAndAlpha(this, pal);
    case KZ_PICTURE_ALPHA:
        return Map(this, KZ_PICTURE_ALPHA,
                   [pal](const uint8_t* s, uint8_t* t) { t[0] = pal[s[0]][3]; });
    case KZ_PICTURE_GRAY:
        return Map(this, KZ_PICTURE_GRAY,
                   [pal](const uint8_t* s, uint8_t* t) { t[0] = pal[s[0]][0]; });
    case KZ_PICTURE_GRAY_ALPHA:
        return Map(this, KZ_PICTURE_GRAY_ALPHA, [pal](const uint8_t* s, uint8_t* t) {
            t[0] = pal[s[0]][0];
            t[1] = pal[s[0]][3];
        });
    default:
        return nullptr;
    }
}

KZPicture* KZPicturePalette::PaletteToRGBOrRGBA() const {
    if (!IsValid())
        return nullptr;
    const uint8_t(*pal)[4] = palette_;
    switch (palette_kind_) {
    case KZ_PICTURE_RGB:
        return ExpandColours(this, pal);
    case KZ_PICTURE_GRAY:
        return Map(this, KZ_PICTURE_RGB,
                   [pal](const uint8_t* s, uint8_t* t) { t[0] = t[1] = t[2] = pal[s[0]][0]; });
    case KZ_PICTURE_RGBA:
        return ExpandColoursAndAlpha(this, pal);
    case KZ_PICTURE_ALPHA:
        return Map(this, KZ_PICTURE_RGBA, [pal](const uint8_t* s, uint8_t* t) {
            t[0] = t[1] = t[2] = 255;
            t[3] = pal[s[0]][3];
        });
    case KZ_PICTURE_GRAY_ALPHA:
        return Map(this, KZ_PICTURE_RGBA, [pal](const uint8_t* s, uint8_t* t) {
            t[0] = t[1] = t[2] = pal[s[0]][0];
            t[3] = pal[s[0]][3];
        });
    default:
        return nullptr;
    }
}
