#include "media/base/kz_platform.h"

#include "media/base/kz_folder.h"

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
