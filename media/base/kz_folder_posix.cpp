// Folders on POSIX: the temporary folder is real; the Windows folders are stand-ins under $HOME
// (see kz_folder.h).
#include "media/base/kz_folder.h"

#include <cstdlib>

namespace {
KZString WithSlash(const char* path) {
    KZString result(path);
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
    path.Append(rest);
    return path;
}

KZString FromEnvironment(const char* variable, const char* fallback_under_home) {
    const char* value = getenv(variable);
    if (value && *value == '/')
        return WithSlash(value);
    return UnderHome(fallback_under_home);
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
