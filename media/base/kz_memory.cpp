#include "media/base/kz_memory.h"

#include <cstdlib>

namespace {
int allocations_left = -1; // negative: no failure planned

bool AllocationAllowed() {
    if (allocations_left < 0)
        return true;
    if (allocations_left == 0)
        return false;
    --allocations_left;
    return true;
}
} // namespace

void* KZMalloc(size_t size) {
    if (!AllocationAllowed())
        return nullptr;
    return malloc(size ? size : 1);
}

void* KZRealloc(void* block, size_t size) {
    if (!AllocationAllowed())
        return nullptr;
    return realloc(block, size ? size : 1);
}

void KZFree(void* block) {
    free(block);
}

void KZFailAllocationsAfter(int successes) {
    allocations_left = successes < 0 ? -1 : successes;
}
