// Conveniences over the platform's ANSI/UTF-16 conversion, and UTF-8 through it.
#include "media/base/kz_text.h"

#include <cstdint>
#include <cstring>

#include "media/base/kz_memory.h"

char16_t* AnsiToUtf16Alloc(const char* text, int* out_length) {
    if (!text)
        text = "";
    int length = int(strlen(text));
    int needed = length == 0 ? 0 : AnsiToUtf16(text, length, nullptr, 0);
    if (length > 0 && needed <= 0)
        return nullptr;
    char16_t* result = static_cast<char16_t*>(KZMalloc((size_t(needed) + 1) * sizeof(char16_t)));
    if (!result)
        return nullptr;
    if (needed > 0 && AnsiToUtf16(text, length, result, needed) != needed) {
        KZFree(result);
        return nullptr;
    }
    result[needed] = 0;
    if (out_length)
        *out_length = needed;
    return result;
}

bool Utf16ToAnsiString(const char16_t* text, int length, KZString& out) {
    if (!text)
        length = 0;
    else if (length < 0)
        for (length = 0; text[length]; ++length) {
        }
    if (length == 0) {
        out.Empty();
        return true;
    }
    int needed = Utf16ToAnsi(text, length, nullptr, 0);
    if (needed <= 0)
        return false;
    KZString result;
    char* chars = result.SetLength(needed);
    if (!chars || Utf16ToAnsi(text, length, chars, needed) != needed)
        return false;
    out = result;
    return true;
}

namespace {

bool AppendUtf8(KZString& out, uint32_t cp) {
    char bytes[4];
    int n;
    if (cp < 0x80) {
        bytes[0] = char(cp);
        n = 1;
    } else if (cp < 0x800) {
        bytes[0] = char(0xC0 | (cp >> 6));
        bytes[1] = char(0x80 | (cp & 0x3F));
        n = 2;
    } else if (cp < 0x10000) {
        bytes[0] = char(0xE0 | (cp >> 12));
        bytes[1] = char(0x80 | ((cp >> 6) & 0x3F));
        bytes[2] = char(0x80 | (cp & 0x3F));
        n = 3;
    } else {
        bytes[0] = char(0xF0 | (cp >> 18));
        bytes[1] = char(0x80 | ((cp >> 12) & 0x3F));
        bytes[2] = char(0x80 | ((cp >> 6) & 0x3F));
        bytes[3] = char(0x80 | (cp & 0x3F));
        n = 4;
    }
    return out.Append(bytes, n);
}

// Decodes UTF-8 into a KZMalloc block of UTF-16 (free with KZFree); null when the text is
// malformed or memory runs out. Every sequence must be the shortest form of a scalar value, so
// that no two byte strings decode to one name.
char16_t* Utf8ToUtf16Alloc(const char* text, int* out_length) {
    size_t bytes = strlen(text);
    // A unit per byte at most: two units take four bytes.
    char16_t* result = static_cast<char16_t*>(KZMalloc((bytes + 1) * sizeof(char16_t)));
    if (!result)
        return nullptr;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    int n = 0;
    while (*p) {
        uint32_t cp;
        int extra;
        uint32_t least;
        if (*p < 0x80) {
            cp = *p;
            extra = 0;
            least = 0;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F;
            extra = 1;
            least = 0x80;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F;
            extra = 2;
            least = 0x800;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07;
            extra = 3;
            least = 0x10000;
        } else {
            KZFree(result);
            return nullptr;
        }
        ++p;
        for (int i = 0; i < extra; i++, p++) {
            if ((*p & 0xC0) != 0x80) {
                KZFree(result);
                return nullptr;
            }
            cp = (cp << 6) | (*p & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
            KZFree(result);
            return nullptr;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            result[n++] = char16_t(0xD800 + (cp >> 10));
            result[n++] = char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            result[n++] = char16_t(cp);
        }
    }
    result[n] = 0;
    *out_length = n;
    return result;
}

} // namespace

bool KZUtf8ToAnsi(const char* utf8, KZString& out) {
    int length = 0;
    char16_t* wide = Utf8ToUtf16Alloc(utf8 ? utf8 : "", &length);
    if (!wide)
        return false;
    KZString converted;
    bool ok = Utf16ToAnsiString(wide, length, converted);
    // A character outside the code page comes back as '?' (or a look-alike on Windows): only a
    // text that converts back to the same characters is the same name.
    int back_length = 0;
    char16_t* back = ok ? AnsiToUtf16Alloc(converted, &back_length) : nullptr;
    ok =
        back && back_length == length && memcmp(back, wide, size_t(length) * sizeof(char16_t)) == 0;
    KZFree(back);
    KZFree(wide);
    if (ok)
        out = converted;
    return ok;
}

bool KZAnsiToUtf8(const char* ansi, KZString& out) {
    int length = 0;
    char16_t* wide = AnsiToUtf16Alloc(ansi ? ansi : "", &length);
    if (!wide)
        return false;
    bool ok = KZUtf16ToUtf8(wide, length, out);
    KZFree(wide);
    return ok;
}

bool KZUtf16ToUtf8(const char16_t* units, int count, KZString& out) {
    KZString result;
    for (int i = 0; i < count; i++) {
        uint32_t cp = units[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD; // a lone surrogate
        }
        if (!AppendUtf8(result, cp))
            return false;
    }
    if (result.IsError())
        return false;
    out = result;
    return true;
}

int KZHexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
