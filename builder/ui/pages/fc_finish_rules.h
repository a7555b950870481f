// The Finish page's window-free rule: the name its save dialogs propose.
#pragma once

#include "media/base/kz_string.h"

// The project file's name without folder and extension, followed by `extension` (".exe",
// ".scr"); empty for a project that has no file yet. Both "\" and "/" end a folder.
KZString FCExportFileName(const char* project_path, const char* extension);
