// The system's file dialogs as the wizard uses them.
#pragma once

#include <windows.h>

#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

// "A|b|c||" into the NUL-separated, double-NUL-terminated form of the file dialogs.
KZString KZDialogFilter(const char* text_with_bars);

// The open-file dialog over `owner` with a filter written with bars: the chosen path (its folder
// must exist), false when cancelled.
bool KZAskOpenFileName(HWND owner, const char* filter_with_bars, KZString& path);

// The save-file dialog over `owner` (read-only box hidden, overwrite asked, folder must exist),
// proposing `path`'s name: the chosen path, false when cancelled.
bool KZAskSaveFileName(HWND owner, const char* filter_with_bars, const char* default_extension,
                       KZString& path);

enum KZOpenFilesResult {
    KZ_OPEN_FILES_CANCELLED,
    KZ_OPEN_FILES_CHOSEN,
    KZ_OPEN_FILES_TOO_MANY, // the chosen names did not fit in the buffer
};

// The multiple-selection open-file dialog (folders must exist) with a buffer of `buffer_size`
// bytes for the chosen names: on KZ_OPEN_FILES_CHOSEN `paths` holds the full paths in the
// dialog's order, otherwise it is left as it was.
KZOpenFilesResult KZAskOpenFileNames(HWND owner, const char* filter_with_bars, int buffer_size,
                                     KZTOArray<KZString>& paths);
