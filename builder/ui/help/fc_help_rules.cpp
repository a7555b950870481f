#include "builder/ui/help/fc_help_rules.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

struct ExternalName {
    const char* name;
    int id;
};

const ExternalName kNames[] = {
    {"nsteps", FC_DISPID_NSTEPS},
    {"curstep", FC_DISPID_CURSTEP},
    {"next_step", FC_DISPID_NEXT_STEP},
    {"prev_step", FC_DISPID_PREV_STEP},
    {"goto_step", FC_DISPID_GOTO_STEP},
    {"get_color", FC_DISPID_GET_COLOR},
    {"test_setup", FC_DISPID_TEST_SETUP},
    {"test_scr", FC_DISPID_TEST_SCR},
    {"test_settings", FC_DISPID_TEST_SETTINGS},
    {"test_control_panel", FC_DISPID_TEST_CONTROL_PANEL},
    {"about", FC_DISPID_ABOUT},
    {"close", FC_DISPID_CLOSE},
    {"visit_marqon", FC_DISPID_VISIT_MARQON},
};

// Per channel, the integer mean of two colours.
uint32_t Mean(uint32_t a, uint32_t b) {
    uint32_t mean = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        mean |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return mean;
}

} // namespace

int FCFindExternalName(const char* name) {
    if (!name)
        return FC_DISPID_UNKNOWN;
    for (const ExternalName& entry : kNames) {
        if (strcmp(entry.name, name) == 0)
            return entry.id;
    }
    return FC_DISPID_UNKNOWN;
}

uint32_t FCHelpColor(int number, const FCHelpSystemColors& colors) {
    uint32_t light = Mean(colors.button_highlight, colors.button_face);
    switch (number) {
    case 1:
    case 8:
        return colors.button_face;
    case 2:
        return light;
    case 3:
        return Mean(colors.button_face, light);
    case 4:
        return colors.button_shadow;
    case 5:
        return colors.button_highlight;
    case 6:
        return colors.button_text;
    case 7:
        return colors.window_frame;
    case 9:
        return colors.active_caption;
    default:
        return 0;
    }
}

KZString FCFormatHelpColor(uint32_t color) {
    KZString text;
    text.Format("#%02X%02X%02X", (unsigned)(color & 0xFF), (unsigned)((color >> 8) & 0xFF),
                (unsigned)((color >> 16) & 0xFF));
    return text;
}

bool FCParseHelpNumber(const char* text, int* value) {
    if (!text)
        return false;
    char* end = nullptr;
    errno = 0;
    long number = strtol(text, &end, 10);
    if (end == text || errno == ERANGE || number < -2147483647L - 1 || number > 2147483647L)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    *value = (int)number;
    return true;
}

KZString FCHelpPageUrl(const char* module_path, int index) {
    KZString url;
    url.Format("res://%s/step%d.html", module_path ? module_path : "", index + 1);
    return url;
}
