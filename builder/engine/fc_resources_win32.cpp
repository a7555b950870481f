#include "builder/engine/fc_platform.h"
#include "builder/engine/fc_resources.h"

#include <windows.h>

namespace {

// Resources of the program's own module; the bytes stay mapped for the life of the process.
class FCModuleResources : public FCResources {
public:
    const uint8_t* find_bin(int number, uint32_t* size) override {
        *size = 0;
        HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(number), "BIN");
        if (!found)
            return nullptr;
        HGLOBAL loaded = LoadResource(nullptr, found);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data)
            return nullptr;
        *size = SizeofResource(nullptr, found);
        return static_cast<const uint8_t*>(data);
    }
};

} // namespace

FCResources* FCCreateModuleResources() {
    return new FCModuleResources;
}
