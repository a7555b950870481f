// The character library of one movie: its shapes and bitmaps, and the pictures they show.
#pragma once

#include "media/base/kz_array.h"
#include "media/movie/vm_picture.h"

class VMChar;
class VMShape;
class VMBitmap;

class VMLib {
public:
    VMLib();
    ~VMLib();
    VMLib(const VMLib&) = delete;
    VMLib& operator=(const VMLib&) = delete;

    // New characters, registered with one reference of the library; null on allocation failure.
    VMShape* NewShape();
    VMBitmap* NewBitmap(int picture_index);
    // The bitmap character of a picture-table entry, or null.
    VMChar* FindBitmapForPicture(int picture_index) const;

    VMPictureTable& Pictures() { return pictures_; }
    const VMPictureTable& Pictures() const { return pictures_; }
    int CharCount() const { return chars_.GetCount(); }
    VMChar* Char(int index) const { return chars_[index]; }

private:
    bool Register(VMChar* ch);

    VMPictureTable pictures_;
    KZTArray<VMChar*> chars_;
};
