// Folders on POSIX: the temporary folder is real; the Windows folders are stand-ins under $HOME
// (see kz_folder.h). The environment's names are UTF-8 and come back in the ANSI code page.
#include "media/base/kz_folder.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "media/base/kz_platform.h"

namespace {
// A system folder's name in the ANSI code page with its slash; empty when it has no such name.
KZString WithSlash(const char* name) {
    KZString result;
    if (!KZFromSystemName(name, result))
        return KZString();
    if (!result.IsEmpty() && result[result.GetLength() - 1] != '/')
        result.AppendChar('/');
    return result;
}

KZString Home() {
    const char* home = getenv("HOME");
    return WithSlash(home && *home ? home : "/tmp");
}

KZString UnderHome(const char* rest) {
    KZString path = Home();
    if (path.IsEmpty())
        return path;
    path.Append(rest);
    return path;
}

KZString FromEnvironment(const char* variable, const char* fallback_under_home) {
    const char* value = getenv(variable);
    if (value && *value == '/')
        return WithSlash(value);
    return UnderHome(fallback_under_home);
}

bool SystemFolderExists(const char* name) {
    struct stat st;
    return stat(name, &st) == 0 && S_ISDIR(st.st_mode);
}
} // namespace

char KZPathSeparator() {
    return '/';
}

KZString GetTempFolder() {
    const char* dir = getenv("TMPDIR");
    return WithSlash(dir && *dir ? dir : "/tmp");
}

KZString GetWindowsFolder() {
    return UnderHome(".scrkit/windows/");
}

KZString GetSystemFolder() {
    return UnderHome(".scrkit/windows/system32/");
}

KZString GetSpecialFolder(int folder_id) {
    switch (folder_id) {
    case KZ_CSIDL_PERSONAL:
        return Home();
    case KZ_CSIDL_DESKTOP:
    case KZ_CSIDL_DESKTOPDIRECTORY:
        return UnderHome("Desktop/");
    case KZ_CSIDL_APPDATA:
        return FromEnvironment("XDG_CONFIG_HOME", ".config/");
    case KZ_CSIDL_LOCAL_APPDATA:
        return FromEnvironment("XDG_DATA_HOME", ".local/share/");
    case KZ_CSIDL_COMMON_APPDATA:
        return UnderHome(".scrkit/common/");
    case KZ_CSIDL_PROGRAM_FILES:
        return UnderHome(".scrkit/programs/");
    case KZ_CSIDL_WINDOWS:
        return GetWindowsFolder();
    case KZ_CSIDL_SYSTEM:
        return GetSystemFolder();
    default:
        return KZString();
    }
}

bool KZCreateFolders(const char* path) {
    KZString name;
    if (!path || !*path || !KZToSystemName(path, name))
        return false;
    // Each folder from the top down; one that is there already is fine.
    char* chars = name.SetLength(name.GetLength());
    if (!chars)
        return false;
    for (int i = 1; chars[i]; i++) {
        if (chars[i] != '/')
            continue;
        chars[i] = '\0';
        if (mkdir(chars, 0777) != 0 && errno != EEXIST) {
            chars[i] = '/';
            return false;
        }
        chars[i] = '/';
    }
    if (mkdir(chars, 0777) != 0 && errno != EEXIST)
        return false;
    return SystemFolderExists(chars);
}

bool KZFolderExists(const char* path) {
    KZString name;
    return path && *path && KZToSystemName(path, name) && SystemFolderExists(name);
}

KZString KZFullPath(const char* path) {
    if (!path)
        return KZString();
    if (*path == '/')
        return KZString(path);
    char* current = getcwd(nullptr, 0);
    KZString full = current ? WithSlash(current) : KZString();
    free(current);
    if (full.IsEmpty())
        return full;
    full.Append(path);
    return full;
}
