#include "builder/engine/fc_platform.h"

// There is no shell viewer to ask on POSIX: callers print the report's path instead.
bool FCShellOpen(const char* path) {
    return false;
}
