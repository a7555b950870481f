#include "media/base/kz_format.h"
#include <cstdio>
// Placeholder while the formatter is written.
int FormatToBufferV(char* buffer, int size, const char* format, va_list args) {
    return vsnprintf(buffer, size_t(size < 0 ? 0 : size), format, args);
}
int FormatToBuffer(char* buffer, int size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatToBufferV(buffer, size, format, args);
    va_end(args);
    return n;
}
