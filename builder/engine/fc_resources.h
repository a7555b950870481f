// The builder's embedded programs and pictures. scrkit.exe carries them as Windows resources of
// type "BIN"; scrkit-cli and the tests supply the same bytes from files or from data compiled in.
#pragma once

#include <cstdint>

#include "media/base/kz_string.h"

enum FCResourceNumber {
    FC_RES_STUB = 126,               // saverengine.exe, the screensaver stub
    FC_RES_LAUNCHER = 127,           // pomlet.exe
    FC_RES_WIZARD_IMAGE = 128,       // built-in large setup picture, 164 x 314 PNG
    FC_RES_WIZARD_SMALL_IMAGE = 129, // built-in small setup picture, 55 x 55 PNG
};

class FCResources {
public:
    virtual ~FCResources() = default;
    // The bytes of resource "BIN" `number`, valid for the life of this object; null when the
    // resource is missing or cannot be read.
    virtual const uint8_t* find_bin(int number, uint32_t* size) = 0;
    // The file a resource is read from, so that a build can refuse to write over it; null for
    // resources that are no file of their own.
    virtual const char* file_of(int number) const {
        (void)number;
        return nullptr;
    }
};

// Resources that live in memory the caller keeps (data compiled into the program), with files
// standing in for any number; a file given for a number wins over the compiled data.
class FCResourceTable : public FCResources {
public:
    FCResourceTable() = default;
    FCResourceTable(const FCResourceTable&) = delete;
    FCResourceTable& operator=(const FCResourceTable&) = delete;
    ~FCResourceTable() override;

    void set_data(int number, const uint8_t* data, uint32_t size);
    void set_file(int number, const char* path);
    const uint8_t* find_bin(int number, uint32_t* size) override;
    const char* file_of(int number) const override;

private:
    struct Entry {
        const uint8_t* data = nullptr; // compiled in, not owned
        uint32_t size = 0;
        KZString path;             // read on first use
        uint8_t* loaded = nullptr; // owned, from KZReadWholeFile
        int loaded_size = 0;
    };
    static const int kFirst = FC_RES_STUB;
    static const int kCount = FC_RES_WIZARD_SMALL_IMAGE - FC_RES_STUB + 1;
    Entry entries[kCount];
};
