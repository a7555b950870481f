#include "builder/engine/fc_platform.h"

#include <cstdio>
#include <unistd.h>

#include "media/base/kz_platform.h"

KZString FCProgramFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return KZString();
    int last = -1;
    for (int i = 0; i < n; ++i)
        if (buffer[i] == '/')
            last = i;
    buffer[last + 1] = '\0';
    // A folder with no name in the ANSI code page is one the engine cannot name: unknown.
    KZString folder;
    if (!KZFromSystemName(buffer, folder))
        return KZString();
    return folder;
}

bool FCReplaceFile(const char* from, const char* to) {
    KZString from_name, to_name;
    if (!from || !to || !KZToSystemName(from, from_name) || !KZToSystemName(to, to_name))
        return false;
    // rename() replaces the destination atomically on POSIX file systems.
    return std::rename(from_name, to_name) == 0;
}

const char* FCDefaultCompilerName() {
    return "setup/iscc";
}
