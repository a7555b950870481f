#include "builder/engine/fc_stored_names.h"

#include <cstring>
#include <initializer_list>

namespace {

// Windows-1252 letters to their capitals, as Windows' file systems compare names.
unsigned char Upper(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) // à to þ, not ÷
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return static_cast<unsigned char>(c - 16);
    case 0xFF: // ÿ
        return 0x9F;
    default:
        return c;
    }
}

bool SameIgnoringCase(const char* a, const char* b, size_t n) {
    for (size_t i = 0; i < n; i++)
        if (Upper(static_cast<unsigned char>(a[i])) != Upper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 name devices whatever follows the first dot.
bool IsDeviceName(const char* name) {
    const char* dot = strchr(name, '.');
    size_t base = dot ? size_t(dot - name) : strlen(name);
    // Windows also drops spaces before the extension: "CON .swf" is the console too.
    while (base > 0 && name[base - 1] == ' ')
        base--;
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (base == 3 && SameIgnoringCase(name, device, 3))
            return true;
    if (base == 4 && name[3] >= '1' && name[3] <= '9')
        for (const char* device : {"COM", "LPT"})
            if (SameIgnoringCase(name, device, 3))
                return true;
    return false;
}

} // namespace

const char* FCFileNameProblem(const char* name) {
    if (!name || !*name)
        return "it has no file name";
    size_t length = strlen(name);
    for (size_t i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 32 || strchr("<>:\"/\\|?*", c))
            return "its file name holds a character that Windows file names cannot (< > : \" / "
                   "\\ | ? * or a control character)";
    }
    if (name[length - 1] == '.' || name[length - 1] == ' ')
        return "its file name ends in a dot or a space, which Windows drops";
    if (IsDeviceName(name))
        return "its file name is a Windows device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 "
               "to LPT9)";
    return nullptr;
}

const char* FCStoredNameProblem(const char* name) {
    if (name && strlen(name) > size_t(FC_STORED_NAME_MAX))
        return "its file name is 100 characters or longer, which the screensaver cannot store";
    return FCFileNameProblem(name);
}

bool FCSameStoredName(const char* a, const char* b) {
    size_t n = strlen(a);
    return n == strlen(b) && SameIgnoringCase(a, b, n);
}
