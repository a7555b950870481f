#include "media/movie/vm_picture.h"

#include <new>

#include "media/picture/kz_picture.h"

VMPicture::VMPicture(int index, KZPicture* picture, int jpeg_quality)
    : index_(index), picture_(picture), jpeg_quality_(jpeg_quality) {}

VMPicture::~VMPicture() {
    delete picture_;
}

VMPictureTable::VMPictureTable() {
    // Slot 0 stays empty so that a picture index of 0 can mean "none". If even this fails, the
    // table starts empty and AddPicture retries.
    entries_.Add(nullptr);
}

VMPictureTable::~VMPictureTable() {
    for (int i = 0; i < entries_.GetCount(); ++i) {
        VMPicture* entry = entries_[i];
        if (entry && entry->DecRef() <= 0)
            delete entry;
    }
}

VMPicture* VMPictureTable::Entry(int index) const {
    if (index < 0 || index >= entries_.GetCount())
        return nullptr;
    return entries_[index];
}

VMPicture* VMPictureTable::AddPicture(KZPicture* picture) {
    if (!picture)
        return nullptr;
    if (entries_.GetCount() == 0 && !entries_.Add(nullptr))
        return nullptr;
    for (int i = 1; i < entries_.GetCount(); ++i) {
        VMPicture* entry = entries_[i];
        if (entry && entry->Picture()->Equals(picture)) {
            if (entry->Picture() != picture)
                delete picture;
            return entry;
        }
    }
    int slot = 1;
    while (slot < entries_.GetCount() && entries_[slot])
        ++slot;
    if (slot == entries_.GetCount() && !entries_.Add(nullptr))
        return nullptr;
    VMPicture* entry = new (std::nothrow) VMPicture(slot, picture, 75);
    if (!entry) {
        if (slot == entries_.GetCount() - 1)
            entries_.RemoveAt(slot);
        return nullptr;
    }
    entries_[slot] = entry;
    ++live_count_;
    return entry;
}
