#include "media/base/kz_platform.h"

#include "media/base/kz_folder.h"

#include <cstring>
#include <ctime>
#include <windows.h>
#include <sys/stat.h>

int KZCurrentLocalYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local.tm_year + 1900;
}

int64_t KZFileModificationTime(const char* path) {
    struct _stat64 info;
    if (_stat64(path, &info) != 0)
        return 0;
    return int64_t(info.st_mtime);
}

const char* KZTextLineEnd() {
    return "\r\n";
}

namespace {

// The volume and the file's index on it; false when the file cannot be opened at all.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    // No access asked for and every sharing mode: a file another program holds open still
    // answers, and a folder opens with the backup flag.
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool ok = GetFileInformationByHandle(h, info) != 0;
    CloseHandle(h);
    return ok;
}

} // namespace

bool KZSameFile(const char* a, const char* b) {
    if (!a || !b || !*a || !*b)
        return false;
    if (GetFileAttributesA(a) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(b) == INVALID_FILE_ATTRIBUTES)
        return false;
    BY_HANDLE_FILE_INFORMATION first, second;
    if (FileIdentity(a, &first) && FileIdentity(b, &second))
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh &&
               first.nFileIndexLow == second.nFileIndexLow;
    // A file that will not open even without access: its full names, ignoring case.
    KZString full_a = KZFullPath(a), full_b = KZFullPath(b);
    return lstrcmpiA(full_a.c_str(), full_b.c_str()) == 0;
}

KZString KZFollowLinks(const char* path) {
    if (!path || !*path)
        return KZString(path);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return KZString(path);
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return KZString(path);
    char buffer[MAX_PATH * 4];
    DWORD n = GetFinalPathNameByHandleA(h, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    CloseHandle(h);
    if (n == 0 || n >= sizeof buffer)
        return KZString(path);
    // The final name comes as \\?\C:\...; the plain form is what the ANSI calls take.
    const char* plain = buffer;
    if (strncmp(plain, "\\\\?\\", 4) == 0 && plain[5] == ':')
        plain += 4;
    return KZString(plain);
}

bool KZFileIsReadOnly(const char* path) {
    if (!path || !*path)
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

bool KZCopyFilePermissions(const char* from, const char* to) {
    if (!from || !to)
        return false;
    DWORD attributes = GetFileAttributesA(from);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    // The attributes a file can be given; the others (compressed, reparse point ...) the file
    // system keeps for itself.
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD given = attributes & kept;
    return SetFileAttributesA(to, given ? given : FILE_ATTRIBUTE_NORMAL) != 0;
}
