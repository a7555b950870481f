#include "media/movie/vm_lib.h"

#include <new>

#include "media/movie/vm_bitmap.h"
#include "media/movie/vm_shape.h"

VMLib::VMLib() = default;

VMLib::~VMLib() {
    for (int i = chars_.GetCount() - 1; i >= 0; --i) {
        VMChar* ch = chars_[i];
        if (ch && ch->DecRef() <= 0)
            delete ch;
    }
}

bool VMLib::Register(VMChar* ch) {
    if (!chars_.Add(ch)) {
        delete ch;
        return false;
    }
    ch->AddRef();
    return true;
}

VMShape* VMLib::NewShape() {
    VMShape* shape = new (std::nothrow) VMShape;
    return shape && Register(shape) ? shape : nullptr;
}

VMBitmap* VMLib::NewBitmap(int picture_index) {
    VMBitmap* bitmap = new (std::nothrow) VMBitmap(picture_index);
    return bitmap && Register(bitmap) ? bitmap : nullptr;
}

VMChar* VMLib::FindBitmapForPicture(int picture_index) const {
    VMPicture* entry = pictures_.Entry(picture_index);
    if (!entry)
        return nullptr;
    int index = entry->BitmapCharIndex();
    if (index < 0 || index >= chars_.GetCount())
        return nullptr;
    return chars_[index];
}
