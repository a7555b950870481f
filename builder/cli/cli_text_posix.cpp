// Terminal text on POSIX: the terminal speaks UTF-8, the document Windows-1252.
#include "builder/cli/cli_text.h"

#include "media/base/kz_memory.h"
#include "media/base/kz_text.h"

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Decodes UTF-8 into UTF-16; false on a malformed sequence. Overlong forms are malformed too:
// "\xC0\xBB" would otherwise smuggle a ';' into a list item, and "\xC0\x80" a NUL.
bool Utf8ToUtf16(const char* text, std::u16string& out) {
    static const uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t cp;
        int extra;
        if (*p < 0x80) {
            cp = *p;
            extra = 0;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07;
            extra = 3;
        } else {
            return false;
        }
        ++p;
        for (int i = 0; i < extra; i++, p++) {
            if ((*p & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (*p & 0x3F);
        }
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return true;
}

} // namespace

bool CliArgumentToAnsi(const char* argument, KZString& out) {
    std::u16string wide;
    if (!Utf8ToUtf16(argument, wide))
        return false;
    if (wide.empty()) {
        out = "";
        return true;
    }
    if (!Utf16ToAnsiString(wide.data(), int(wide.size()), out))
        return false;
    // A character outside the code page comes back as '?': refuse rather than change the text.
    std::u16string back;
    int length = 0;
    char16_t* round = AnsiToUtf16Alloc(out, &length);
    bool same = round && std::u16string(round, size_t(length)) == wide;
    KZFree(round);
    return same;
}

std::string CliAnsiToTerminal(const char* ansi) {
    std::string out;
    int length = 0;
    char16_t* wide = AnsiToUtf16Alloc(ansi ? ansi : "", &length);
    if (wide)
        out = CliUtf16ToTerminal(reinterpret_cast<const uint16_t*>(wide), size_t(length));
    KZFree(wide);
    return out;
}

std::string CliUtf16ToTerminal(const uint16_t* units, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; i++) {
        uint32_t cp = units[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD; // a lone surrogate
        }
        AppendUtf8(out, cp);
    }
    return out;
}
