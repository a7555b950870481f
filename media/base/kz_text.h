// Conversion between the ANSI code page and UTF-16.
//
// On Windows the system's ANSI code page is used (MultiByteToWideChar / WideCharToMultiByte). On
// POSIX the ANSI code page is Windows-1252 in both directions, so that files written on Linux hold
// the bytes Windows would write: all 256 bytes map, the five bytes that 1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the same code points U+0081 ... as Windows' best fit does,
// and a UTF-16 unit with no byte becomes '?'.
#pragma once

#include "media/base/kz_string.h"

// Both take a source length in units; -1 means NUL-terminated, and the NUL is converted and
// counted too. With dst_size 0 they return the units the result needs. Otherwise they return the
// units written, or 0 when the destination is too small or the input is invalid.
int AnsiToUtf16(const char* src, int src_length, char16_t* dst, int dst_size);
int Utf16ToAnsi(const char16_t* src, int src_length, char* dst, int dst_size);

// Conveniences over the above. The UTF-16 result is NUL-terminated, from KZMalloc (free with
// KZFree); out_length gets the units without the NUL. Null on failure.
char16_t* AnsiToUtf16Alloc(const char* text, int* out_length);
// Appends the converted text to `out` (replacing its content). False on failure.
bool Utf16ToAnsiString(const char16_t* text, int length, KZString& out);
