#include "builder/engine/fc_file_beside.h"

namespace {

// Enough for many leftovers; past them something else is wrong with the folder.
const int kMaxTries = 100;

} // namespace

KZFile FCCreateFileBeside(const char* path, const char* suffix, KZString* name) {
    for (int i = 1; i <= kMaxTries; i++) {
        KZString beside(path);
        if (i > 1) {
            KZString number;
            number.Format(".%d", i);
            beside += number;
        }
        beside += suffix;
        KZFile file = CreateNewFile(beside);
        if (file) {
            *name = beside;
            return file;
        }
        // A name that is free but cannot be created (no such folder, no right to write): the
        // next number will not do better.
        if (!KZNameTaken(beside))
            return nullptr;
    }
    return nullptr;
}
