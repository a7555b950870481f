#include "media/base/kz_platform.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

int KZCurrentLocalYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

int64_t KZFileModificationTime(const char* path) {
    KZString name;
    struct stat info;
    if (!path || !KZToSystemName(path, name) || stat(name, &info) != 0)
        return 0;
    return int64_t(info.st_mtime);
}

const char* KZTextLineEnd() {
    return "\n";
}

bool KZSameFile(const char* a, const char* b) {
    if (!a || !b || !*a || !*b)
        return false;
    KZString name_a, name_b;
    if (!KZToSystemName(a, name_a) || !KZToSystemName(b, name_b))
        return false;
    // stat follows links: a link and its target are one file, as are two hard links.
    struct stat first, second;
    if (stat(name_a, &first) != 0 || stat(name_b, &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

KZString KZFollowLinks(const char* path) {
    KZString name, back;
    if (!path || !KZToSystemName(path, name))
        return KZString(path);
    struct stat info;
    if (lstat(name, &info) != 0 || !S_ISLNK(info.st_mode))
        return KZString(path);
    char* resolved = realpath(name, nullptr);
    bool named = resolved && KZFromSystemName(resolved, back);
    free(resolved);
    return named ? back : KZString(path);
}

bool KZFileIsReadOnly(const char* path) {
    KZString name;
    struct stat info;
    return path && KZToSystemName(path, name) && stat(name, &info) == 0 &&
           !(info.st_mode & S_IWUSR);
}

bool KZCopyFilePermissions(const char* from, const char* to) {
    KZString from_name, to_name;
    struct stat info;
    return from && to && KZToSystemName(from, from_name) && KZToSystemName(to, to_name) &&
           stat(from_name, &info) == 0 && chmod(to_name, info.st_mode & 07777) == 0;
}
