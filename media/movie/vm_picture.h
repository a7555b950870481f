// The pictures that bitmap characters show, held in a table with reserved slot 0 so that picture
// indices start at 1.
#pragma once

#include "media/base/kz_array.h"
#include "media/base/kz_ref_class.h"

class KZPicture;

class VMPicture : public KZRefClass {
public:
    // Takes ownership of picture.
    VMPicture(int index, KZPicture* picture, int jpeg_quality = 75);
    ~VMPicture() override;

    int Index() const { return index_; }
    KZPicture* Picture() const { return picture_; }
    int JpegQuality() const { return jpeg_quality_; }
    void SetJpegQuality(int quality) { jpeg_quality_ = quality; }
    // Position of the bitmap character showing this picture in the library's character list.
    int BitmapCharIndex() const { return bitmap_char_index_; }
    void SetBitmapCharIndex(int index) { bitmap_char_index_ = index; }

private:
    int index_;
    KZPicture* picture_;
    int jpeg_quality_;
    int bitmap_char_index_ = -1;
};

class VMPictureTable {
public:
    VMPictureTable();
    ~VMPictureTable();
    VMPictureTable(const VMPictureTable&) = delete;
    VMPictureTable& operator=(const VMPictureTable&) = delete;

    // Takes ownership of picture. An equal picture already in the table is reused (and the given
    // one destroyed unless it is that very object); otherwise a new entry with one reference.
    // Null when the table cannot grow; the picture then still belongs to the caller.
    VMPicture* AddPicture(KZPicture* picture);

    // Number of slots, reserved slot 0 included.
    int SlotCount() const { return entries_.GetCount(); }
    // The entry at index, or null for an empty or out-of-range slot.
    VMPicture* Entry(int index) const;
    int LiveCount() const { return live_count_; }

private:
    KZTArray<VMPicture*> entries_;
    int live_count_ = 0;
};
