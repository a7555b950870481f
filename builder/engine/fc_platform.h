// The two platform services the engine needs beyond the base library: where the builder program
// lies, and putting a file written beside its destination into place.
#pragma once

#include "media/base/kz_string.h"

// Folder of the running program with a trailing separator; empty when the system does not say.
KZString FCProgramFolder();

// Moves `from` over `to`, replacing a file that is there, in one step where the system allows it.
// False when nothing was moved (then both files are as they were).
bool FCReplaceFile(const char* from, const char* to);
