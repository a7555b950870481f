// The library's own printf-style formatter, so that results are the same on every platform.
//
// Syntax: %[flags][width][.precision][length]conversion
//   flags       space, '#', '+', '-', '0'
//   width/prec  digits or '*' (from the arguments: a negative width means left alignment, a
//   negative
//               precision counts as none given); both are limited to 510
//   length      h, hh, l, ll; t and z are taken as 32-bit
//   conversions d i u o x X c s p n e E f F g G and %% ; "%s" of a null pointer prints "(null)";
//               any other character after '%' is written out together with the '%'.
// "%p" follows the host's C library: on POSIX glibc's form ("0x" and lower-case hex digits,
// "(nil)" for a null pointer), on Windows the C runtime's form (16 upper-case hex digits).
#pragma once

#include <cstdarg>

// The syntax is C99's on every platform, so the compiler checks calls against GNU printf, also
// with MinGW whose default check follows the older Windows runtime.
#if defined(__MINGW32__)
#define KZ_PRINTF_FORMAT gnu_printf
#else
#define KZ_PRINTF_FORMAT printf
#endif

// Writes at most size - 1 characters and a NUL (when size > 0) and returns the length of the whole
// result, so that a caller can size a second pass.
int FormatToBufferV(char* buffer, int size, const char* format, va_list args);
int FormatToBuffer(char* buffer, int size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(KZ_PRINTF_FORMAT, 3, 4)))
#endif
    ;
