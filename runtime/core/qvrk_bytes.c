#include "runtime/core/qvrk_bytes.h"

/* Plain loops: the library is compiled freestanding so that the compiler does not turn these
 * back into calls to the C runtime's memcpy and memset. */
void qvrk_copy_bytes(void* destination, const void* source, size_t count) {
    uint8_t* d = (uint8_t*)destination;
    const uint8_t* s = (const uint8_t*)source;
    size_t i;
    for (i = 0; i < count; ++i)
        d[i] = s[i];
}

void qvrk_fill_bytes(void* destination, uint8_t value, size_t count) {
    uint8_t* d = (uint8_t*)destination;
    size_t i;
    for (i = 0; i < count; ++i)
        d[i] = value;
}
