// Texts of the program from the resource module (the French library when one was chosen), with
// the program's own string as a fallback, so that a library missing a string still shows one.
#pragma once

#include "media/base/kz_string.h"

KZString FCLoadText(int id);
// The toolbar label of step i, loaded once and kept for the life of the process.
const char* FCStepShortName(int index);
// The tooltip of a step command: the part after the line break of strings 200 to 211.
KZString FCStepTooltip(int command_id);
