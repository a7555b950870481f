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
    KZString name;
    struct stat info;
    if (!path || !KZToSystemName(path, name) || stat(name, &info) != 0)
        return 0;
    return int64_t(info.st_mtime);
}

const char* KZTextLineEnd() {
    return "\n";
}
