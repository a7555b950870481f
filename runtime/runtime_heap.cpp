#include "runtime_heap.h"

#include <windows.h>

static HANDLE g_heap;

void HeapInitialize() {
    g_heap = HeapCreate(0, 0x10000, 0);
}

void* HeapAllocate(size_t size) {
    return g_heap ? HeapAlloc(g_heap, HEAP_ZERO_MEMORY, size) : nullptr;
}

void HeapRelease(void* block) {
    if (block && g_heap)
        HeapFree(g_heap, 0, block);
}

void* operator new(size_t size) { return HeapAllocate(size); }
void* operator new[](size_t size) { return HeapAllocate(size); }
void operator delete(void* block) noexcept { HeapRelease(block); }
void operator delete[](void* block) noexcept { HeapRelease(block); }
void operator delete(void* block, size_t) noexcept { HeapRelease(block); }
void operator delete[](void* block, size_t) noexcept { HeapRelease(block); }
