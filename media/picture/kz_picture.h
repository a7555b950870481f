// The in-house picture: an uncompressed raster in one of six pixel formats, its conversions, the
// image file readers, the BMP writer, JPEG encoding into memory and the two resamplers.
//
// Rows are stored bottom-up: Row(0) is the bottom row of the image. Every row starts on a 4-byte
// boundary (Stride() = (BytesPerPixel() * width + 3) / 4 * 4).
//
// Ownership: whoever receives a newly made picture owns it and deletes it. Conversions return a
// new picture (or nullptr) and never change their source.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/base/kz_ref_class.h"
#include "media/base/kz_string.h"

// Pixel formats (the value of KZPicture::Format()).
enum KZPictureFormat {
    KZ_PICTURE_RGB = 1,        // 3 bytes: R, G, B
    KZ_PICTURE_RGBA = 2,       // 4 bytes: R, G, B, A
    KZ_PICTURE_ALPHA = 3,      // 1 byte: A
    KZ_PICTURE_GRAY = 4,       // 1 byte: gray
    KZ_PICTURE_GRAY_ALPHA = 5, // 2 bytes: gray, A
    KZ_PICTURE_PALETTE = 6,    // 1 byte: palette index
};

// Picture file types by extension (GetPictureFileType); 0 cannot be loaded.
enum KZPictureFileType {
    KZ_FILE_UNKNOWN = 0,
    KZ_FILE_BMP = 1,
    KZ_FILE_GIF = 2,
    KZ_FILE_JPEG = 3,
    KZ_FILE_PCX = 4,
    KZ_FILE_PNG = 5,
    KZ_FILE_PPM = 6,
    KZ_FILE_TGA = 7,
    KZ_FILE_TIFF = 8,
};

// Progress callback of the long operations: receives the caller's argument; a non-zero return
// aborts the operation, which then gives no picture (or false).
typedef int (*KZProgressCallback)(void* arg);

// Largest picture any reader or Allocate accepts: each side at most this many pixels ...
const int KZ_PICTURE_MAX_SIDE = 32768;
// ... and a pixel block (stride x height) of at most 256 MiB.
const int64_t KZ_PICTURE_MAX_BYTES = int64_t(256) << 20;

class KZPicture : public KZRefClass {
public:
    virtual ~KZPicture();
    // Data present, width and height positive, format 1..6 (palette: size 1..256, kind 1..5).
    virtual bool IsValid() const;
    // Maps every channel byte (alpha included) through the gamma table; palette pictures map
    // their palette entries instead. Gamma is limited to 0.001..1000; within 0.01 of 1 nothing.
    virtual void ApplyGamma(float gamma);

    // A picture of the format's class with its pixel block allocated (contents zero); nullptr for
    // an unknown format, a bad size or a failed allocation.
    static KZPicture* CreatePicture(int format, int width, int height);
    static int BytesPerPixelOf(int format); // 0 for an unknown format
    static int StrideFor(int format, int width);

    // Keeps the block when the size is unchanged; otherwise reallocates stride x height bytes
    // (zeroed). Negative sizes become 0; a zero size or one beyond the limits fails.
    bool Allocate(int width, int height);
    KZPicture* Clone() const;
    bool Equals(const KZPicture* other) const;
    bool HasAlpha() const;
    bool IsRGBOrGray() const;
    void FlipVertical();
    void FillRGB(uint8_t r, uint8_t g, uint8_t b);             // RGB pictures only
    void FillRGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a); // RGBA pictures only
    void FillBytes(uint8_t value);                             // every data byte

    // Conversions; each gives nullptr when the source has the wrong format or fails the test.
    KZPicture* ToGrayIfGray() const;      // RGB -> Grayscale when every pixel has R = G = B
    KZPicture* ToGray() const;            // RGB -> Grayscale, (7R + 11G + 2B) / 20
    KZPicture* ToGrayAlphaIfGray() const; // RGBA -> Gray+Alpha when every pixel has R = G = B
    KZPicture* ToGrayIfOpaque() const;    // Gray+Alpha -> Grayscale when every alpha is 255
    KZPicture* ToRGBIfOpaque() const;     // RGBA -> RGB when every alpha is 255
    KZPicture* ToRGB() const;             // any valid picture -> RGB (alpha dropped)

    // Area-scaled copy (formats 1, 2, 4, 5 only; same size gives a Clone).
    KZPicture* ResizeTo(int width, int height, KZProgressCallback progress = nullptr,
                        void* progress_arg = nullptr) const;

    // JPEG of an RGB or Grayscale picture (any valid picture when force_gray). When *out is null
    // the encoder allocates components x width x height + 1024 bytes with malloc and the caller
    // frees it with free(); otherwise *out / *out_size describe the caller's buffer. On success
    // *out_size is the JPEG's length. Rows are fed top-down.
    bool EncodeJpeg(uint8_t** out, size_t* out_size, int quality, bool progressive,
                    bool force_gray = false, KZProgressCallback progress = nullptr,
                    void* progress_arg = nullptr) const;
    bool EncodeJpegToFile(const char* path, int quality, bool progressive, bool force_gray = false,
                          KZProgressCallback progress = nullptr,
                          void* progress_arg = nullptr) const;

    // "%dx%d %s" with the format text ("RGB", "RGBA", "Alpha", "Grayscale", "Gray+Alpha",
    // "%d colors"); empty for a picture that is not valid.
    KZString GetDescription() const;

    int Format() const { return format_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    int BytesPerPixel() const { return BytesPerPixelOf(format_); }
    uint8_t* Data() { return data_; }
    const uint8_t* Data() const { return data_; }
    // Row y counted from the bottom of the image.
    uint8_t* Row(int y) { return data_ + size_t(stride_) * size_t(y); }
    const uint8_t* Row(int y) const { return data_ + size_t(stride_) * size_t(y); }

    const KZString& Name() const { return name_; }
    const KZString& Path() const { return path_; }
    int SourceFileType() const { return source_file_type_; }
    int64_t ModificationTime() const { return modification_time_; }
    void SetName(const KZString& name) { name_ = name; }
    void SetPath(const KZString& path) { path_ = path; }
    void SetSourceFileType(int type) { source_file_type_ = type; }
    void SetModificationTime(int64_t seconds) { modification_time_ = seconds; }

protected:
    explicit KZPicture(int format) : format_(format) {}
    // Copies the palette of palette pictures in Clone; other classes have nothing more.
    virtual void CopyExtraTo(KZPicture* target) const {}
    virtual bool ExtraEquals(const KZPicture* other) const { return true; }

    KZString name_;
    KZString path_;
    int source_file_type_ = 0;
    int64_t modification_time_ = 0;
    int width_ = 0;
    int height_ = 0;
    uint8_t* data_ = nullptr;
    int stride_ = 0;
    int format_;

private:
    KZPicture(const KZPicture&) = delete;
    KZPicture& operator=(const KZPicture&) = delete;
};

class KZPictureRGB : public KZPicture {
public:
    KZPictureRGB() : KZPicture(KZ_PICTURE_RGB) {}
};

class KZPictureRGBA : public KZPicture {
public:
    KZPictureRGBA() : KZPicture(KZ_PICTURE_RGBA) {}
};

class KZPictureAlpha : public KZPicture {
public:
    KZPictureAlpha() : KZPicture(KZ_PICTURE_ALPHA) {}
};

class KZPictureGray : public KZPicture {
public:
    KZPictureGray() : KZPicture(KZ_PICTURE_GRAY) {}
};

class KZPictureGrayAlpha : public KZPicture {
public:
    KZPictureGrayAlpha() : KZPicture(KZ_PICTURE_GRAY_ALPHA) {}
};

class KZPicturePalette : public KZPicture {
public:
    KZPicturePalette();
    bool IsValid() const override;
    void ApplyGamma(float gamma) override;

    // entries: count x 4 bytes (R or gray, G, B, A). Kind becomes 1, size is count in 1..256.
    void SetPalette(int count, const uint8_t* entries);
    int PaletteKind() const { return palette_kind_; } // 1..5: the format the entries hold
    int PaletteSize() const { return palette_size_; } // 1..256
    void SetPaletteKind(int kind) { palette_kind_ = kind; }
    void SetPaletteSize(int size); // limited to 1..256
    uint8_t* Entry(int index) { return palette_[index]; }
    const uint8_t* Entry(int index) const { return palette_[index]; }

    // Drops unused and duplicate entries (remapping pixels) and normalises the kind.
    void OptimizePalette();
    KZPicture* ExpandPalette() const;      // to the kind's format
    KZPicture* PaletteToRGBOrRGBA() const; // kinds 1, 4 -> RGB; kinds 2, 3, 5 -> RGBA

protected:
    void CopyExtraTo(KZPicture* target) const override;
    bool ExtraEquals(const KZPicture* other) const override;

private:
    int palette_kind_ = KZ_PICTURE_RGB;
    int palette_size_ = 1;
    uint8_t palette_[256][4];
};

// File type 0..8 by the lower-cased extension.
int GetPictureFileType(const char* path);
// Filter text of the file dialogs ("BMP Windows Bitmap (*.bmp;*.rle;*.dib)|*.bmp;*.rle;*.dib|...");
// all_patterns (when given) receives every pattern joined with semicolons.
KZString GetFileDialogFilter(KZString* all_patterns);

// Loads and normalises a picture (palette optimised; gray RGB(A) to Grayscale/Gray+Alpha; opaque
// RGBA/Gray+Alpha without alpha); stores name, path and modification time. nullptr on failure.
KZPicture* LoadPicture(const char* path, KZProgressCallback progress = nullptr,
                       void* progress_arg = nullptr);
// Decodes a file image in memory with the reader of the file type, without normalisation.
KZPicture* DecodePicture(int file_type, const uint8_t* data, size_t size,
                         KZProgressCallback progress = nullptr, void* progress_arg = nullptr);
// Applies LoadPicture's normalisation; takes ownership of picture and returns its replacement.
KZPicture* NormalizePicture(KZPicture* picture);

// The individual readers over a file image in memory (hostile input safe; nullptr on any fault).
KZPicture* ReadBmp(const uint8_t* data, size_t size);
KZPicture* ReadGif(const uint8_t* data, size_t size);
KZPicture* ReadJpeg(const uint8_t* data, size_t size, KZProgressCallback progress = nullptr,
                    void* progress_arg = nullptr);
KZPicture* ReadPcx(const uint8_t* data, size_t size);
KZPicture* ReadPng(const uint8_t* data, size_t size);
KZPicture* ReadPpm(const uint8_t* data, size_t size);
KZPicture* ReadTga(const uint8_t* data, size_t size);
KZPicture* ReadTiff(const uint8_t* data, size_t size);

// BMP writer: 24-bit for RGB (other non-palette formats through ToRGB), 8-bit with its palette
// for palette pictures; rows bottom-up and 4-byte aligned. EncodeBmp allocates *out with malloc.
bool EncodeBmp(const KZPicture* picture, uint8_t** out, size_t* out_size);
bool SaveBmp(const KZPicture* picture, const char* path);

// Resampling filters (index into the filter table).
enum KZResampleFilter {
    KZ_FILTER_UNKNOWN = 0,
    KZ_FILTER_FAST = 1,
    KZ_FILTER_POINT = 2,
    KZ_FILTER_BOX = 3,
    KZ_FILTER_TRIANGLE = 4,
    KZ_FILTER_HERMITE = 5,
    KZ_FILTER_HANNING = 6,
    KZ_FILTER_HAMMING = 7,
    KZ_FILTER_BLACKMAN = 8,
    KZ_FILTER_GAUSSIAN = 9,
    KZ_FILTER_QUADRATIC = 10,
    KZ_FILTER_CUBIC = 11,
    KZ_FILTER_CATROM = 12,
    KZ_FILTER_MITCHELL = 13,
    KZ_FILTER_LANCZOS = 14,
    KZ_FILTER_BESSEL = 15,
    KZ_FILTER_SINC = 16,
    KZ_FILTER_COUNT = 17,
};
const char* GetResampleFilterName(int filter); // "Unknown" .. "Sinc"; nullptr out of range
double GetResampleFilterSupport(int filter);
double EvaluateResampleFilter(int filter, double x); // the kernel f(x)

// Separable two-pass convolution (formats 1, 2, 4, 5). Sizes below 1 become 1; the same size
// gives a Clone; filter 1 uses ResizeTo; an index outside 0..16 acts as Box.
KZPicture* ResampleFiltered(const KZPicture* picture, int width, int height, int filter,
                            KZProgressCallback progress = nullptr, void* progress_arg = nullptr);
// Area scaler over raw pixel blocks (every byte an independent channel).
bool ScaleArea(int src_width, int src_height, int bytes_per_pixel, int src_stride,
               const uint8_t* src, int dst_width, int dst_height, uint8_t* dst, int dst_stride,
               KZProgressCallback progress = nullptr, void* progress_arg = nullptr);
// Builder's in-place resize with Lanczos (palette pictures expanded first; same size only
// optimises a palette). On failure *slot is deleted and set to nullptr.
bool ResizePictureInPlace(KZPicture** slot, int width, int height);
