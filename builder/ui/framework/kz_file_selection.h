// The open-file dialog's answer to a multiple selection, read without windows.
#pragma once

#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

// `buffer` holds `size` bytes: one full path, or the folder then each chosen name, every piece
// ended by a NUL and the whole by a second NUL. `paths` receives the full paths in the dialog's
// order; false (and `paths` empty) when the buffer holds no path or is not ended.
bool KZSplitFileSelection(const char* buffer, int size, KZTOArray<KZString>& paths);
// True when the answer runs to the buffer's end without its closing NULs: the names were cut.
bool KZFileSelectionCut(const char* buffer, int size);
