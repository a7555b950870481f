#include "builder/engine/fc_platform.h"

#include <windows.h>

KZString FCProgramFolder() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return KZString();
    buffer[n] = '\0';
    int last = -1;
    for (DWORD i = 0; i < n; ++i)
        if (buffer[i] == '\\' || buffer[i] == '/')
            last = static_cast<int>(i);
    return KZString(buffer, last + 1);
}

bool FCReplaceFile(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

const char* FCDefaultCompilerName() {
    return "setup\\iscc.exe";
}
