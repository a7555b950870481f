#include "builder/engine/fc_platform.h"

#include <windows.h>
#include <shellapi.h>

bool FCShellOpen(const char* path) {
    HINSTANCE result = ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
