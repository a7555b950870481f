// Temporary files that are cleaned up together. The registry is process-wide and not locked: it
// is used from the user-interface thread.
#pragma once

#include "media/base/kz_string.h"

// Creates "<folder><key %08X><counter %X><extension>" as a new empty file and gives its name; the
// key is the process id XOR 0x12DF6C15, the counter grows by one on every try. The names can be
// guessed, so the file is made exclusively and never through a link: a name another file or link
// already has is skipped. The folder is the temporary folder on Windows (the user's own) and, on
// POSIX, a folder of this process inside it with mode 0700, holding files of mode 0600. Empty when
// there is no temporary folder, no file can be made there, or memory runs out.
KZString MakeTempFileName(const char* extension = ".tmp");
// Remembers a copy of the path for DeleteTempFiles; false when memory runs out.
bool RegisterTempFile(const char* path);
// Deletes every registered file that exists, newest first. Entries whose file is gone or was
// deleted leave the list; entries whose deletion failed stay for a later call. Once the list is
// empty, the POSIX private folder goes too if nothing else is left in it.
void DeleteTempFiles();
// MakeTempFileName, then RegisterTempFile.
KZString CreateTempFile(const char* extension = ".tmp");

// Number of entries in the registry (for tests and diagnostics).
int GetRegisteredTempFileCount();
