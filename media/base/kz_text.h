// Conversion between the ANSI code page and UTF-16, and between the ANSI code page and UTF-8
// (the encoding of a POSIX system's file names, arguments and terminal).
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

// UTF-8 and the ANSI code page, through UTF-16; each replaces the content of `out`.
// False for malformed UTF-8 (a stray or missing continuation byte, an overlong form, a surrogate,
// a code point past U+10FFFF) and for a character the code page lacks: a name is refused rather
// than changed into another one.
bool KZUtf8ToAnsi(const char* utf8, KZString& out);
// Every ANSI text has a UTF-8 form; false only when memory runs out.
bool KZAnsiToUtf8(const char* ansi, KZString& out);
// `count` units of UTF-16 as UTF-8; a lone surrogate becomes U+FFFD. False when memory runs out.
bool KZUtf16ToUtf8(const char16_t* units, int count, KZString& out);

// The value of a hexadecimal digit (either case), -1 for any other character.
int KZHexDigit(char c);
