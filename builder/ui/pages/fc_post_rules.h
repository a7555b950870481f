// The Post-Setup Actions page's window-free rules: what each action's controls enable, the
// launch choices offered from the additional files, and how the launch drop-down maps to the
// document's index and free text.
#pragma once

#include <cstdint>

#include "media/base/kz_string.h"

// What one action row enables. `available` is false for the readme action when no readme is
// installed: the row is then disabled whatever its fields say.
struct FCPostActionStates {
    bool box;     // the action's box
    bool radios;  // its Ask / Don't ask pair
    bool message; // its message edit
};
FCPostActionStates FCPostActionState(bool available, bool checked, bool ask);

// "{app}\" followed by the file name of `path` (no folder).
KZString FCLaunchChoiceText(const char* path);

// The drop-down item to select for a stored index, or -1 when it names none of `count` items
// (the files were removed since): the free text is shown then.
int FCLaunchItemToSelect(int32_t index, int count);

// Stores the drop-down's state: a selected item (`selected` >= 0) becomes the index and clears
// the free text, only when the index changed; otherwise `text` becomes the free text with index
// -1. True when either field changed.
bool FCStoreLaunchChoice(int selected, const char* text, int32_t& index, KZString& target);
