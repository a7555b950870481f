// The picture model: allocation, copies, comparisons, fills, gamma and the description.
#include "media/picture/kz_picture.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

int KZPicture::BytesPerPixelOf(int format) {
    switch (format) {
    case KZ_PICTURE_RGB:
        return 3;
    case KZ_PICTURE_RGBA:
        return 4;
    case KZ_PICTURE_ALPHA:
    case KZ_PICTURE_GRAY:
    case KZ_PICTURE_PALETTE:
        return 1;
    case KZ_PICTURE_GRAY_ALPHA:
        return 2;
    default:
        return 0;
    }
}

int KZPicture::StrideFor(int format, int width) {
    return (BytesPerPixelOf(format) * width + 3) / 4 * 4;
}

KZPicture::~KZPicture() {
    free(data_);
}

KZPicture* KZPicture::CreatePicture(int format, int width, int height) {
    KZPicture* picture = nullptr;
    switch (format) {
    case KZ_PICTURE_RGB:
        picture = new KZPictureRGB;
        break;
    case KZ_PICTURE_RGBA:
        picture = new KZPictureRGBA;
        break;
    case KZ_PICTURE_ALPHA:
        picture = new KZPictureAlpha;
        break;
    case KZ_PICTURE_GRAY:
        picture = new KZPictureGray;
        break;
    case KZ_PICTURE_GRAY_ALPHA:
        picture = new KZPictureGrayAlpha;
        break;
    case KZ_PICTURE_PALETTE:
        picture = new KZPicturePalette;
        break;
    default:
        return nullptr;
    }
    if (!picture->Allocate(width, height)) {
        delete picture;
        return nullptr;
    }
    return picture;
}

bool KZPicture::Allocate(int width, int height) {
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    if (data_ && width == width_ && height == height_)
        return true;
    free(data_);
    data_ = nullptr;
    width_ = height_ = stride_ = 0;
    // The side limit keeps bytes-per-pixel x width far inside int; the block limit keeps the
    // whole picture sane for a 32-bit process as well.
    if (width == 0 || height == 0 || width > KZ_PICTURE_MAX_SIDE || height > KZ_PICTURE_MAX_SIDE)
        return false;
    int stride = StrideFor(format_, width);
    int64_t bytes = int64_t(stride) * height;
    if (stride <= 0 || bytes > KZ_PICTURE_MAX_BYTES)
        return false;
    data_ = static_cast<uint8_t*>(calloc(size_t(bytes), 1));
    if (!data_)
        return false;
    width_ = width;
    height_ = height;
    stride_ = stride;
    return true;
}

bool KZPicture::IsValid() const {
    return data_ && width_ > 0 && height_ > 0 && format_ >= 1 && format_ <= 6;
}

KZPicture* KZPicture::Clone() const {
    if (!data_)
        return nullptr;
    KZPicture* copy = CreatePicture(format_, width_, height_);
    if (!copy)
        return nullptr;
    memcpy(copy->data_, data_, size_t(stride_) * height_);
    copy->source_file_type_ = source_file_type_;
    CopyExtraTo(copy);
    return copy;
}

bool KZPicture::Equals(const KZPicture* other) const {
    if (other == this)
        return true;
    if (!other || other->format_ != format_ || other->width_ != width_ || other->height_ != height_)
        return false;
    if (!data_ || !other->data_)
        return data_ == other->data_;
    size_t row_bytes = size_t(BytesPerPixel()) * width_;
    for (int y = 0; y < height_; y++)
        if (memcmp(Row(y), other->Row(y), row_bytes) != 0)
            return false;
    return ExtraEquals(other);
}

bool KZPicture::HasAlpha() const {
    if (format_ == KZ_PICTURE_PALETTE) {
        int kind = static_cast<const KZPicturePalette*>(this)->PaletteKind();
        return kind == KZ_PICTURE_RGBA || kind == KZ_PICTURE_ALPHA || kind == KZ_PICTURE_GRAY_ALPHA;
    }
    return format_ == KZ_PICTURE_RGBA || format_ == KZ_PICTURE_ALPHA ||
           format_ == KZ_PICTURE_GRAY_ALPHA;
}

bool KZPicture::IsRGBOrGray() const {
    return format_ == KZ_PICTURE_RGB || format_ == KZ_PICTURE_GRAY;
}

void KZPicture::FlipVertical() {
    if (!data_)
        return;
    for (int top = 0, bottom = height_ - 1; top < bottom; top++, bottom--) {
        uint8_t* a = Row(top);
        uint8_t* b = Row(bottom);
        for (int i = 0; i < stride_; i++) {
            uint8_t t = a[i];
            a[i] = b[i];
            b[i] = t;
        }
    }
}

void KZPicture::FillRGB(uint8_t r, uint8_t g, uint8_t b) {
    if (format_ != KZ_PICTURE_RGB || !data_)
        return;
    for (int y = 0; y < height_; y++) {
        uint8_t* p = Row(y);
        for (int x = 0; x < width_; x++, p += 3) {
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
    }
}

void KZPicture::FillRGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    if (format_ != KZ_PICTURE_RGBA || !data_)
        return;
    for (int y = 0; y < height_; y++) {
        uint8_t* p = Row(y);
        for (int x = 0; x < width_; x++, p += 4) {
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = a;
        }
    }
}

void KZPicture::FillBytes(uint8_t value) {
    if (data_)
        memset(data_, value, size_t(stride_) * height_);
}

// Returns false when the gamma is close enough to 1 that the table would be the identity.
static bool MakeGammaTable(float gamma, uint8_t table[256]) {
    double g = gamma;
    if (!(g >= 0.001)) // also catches NaN
        g = 0.001;
    if (g > 1000.0)
        g = 1000.0;
    if (std::fabs(g - 1.0) <= 0.01)
        return false;
    for (int i = 0; i < 256; i++) {
        double v = 255.0 * std::pow(i / 255.0, 1.0 / g) + 0.5;
        table[i] = uint8_t(v > 255.0 ? 255 : int(v));
    }
    return true;
}

void KZPicture::ApplyGamma(float gamma) {
    uint8_t table[256];
    if (!data_ || !MakeGammaTable(gamma, table))
        return;
    size_t row_bytes = size_t(BytesPerPixel()) * width_;
    for (int y = 0; y < height_; y++) {
        uint8_t* p = Row(y);
        for (size_t i = 0; i < row_bytes; i++)
            p[i] = table[p[i]];
    }
}

KZString KZPicture::GetDescription() const {
    KZString text;
    if (!IsValid())
        return text;
    static const char* const kFormatText[] = {"",      "RGB",       "RGBA",
                                              "Alpha", "Grayscale", "Gray+Alpha"};
    if (format_ == KZ_PICTURE_PALETTE) {
        KZString colors;
        colors.Format("%d colors", static_cast<const KZPicturePalette*>(this)->PaletteSize());
        text.Format("%dx%d %s", width_, height_, colors.c_str());
    } else {
        text.Format("%dx%d %s", width_, height_, kFormatText[format_]);
    }
    return text;
}

// ---- palette pictures ----

KZPicturePalette::KZPicturePalette() : KZPicture(KZ_PICTURE_PALETTE) {
    for (int i = 0; i < 256; i++) {
        palette_[i][0] = palette_[i][1] = palette_[i][2] = 0;
        palette_[i][3] = 255;
    }
}

bool KZPicturePalette::IsValid() const {
    return KZPicture::IsValid() && palette_size_ >= 1 && palette_size_ <= 256 &&
           palette_kind_ >= 1 && palette_kind_ <= 5;
}

void KZPicturePalette::ApplyGamma(float gamma) {
    uint8_t table[256];
    if (!MakeGammaTable(gamma, table))
        return;
    for (int i = 0; i < palette_size_; i++)
        for (int c = 0; c < 4; c++)
            palette_[i][c] = table[palette_[i][c]];
}

void KZPicturePalette::SetPaletteSize(int size) {
    palette_size_ = size < 1 ? 1 : size > 256 ? 256 : size;
}

void KZPicturePalette::SetPalette(int count, const uint8_t* entries) {
    palette_kind_ = KZ_PICTURE_RGB;
    SetPaletteSize(count);
    if (entries)
        memcpy(palette_, entries, size_t(palette_size_) * 4);
}

void KZPicturePalette::CopyExtraTo(KZPicture* target) const {
    KZPicturePalette* copy = static_cast<KZPicturePalette*>(target);
    copy->palette_kind_ = palette_kind_;
    copy->palette_size_ = palette_size_;
    memcpy(copy->palette_, palette_, sizeof(palette_));
}

bool KZPicturePalette::ExtraEquals(const KZPicture* other) const {
    const KZPicturePalette* o = static_cast<const KZPicturePalette*>(other);
    return o->palette_kind_ == palette_kind_ && o->palette_size_ == palette_size_ &&
           memcmp(o->palette_, palette_, size_t(palette_size_) * 4) == 0;
}

void KZPicturePalette::OptimizePalette() {
    if (!data_)
        return;
    bool used[256] = {};
    for (int y = 0; y < height_; y++) {
        const uint8_t* p = Row(y);
        for (int x = 0; x < width_; x++)
            used[p[x]] = true;
    }
    // Pixels may use indices at or beyond the palette size (a file may give fewer colours than
    // it uses); those entries take part like any other, so no pixel changes its colour.
    uint8_t map[256];
    int order[256]; // new index -> old index of its first entry
    int count = 0;
    bool identity = true;
    for (int i = 0; i < 256; i++) {
        if (!used[i])
            continue;
        int found = -1;
        for (int n = 0; n < count; n++)
            if (memcmp(palette_[order[n]], palette_[i], 4) == 0) {
                found = n;
                break;
            }
        if (found < 0) {
            found = count;
            order[count++] = i;
        }
        map[i] = uint8_t(found);
        if (found != i)
            identity = false;
    }
    if (count == 0)
        return;
    if (!identity) {
        for (int y = 0; y < height_; y++) {
            uint8_t* p = Row(y);
            for (int x = 0; x < width_; x++)
                p[x] = map[p[x]];
        }
        uint8_t rebuilt[256][4];
        for (int n = 0; n < 256; n++) {
            if (n < count) {
                memcpy(rebuilt[n], palette_[order[n]], 4);
            } else {
                rebuilt[n][0] = rebuilt[n][1] = rebuilt[n][2] = 0;
                rebuilt[n][3] = 255;
            }
        }
        memcpy(palette_, rebuilt, sizeof(palette_));
    }
    palette_size_ = count;

    if (palette_kind_ == KZ_PICTURE_ALPHA)
        return;
    int started = palette_kind_;
    bool translucent = false;
    bool gray = true;
    for (int i = 0; i < palette_size_; i++) {
        if (palette_[i][3] != 255)
            translucent = true;
        if (palette_[i][0] != palette_[i][1] || palette_[i][1] != palette_[i][2])
            gray = false;
    }
    if (translucent) {
        if (palette_kind_ == KZ_PICTURE_RGB)
            palette_kind_ = KZ_PICTURE_RGBA;
        else if (palette_kind_ == KZ_PICTURE_GRAY)
            palette_kind_ = KZ_PICTURE_GRAY_ALPHA;
    } else {
        if (palette_kind_ == KZ_PICTURE_RGBA)
            palette_kind_ = KZ_PICTURE_RGB;
        else if (palette_kind_ == KZ_PICTURE_GRAY_ALPHA)
            palette_kind_ = KZ_PICTURE_GRAY;
    }
    if ((started == KZ_PICTURE_RGB || started == KZ_PICTURE_RGBA) && gray) {
        if (palette_kind_ == KZ_PICTURE_RGB)
            palette_kind_ = KZ_PICTURE_GRAY;
        else if (palette_kind_ == KZ_PICTURE_RGBA)
            palette_kind_ = KZ_PICTURE_GRAY_ALPHA;
    }
}
