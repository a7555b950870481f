// Files on POSIX: plain descriptors. Sharing needs nothing, POSIX does not lock files. Paths come
// in the ANSI code page and reach the system as its UTF-8 names.
#include "media/base/kz_file.h"

#include <cerrno>
#include <cstdio>
#include <new>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "media/base/kz_platform.h"

struct KZFileHandle {
    int fd;
};

namespace {
KZFile Wrap(int fd) {
    if (fd < 0)
        return nullptr;
    KZFile file = new (std::nothrow) KZFileHandle{fd};
    if (!file)
        close(fd);
    return file;
}

// The file system's name of a path; empty (which names no file) when there is none.
KZString SystemName(const char* path) {
    KZString name;
    if (!path || !*path || !KZToSystemName(path, name))
        return KZString();
    return name;
}
} // namespace

KZFile OpenFileForRead(const char* path) {
    KZString name = SystemName(path);
    if (name.IsEmpty())
        return nullptr;
    int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st;
        if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            close(fd);
            return nullptr;
        }
    }
    return Wrap(fd);
}

KZFile CreateFileForWrite(const char* path) {
    KZString name = SystemName(path);
    if (name.IsEmpty())
        return nullptr;
    return Wrap(open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

KZFile CreateNewFile(const char* path) {
    KZString name = SystemName(path);
    if (name.IsEmpty())
        return nullptr;
    // O_EXCL with O_CREAT fails on any name that is there, links too, and follows none.
    return Wrap(open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

void CloseFile(KZFile file) {
    if (!file)
        return;
    close(file->fd);
    delete file;
}

int ReadFromFile(void* buffer, int size, KZFile file) {
    if (!file || !buffer || size <= 0)
        return 0;
    int done = 0;
    while (done < size) {
        ssize_t n = read(file->fd, static_cast<char*>(buffer) + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += int(n);
    }
    return done;
}

int WriteToFile(const void* buffer, int size, KZFile file) {
    if (!file || !buffer || size <= 0)
        return 0;
    int done = 0;
    while (done < size) {
        ssize_t n = write(file->fd, static_cast<const char*>(buffer) + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0;
        done += int(n);
    }
    return done;
}

int64_t SeekFile(KZFile file, int64_t offset, int origin) {
    if (!file)
        return -1;
    int whence = origin == KZ_SEEK_CUR ? SEEK_CUR : origin == KZ_SEEK_END ? SEEK_END : SEEK_SET;
    off_t pos = lseek(file->fd, off_t(offset), whence);
    return pos < 0 ? -1 : int64_t(pos);
}

int64_t TellFile(KZFile file) {
    return SeekFile(file, 0, KZ_SEEK_CUR);
}

bool KZFileExists(const char* path) {
    KZString name = SystemName(path);
    struct stat st;
    return !name.IsEmpty() && stat(name, &st) == 0 && !S_ISDIR(st.st_mode);
}

bool KZNameTaken(const char* path) {
    KZString name = SystemName(path);
    struct stat st;
    return !name.IsEmpty() && lstat(name, &st) == 0;
}

bool KZIsLink(const char* path) {
    KZString name = SystemName(path);
    struct stat st;
    return !name.IsEmpty() && lstat(name, &st) == 0 && S_ISLNK(st.st_mode);
}

bool KZDeleteFile(const char* path) {
    KZString name = SystemName(path);
    return !name.IsEmpty() && unlink(name) == 0;
}

FILE* KZOpenCFile(const char* path, const char* mode) {
    KZString name = SystemName(path);
    return name.IsEmpty() || !mode ? nullptr : fopen(name, mode);
}
