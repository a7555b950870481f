// The help panel's window-free rules: the names that page scripts call through
// window.external, the colours they ask for, and the address of each step's page.
#pragma once

#include <stdint.h>

#include "media/base/kz_string.h"

// Dispatch ids of the external object's names.
enum {
    FC_DISPID_UNKNOWN = -1,
    FC_DISPID_NSTEPS = 12002,
    FC_DISPID_CURSTEP = 12003,
    FC_DISPID_NEXT_STEP = 12004,
    FC_DISPID_PREV_STEP = 12005,
    FC_DISPID_GOTO_STEP = 12006,
    FC_DISPID_GET_COLOR = 12007,
    FC_DISPID_TEST_SETUP = 12008,
    FC_DISPID_TEST_SCR = 12009,
    FC_DISPID_TEST_SETTINGS = 12010,
    FC_DISPID_TEST_CONTROL_PANEL = 12011,
    FC_DISPID_ABOUT = 12012,
    FC_DISPID_CLOSE = 12014,
    FC_DISPID_VISIT_MARQON = 12015,
};

// The dispatch id of `name`, compared whole and with letter case; FC_DISPID_UNKNOWN otherwise.
int FCFindExternalName(const char* name);

// The system colours that the help colours are made of, as 0x00BBGGRR values.
struct FCHelpSystemColors {
    uint32_t button_face = 0;
    uint32_t button_highlight = 0;
    uint32_t button_shadow = 0;
    uint32_t button_text = 0;
    uint32_t window_frame = 0;
    uint32_t active_caption = 0;
};

// The colour of help colour number `number` (1 to 9; black for any other), 0x00BBGGRR.
uint32_t FCHelpColor(int number, const FCHelpSystemColors& colors);
// "#RRGGBB" of a 0x00BBGGRR colour.
KZString FCFormatHelpColor(uint32_t color);

// True with *value when `text` is a whole decimal integer (spaces around it allowed). Scripts
// pass their arguments as text; a half-number such as "2px" is not taken for 2.
bool FCParseHelpNumber(const char* text, int* value);

// "res://" + the module's full path + "/step%d.html" of the 0-based step `index`.
KZString FCHelpPageUrl(const char* module_path, int index);
