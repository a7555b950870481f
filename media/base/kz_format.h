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

// Writes at most size - 1 characters and a NUL (when size > 0) and returns the length of the whole
// result, so that a caller can size a second pass.
int FormatToBufferV(char* buffer, int size, const char* format, va_list args);
int FormatToBuffer(char* buffer, int size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
