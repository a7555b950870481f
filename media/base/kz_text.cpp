// Conveniences over the platform's ANSI/UTF-16 conversion.
#include "media/base/kz_text.h"

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
