// The system's file dialogs as the wizard uses them.
#pragma once

#include <windows.h>

#include "media/base/kz_string.h"

// "A|b|c||" into the NUL-separated, double-NUL-terminated form of the file dialogs.
KZString KZDialogFilter(const char* text_with_bars);

// The open-file dialog over `owner` with a filter written with bars: the chosen path (its folder
// must exist), false when cancelled.
bool KZAskOpenFileName(HWND owner, const char* filter_with_bars, KZString& path);
