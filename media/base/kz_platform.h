// What the platform files of the base library supply, besides the services of their own headers:
// kz_file_*.cpp (kz_file.h: opening, reading, writing, seeking, existence, deletion),
// kz_folder_*.cpp (kz_folder.h), kz_temp_file_*.cpp (the process id of the temporary names),
// kz_text_*.cpp (kz_text.h: the ANSI code page; the system names below), kz_thread_*.cpp
// (kz_thread.h), and kz_platform_*.cpp (below). Shared code asks these instead of testing the
// platform itself.
#pragma once

#include <cstdint>

#include "media/base/kz_string.h"

// The name the system's file calls take for a path held in the ANSI code page, and the way back
// for names the system gives (its folders, the program's path, the current folder). Windows'
// ANSI calls take the code page itself, so both copy; POSIX file names are UTF-8. Each replaces
// `out`; KZFromSystemName is false for a name with no ANSI form (see KZUtf8ToAnsi).
bool KZToSystemName(const char* path, KZString& out);
bool KZFromSystemName(const char* name, KZString& out);

// The year of the local calendar now.
int KZCurrentLocalYear();
// The last modification time of a file in seconds since 1970; 0 when it cannot be had.
int64_t KZFileModificationTime(const char* path);
// The line end of the platform's text files: "\r\n" on Windows, "\n" on POSIX.
const char* KZTextLineEnd();
// Both paths name one existing file as the file system compares them: through links, and
// ignoring letter case where the file system does (Windows). False when either is missing.
bool KZSameFile(const char* a, const char* b);
// The file a path leads to once every symbolic link on the way is followed, so that a save
// replaces that file and the link stays; the path itself when it is no link or leads nowhere.
KZString KZFollowLinks(const char* path);
// The file exists and its permissions (POSIX: no write bit for its owner) or attributes (Windows:
// read-only) say it is not to be written, whoever may write it anyway.
bool KZFileIsReadOnly(const char* path);
// Gives `to` the permission bits (POSIX) or attributes (Windows) of `from`; false when they could
// not be read or set.
bool KZCopyFilePermissions(const char* from, const char* to);
