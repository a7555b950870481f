// The stub's private heap: every allocation of the runtime comes from here, since it has no C
// runtime. operator new and delete are defined over it.
#pragma once
#include <stddef.h>

void HeapInitialize();
void* HeapAllocate(size_t size);
void HeapRelease(void* block);
