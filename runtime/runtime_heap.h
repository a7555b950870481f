// The stub's private heap: every allocation of the runtime comes from here, since it has no C
// runtime. operator new and delete are defined over it in runtime_new.cpp.
#pragma once
#include <stddef.h>

// Creates the heap (growable, no initial size); it lives until the process ends.
void HeapInitialize();
// Zero-filled block, or null.
void* HeapAllocate(size_t size);
void HeapRelease(void* block);
