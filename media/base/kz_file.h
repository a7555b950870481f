// File access. Paths are 8-bit strings of the ANSI code page on every platform: Windows' ANSI
// calls take them as they are, POSIX gets their UTF-8 names (Windows-1252 "D\xFCnen.swf" is the
// file "Dünen.swf"). Every function reports failure by a null handle, a count of 0 or -1.
#pragma once

#include <cstdint>
#include <cstdio>

#include "media/base/kz_string.h"

struct KZFileHandle;
typedef KZFileHandle* KZFile;

enum { KZ_SEEK_SET = 0, KZ_SEEK_CUR = 1, KZ_SEEK_END = 2 };

// An existing file, opened for reading; others may read it at the same time.
KZFile OpenFileForRead(const char* path);
// Creates or truncates a file for writing; others may read it at the same time.
KZFile CreateFileForWrite(const char* path);
// Creates a file that does not exist yet, for writing; others may read it. Null when anything is
// there already, a link of that name (even to nothing) included: a leftover or someone else's
// file is never truncated, and no link is followed.
KZFile CreateNewFile(const char* path);
void CloseFile(KZFile file); // null is ignored
// Bytes transferred; 0 on failure.
int ReadFromFile(void* buffer, int size, KZFile file);
int WriteToFile(const void* buffer, int size, KZFile file);
// New position, or -1.
int64_t SeekFile(KZFile file, int64_t offset, int origin);
int64_t TellFile(KZFile file);
// Size by opening for reading and seeking to the end; -1 when the file cannot be opened.
int64_t GetFileLength(const char* path);

// The file opens for reading (it is closed again at once).
bool KZFileOpensForRead(const char* path);
// A file (not a folder) of that name exists.
bool KZFileExists(const char* path);
// Anything of that name is there: a file, a folder, or a link (even one that leads nowhere).
bool KZNameTaken(const char* path);
// A symbolic link (or, on Windows, any reparse point) is there, whatever it leads to.
bool KZIsLink(const char* path);
// Deletes a file; false when it could not be deleted.
bool KZDeleteFile(const char* path);
// Reads a whole file into a block from KZMalloc (free with KZFree), NUL-terminated after the
// data; null when it cannot be read.
uint8_t* KZReadWholeFile(const char* path, int* out_length);
// Writes a whole file; false on any failure.
bool KZWriteWholeFile(const char* path, const void* data, int length);
// Copies a file's bytes over `to` (created or truncated); false on any failure, and then a
// partial `to` is deleted.
bool KZCopyFile(const char* from, const char* to);
// fopen for the libraries that take a C stream (a path of the ANSI code page); null on failure.
FILE* KZOpenCFile(const char* path, const char* mode);

// The path without the '\\' and '/' at its end.
KZString KZWithoutTrailingSeparators(const KZString& path);
