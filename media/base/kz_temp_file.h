// Temporary files that are cleaned up together. The registry is process-wide and not locked: it
// is used from the user-interface thread.
#pragma once

#include "media/base/kz_string.h"

// "<temporary folder><key %08X><counter %X>.tmp" for a name no file has yet; the key is the process
// id XOR 0x12DF6C15, the counter grows by one on every call. Empty when there is no temporary
// folder or memory runs out.
KZString MakeTempFileName();
// Remembers a copy of the path for DeleteTempFiles; false when memory runs out.
bool RegisterTempFile(const char* path);
// Deletes every registered file that exists, newest first. Entries whose file is gone or was
// deleted leave the list; entries whose deletion failed stay for a later call.
void DeleteTempFiles();
// MakeTempFileName, then RegisterTempFile. The file itself is not created.
KZString CreateTempFile();

// Number of entries in the registry (for tests and diagnostics).
int GetRegisteredTempFileCount();
