// The Installation Files page's window-free rules: a file list as its edit shows it and back.
#pragma once

#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

// The entries joined by ";", none after the last.
KZString FCJoinFileList(const KZTOArray<KZString>& list);
// `list` emptied, then every piece of `text` between ";" appended in order, empty pieces skipped;
// false when memory ran out.
bool FCSplitFileList(const char* text, KZTOArray<KZString>& list);
// True when both lists hold the same entries in the same order.
bool FCSameFileList(const KZTOArray<KZString>& a, const KZTOArray<KZString>& b);
