/* The compiler may turn structure initialisation and copies into calls of memset and memcpy even
 * in a program without the C runtime, so the stub brings its own. */
#include <stddef.h>

void* memset(void* destination, int value, size_t count) {
    unsigned char* out = (unsigned char*)destination;
    while (count--)
        *out++ = (unsigned char)value;
    return destination;
}

void* memcpy(void* destination, const void* source, size_t count) {
    unsigned char* out = (unsigned char*)destination;
    const unsigned char* in = (const unsigned char*)source;
    while (count--)
        *out++ = *in++;
    return destination;
}
