// operator new and delete of the stub, over its private heap. Without exceptions a failed
// allocation returns null, and callers check for it.
#include "runtime/runtime_heap.h"

void* operator new(size_t size) {
    return HeapAllocate(size);
}
void* operator new[](size_t size) {
    return HeapAllocate(size);
}
void operator delete(void* block) noexcept {
    HeapRelease(block);
}
void operator delete[](void* block) noexcept {
    HeapRelease(block);
}
void operator delete(void* block, size_t) noexcept {
    HeapRelease(block);
}
void operator delete[](void* block, size_t) noexcept {
    HeapRelease(block);
}
