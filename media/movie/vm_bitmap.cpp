#include "media/movie/vm_bitmap.h"

#include <cstdlib>

#include "media/base/kz_memory.h"
#include "media/base/kz_stream.h"
#include "media/picture/kz_picture.h"

namespace {

bool IsKeptSegment(uint8_t marker) {
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC4 || marker == 0xDB ||
           marker == 0xDD;
}

// Markers that stand alone, without a length: restart markers and TEM.
bool IsStandalone(uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Alpha of every pixel, top row first (the picture stores rows bottom-up).
uint8_t* BuildAlphaPlane(const KZPicture* picture) {
    const int w = picture->Width(), h = picture->Height();
    uint8_t* plane = static_cast<uint8_t*>(KZMalloc(size_t(w) * size_t(h)));
    if (!plane)
        return nullptr;
    for (int top = 0; top < h; ++top) {
        const uint8_t* row = picture->Row(h - 1 - top);
        uint8_t* dst = plane + size_t(top) * size_t(w);
        switch (picture->Format()) {
        case KZ_PICTURE_RGBA:
            for (int x = 0; x < w; ++x) {
                uint8_t a = row[4 * x + 3];
                // Partial coverage is stored one step higher, as the player expects it.
                dst[x] = (a > 0 && a < 255) ? uint8_t(a + 1) : a;
            }
            break;
        case KZ_PICTURE_ALPHA:
            for (int x = 0; x < w; ++x)
                dst[x] = row[x];
            break;
        case KZ_PICTURE_GRAY_ALPHA:
            for (int x = 0; x < w; ++x)
                dst[x] = row[2 * x + 1];
            break;
        case KZ_PICTURE_PALETTE: {
            // Every palette kind keeps its alpha in the entry's fourth byte, as the picture
            // library's own expansion reads it.
            const KZPicturePalette* pal = static_cast<const KZPicturePalette*>(picture);
            for (int x = 0; x < w; ++x)
                dst[x] = pal->Entry(row[x])[3];
            break;
        }
        default:
            for (int x = 0; x < w; ++x)
                dst[x] = 255;
            break;
        }
    }
    return plane;
}

void Premultiply(KZPicture* work, const uint8_t* plane) {
    const int w = work->Width(), h = work->Height(), bpp = work->BytesPerPixel();
    for (int y = 0; y < h; ++y) {
        uint8_t* row = work->Row(y);
        const uint8_t* alpha = plane + size_t(h - 1 - y) * size_t(w);
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < bpp; ++c)
                row[bpp * x + c] = uint8_t(row[bpp * x + c] * alpha[x] / 255);
    }
}

} // namespace

bool FilterJpegMarkers(const uint8_t* jpeg, size_t size, KZStream* out) {
    if (!jpeg || !out || size < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        return false;
    if (!out->PutByte(0xFF) || !out->PutByte(0xD8))
        return false;
    size_t pos = 2;
    while (pos < size) {
        if (jpeg[pos] != 0xFF)
            return false;
        while (pos < size && jpeg[pos] == 0xFF) // fill bytes before a marker
            ++pos;
        if (pos >= size)
            return false;
        const uint8_t marker = jpeg[pos++];
        if (marker == 0xDA) {
            // The scan and everything after it go through unchanged.
            size_t rest = size - pos;
            return rest <= 0x7FFFFFFF && out->PutByte(0xFF) && out->PutByte(0xDA) &&
                   out->WriteBlock(jpeg + pos, int(rest));
        }
        if (marker == 0xD9 || IsStandalone(marker))
            continue;
        if (size - pos < 2)
            return false;
        const size_t length = size_t(jpeg[pos]) << 8 | jpeg[pos + 1];
        if (length < 2 || length > size - pos)
            return false;
        if (IsKeptSegment(marker) && !(out->PutByte(0xFF) && out->PutByte(marker) &&
                                       out->WriteBlock(jpeg + pos, int(length))))
            return false;
        pos += length;
    }
    return false; // no scan
}

bool EncodeJpegBitmap(const KZPicture* picture, int quality, KZStream* out, int* tag_code) {
    if (!picture || !out || !picture->IsValid())
        return false;
    KZPicture* copy = nullptr;
    if (!picture->IsRGBOrGray()) {
        copy = picture->ToRGB();
        if (!copy)
            return false;
    }
    uint8_t* plane = nullptr;
    const bool alpha = picture->HasAlpha();
    if (alpha) {
        plane = BuildAlphaPlane(picture);
        if (!copy)
            copy = picture->Clone();
        if (!plane || !copy) {
            KZFree(plane);
            delete copy;
            return false;
        }
        Premultiply(copy, plane);
    }
    const KZPicture* work = copy ? copy : picture;

    uint8_t* jpeg = nullptr;
    size_t jpeg_size = 0;
    bool ok = work->EncodeJpeg(&jpeg, &jpeg_size, quality, false);
    delete copy;
    KZMemoryStream filtered;
    ok = ok && FilterJpegMarkers(jpeg, jpeg_size, &filtered) && filtered.GetError() == 0;
    free(jpeg);

    if (ok && alpha) {
        const size_t plane_size = size_t(picture->Width()) * size_t(picture->Height());
        ok = plane_size <= 0x7FFFFFFF && out->PutU32(uint32_t(filtered.GetLength())) &&
             out->WriteBlock(filtered.GetData(), filtered.GetLength());
        if (ok) {
            KZDeflateStream deflate(out, 9);
            ok = deflate.WriteBlock(plane, int(plane_size)) && deflate.Finish();
        }
    } else if (ok) {
        ok = out->WriteBlock(filtered.GetData(), filtered.GetLength());
    }
    KZFree(plane);
    if (ok && tag_code)
        *tag_code = alpha ? VM_TAG_DEFINE_BITS_JPEG3 : VM_TAG_DEFINE_BITS_JPEG2;
    return ok;
}
