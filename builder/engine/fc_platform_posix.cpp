#include "builder/engine/fc_platform.h"

#include <cstdio>
#include <unistd.h>

KZString FCProgramFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return KZString();
    buffer[n] = '\0';
    int last = -1;
    for (int i = 0; i < n; ++i)
        if (buffer[i] == '/')
            last = i;
    return KZString(buffer, last + 1);
}

bool FCReplaceFile(const char* from, const char* to) {
    // rename() replaces the destination atomically on POSIX file systems.
    return std::rename(from, to) == 0;
}

const char* FCDefaultCompilerName() {
    return "setup/iscc";
}
