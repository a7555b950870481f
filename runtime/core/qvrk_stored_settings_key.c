#include "runtime/core/qvrk_stored_settings_key.h"

uint32_t qvrk_stored_settings_key(const char* company, const char* name, char* out,
                                  uint32_t capacity) {
    /* One loop over the parts keeps the stub small. */
    const char* parts[4] = {"Software\\TarvoSavers\\", company, "\\", name};
    uint32_t length = 0;
    int i;
    if (!company[0])
        parts[1] = parts[2] = "";
    if (!name[0])
        parts[3] = "Tarvo Screensaver";
    for (i = 0; i < 4; ++i) {
        const char* text;
        for (text = parts[i]; *text; ++text, ++length)
            if (length + 1 < capacity)
                out[length] = *text;
    }
    if (capacity > 0)
        out[length < capacity ? length : capacity - 1] = 0;
    return length;
}
