// The builder's built-in resources compiled into the program: what scrkit.exe carries as "BIN"
// resources, for scrkit-cli and the tests.
#pragma once

#include "builder/engine/fc_resources.h"

// Fills `table` with every compiled-in resource. The stub and the launcher are missing (size 0)
// in a native build made without a win64 build beside it.
void FCAddBuiltinResources(FCResourceTable& table);
