#include "builder/engine/fc_resources.h"

#include "media/base/kz_file.h"
#include "media/base/kz_memory.h"

FCResourceTable::~FCResourceTable() {
    for (Entry& e : entries)
        KZFree(e.loaded);
}

void FCResourceTable::set_data(int number, const uint8_t* data, uint32_t size) {
    if (number < kFirst || number >= kFirst + kCount)
        return;
    entries[number - kFirst].data = size ? data : nullptr;
    entries[number - kFirst].size = size;
}

void FCResourceTable::set_file(int number, const char* path) {
    if (number < kFirst || number >= kFirst + kCount)
        return;
    Entry& e = entries[number - kFirst];
    KZFree(e.loaded);
    e.loaded = nullptr;
    e.loaded_size = 0;
    e.path = path;
}

const char* FCResourceTable::file_of(int number) const {
    if (number < kFirst || number >= kFirst + kCount || entries[number - kFirst].path.IsEmpty())
        return nullptr;
    return entries[number - kFirst].path;
}

const uint8_t* FCResourceTable::find_bin(int number, uint32_t* size) {
    *size = 0;
    if (number < kFirst || number >= kFirst + kCount)
        return nullptr;
    Entry& e = entries[number - kFirst];
    if (!e.path.IsEmpty()) {
        if (!e.loaded)
            e.loaded = KZReadWholeFile(e.path, &e.loaded_size);
        if (!e.loaded || e.loaded_size <= 0)
            return nullptr;
        *size = uint32_t(e.loaded_size);
        return e.loaded;
    }
    *size = e.size;
    return e.data;
}
