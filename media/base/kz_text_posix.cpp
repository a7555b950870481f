// ANSI <-> UTF-16 on POSIX, where the ANSI code page is Windows-1252.
#include "media/base/kz_text.h"

#include "media/base/kz_platform.h"

namespace {
// 0x80..0x9F of Windows-1252; the unassigned bytes map to the C1 code point of the same value,
// as Windows' conversion does.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t ToUnit(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char16_t(byte);
}

char ToByte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == unit)
            return char(0x80 + i);
    return '?';
}

int UnitLength(const char16_t* s) {
    int n = 0;
    while (s[n])
        ++n;
    return n;
}
} // namespace

int AnsiToUtf16(const char* src, int src_length, char16_t* dst, int dst_size) {
    if (!src || src_length == 0 || src_length < -1 || dst_size < 0)
        return 0;
    int n = 0;
    if (src_length == -1) {
        while (src[n])
            ++n;
        ++n; // the NUL is converted too
    } else {
        n = src_length;
    }
    if (dst_size == 0)
        return n;
    if (!dst || dst_size < n)
        return 0;
    for (int i = 0; i < n; ++i)
        dst[i] = ToUnit(static_cast<unsigned char>(src[i]));
    return n;
}

int Utf16ToAnsi(const char16_t* src, int src_length, char* dst, int dst_size) {
    if (!src || src_length == 0 || src_length < -1 || dst_size < 0)
        return 0;
    int n = src_length == -1 ? UnitLength(src) + 1 : src_length;
    if (dst_size == 0)
        return n;
    if (!dst || dst_size < n)
        return 0;
    for (int i = 0; i < n; ++i)
        dst[i] = ToByte(src[i]);
    return n;
}

// The file system's names are UTF-8; the engine's paths are Windows-1252.
bool KZToSystemName(const char* path, KZString& out) {
    return KZAnsiToUtf8(path, out);
}

bool KZFromSystemName(const char* name, KZString& out) {
    return KZUtf8ToAnsi(name, out);
}
