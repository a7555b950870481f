// Files on Windows: Win32 handles with shared reading.
#include "media/base/kz_file.h"

#include <windows.h>

namespace {
KZFile FromHandle(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<KZFile>(h);
}
HANDLE ToHandle(KZFile file) {
    return reinterpret_cast<HANDLE>(file);
}
} // namespace

KZFile OpenFileForRead(const char* path) {
    if (!path || !*path)
        return nullptr;
    return FromHandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

KZFile CreateFileForWrite(const char* path) {
    if (!path || !*path)
        return nullptr;
    return FromHandle(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

KZFile CreateNewFile(const char* path) {
    if (!path || !*path)
        return nullptr;
    // CREATE_NEW fails on any name that is there, a link included.
    return FromHandle(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

void CloseFile(KZFile file) {
    if (file)
        CloseHandle(ToHandle(file));
}

int ReadFromFile(void* buffer, int size, KZFile file) {
    if (!file || !buffer || size <= 0)
        return 0;
    DWORD done = 0;
    if (!ReadFile(ToHandle(file), buffer, DWORD(size), &done, nullptr))
        return 0;
    return int(done);
}

int WriteToFile(const void* buffer, int size, KZFile file) {
    if (!file || !buffer || size <= 0)
        return 0;
    DWORD done = 0;
    if (!WriteFile(ToHandle(file), buffer, DWORD(size), &done, nullptr))
        return 0;
    return int(done);
}

int64_t SeekFile(KZFile file, int64_t offset, int origin) {
    if (!file)
        return -1;
    DWORD method = origin == KZ_SEEK_CUR   ? FILE_CURRENT
                   : origin == KZ_SEEK_END ? FILE_END
                                           : FILE_BEGIN;
    LARGE_INTEGER distance, position;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(ToHandle(file), distance, &position, method))
        return -1;
    return int64_t(position.QuadPart);
}

int64_t TellFile(KZFile file) {
    return SeekFile(file, 0, KZ_SEEK_CUR);
}

bool KZFileExists(const char* path) {
    if (!path || !*path)
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool KZNameTaken(const char* path) {
    return path && *path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool KZIsLink(const char* path) {
    if (!path || !*path)
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool KZDeleteFile(const char* path) {
    return path && *path && DeleteFileA(path) != 0;
}

FILE* KZOpenCFile(const char* path, const char* mode) {
    return path && *path && mode ? fopen(path, mode) : nullptr;
}
