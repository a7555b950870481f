#include "runtime/runtime_heap.h"

#include <windows.h>

static HANDLE g_heap;

void HeapInitialize() {
    if (!g_heap)
        g_heap = HeapCreate(0, 0, 0);
}

void* HeapAllocate(size_t size) {
    return g_heap ? HeapAlloc(g_heap, HEAP_ZERO_MEMORY, size) : nullptr;
}

void HeapRelease(void* block) {
    if (block && g_heap)
        HeapFree(g_heap, 0, block);
}
