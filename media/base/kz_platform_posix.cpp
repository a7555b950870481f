#include "media/base/kz_platform.h"

#include <ctime>
#include <sys/stat.h>

int KZCurrentLocalYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

int64_t KZFileModificationTime(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0)
        return 0;
    return int64_t(info.st_mtime);
}

const char* KZTextLineEnd() {
    return "\n";
}
