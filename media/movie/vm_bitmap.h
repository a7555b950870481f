// A bitmap character and the JPEG encoding of its picture for DefineBitsJPEG2/3.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/movie/vm_char.h"

class KZPicture;
class KZStream;

enum VMTagCode {
    VM_TAG_END = 0,
    VM_TAG_SHOW_FRAME = 1,
    VM_TAG_DEFINE_SHAPE = 2,
    VM_TAG_PLACE_OBJECT = 4,
    VM_TAG_SET_BACKGROUND_COLOR = 9,
    VM_TAG_DO_ACTION = 12,
    VM_TAG_DEFINE_BITS_JPEG2 = 21,
    VM_TAG_DEFINE_SHAPE3 = 32,
    VM_TAG_DEFINE_BITS_JPEG3 = 35,
};

class VMBitmap : public VMChar {
public:
    explicit VMBitmap(int picture_index) : VMChar(VM_CHAR_BITMAP), picture_index_(picture_index) {}
    bool IsEmpty() const override { return false; }
    int PictureIndex() const { return picture_index_; }

private:
    int picture_index_;
};

// Copies a JPEG stream keeping only what a SWF bitmap needs: the start marker, frame headers
// (0xC0, 0xC1, 0xC2), Huffman and quantisation tables (0xC4, 0xDB), the restart interval (0xDD)
// and the scan with everything after it. Application data and comments are dropped. False for
// a stream that is not a well-formed JPEG (no start marker, truncated segment, no scan).
bool FilterJpegMarkers(const uint8_t* jpeg, size_t size, KZStream* out);

// The tag body after the character id: JPEG (and, when the picture has alpha, the alpha-data
// offset in front and the zlib-compressed alpha plane behind) appended to out. *tag_code
// receives 21 or 35. The picture is not changed. False when it cannot be converted or encoded.
bool EncodeJpegBitmap(const KZPicture* picture, int quality, KZStream* out, int* tag_code);
