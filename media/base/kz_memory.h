// Heap allocation for the base library. Every block of strings, arrays and streams goes through
// these, so that tests can make allocation fail on purpose and check the error states.
#pragma once

#include <cstddef>

void* KZMalloc(size_t size);
void* KZRealloc(void* block, size_t size);
void KZFree(void* block);

// Test hook: after `successes` more successful allocations every further one fails, until the
// hook is cleared with a negative value. Not thread-safe; meant for single-threaded tests.
void KZFailAllocationsAfter(int successes);
