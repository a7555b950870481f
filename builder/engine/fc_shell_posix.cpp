#include "builder/engine/fc_installer_build.h"

// There is no shell viewer to ask on POSIX: callers print the report's path instead.
bool FCShellOpen(const char* path) {
    return false;
}
