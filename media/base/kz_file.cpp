// The file functions that need no platform code of their own.
#include "media/base/kz_file.h"

#include <climits>

#include "media/base/kz_memory.h"

bool KZFileOpensForRead(const char* path) {
    KZFile file = OpenFileForRead(path);
    if (!file)
        return false;
    CloseFile(file);
    return true;
}

KZString KZWithoutTrailingSeparators(const KZString& path) {
    int n = path.GetLength();
    while (n > 0 && (path[n - 1] == '\\' || path[n - 1] == '/'))
        n--;
    return KZString(path.c_str(), n);
}

int64_t GetFileLength(const char* path) {
    KZFile file = OpenFileForRead(path);
    if (!file)
        return -1;
    int64_t length = SeekFile(file, 0, KZ_SEEK_END);
    CloseFile(file);
    return length;
}

uint8_t* KZReadWholeFile(const char* path, int* out_length) {
    KZFile file = OpenFileForRead(path);
    if (!file)
        return nullptr;
    int64_t length = SeekFile(file, 0, KZ_SEEK_END);
    uint8_t* data = nullptr;
    if (length >= 0 && length < INT_MAX && SeekFile(file, 0, KZ_SEEK_SET) == 0) {
        data = static_cast<uint8_t*>(KZMalloc(size_t(length) + 1));
        if (data) {
            int n = length > 0 ? ReadFromFile(data, int(length), file) : 0;
            if (n != int(length)) {
                KZFree(data);
                data = nullptr;
            } else {
                data[length] = 0;
                if (out_length)
                    *out_length = int(length);
            }
        }
    }
    CloseFile(file);
    return data;
}

bool KZCopyFile(const char* from, const char* to) {
    KZFile source = OpenFileForRead(from);
    if (!source)
        return false;
    KZFile target = CreateFileForWrite(to);
    bool ok = target != nullptr;
    char block[65536];
    while (ok) {
        int n = ReadFromFile(block, int(sizeof block), source);
        if (n == 0)
            break;
        ok = WriteToFile(block, n, target) == n;
    }
    // A read error and the end of the file both give 0: the lengths tell them apart.
    if (ok)
        ok = SeekFile(source, 0, KZ_SEEK_END) == TellFile(target);
    CloseFile(source);
    CloseFile(target);
    if (!ok && target)
        KZDeleteFile(to);
    return ok;
}

bool KZWriteWholeFile(const char* path, const void* data, int length) {
    KZFile file = CreateFileForWrite(path);
    if (!file)
        return false;
    bool ok = length <= 0 || WriteToFile(data, length, file) == length;
    CloseFile(file);
    return ok;
}
