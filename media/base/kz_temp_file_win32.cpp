// Temporary files on Windows: the user's own temporary folder, files made with CREATE_NEW.
#include <windows.h>

#include "media/base/kz_folder.h"
#include "media/base/kz_string.h"

unsigned KZGetProcessId() {
    return unsigned(GetCurrentProcessId());
}

KZString KZTempFilesFolder() {
    return GetTempFolder();
}

int KZCreatePrivateFile(const char* path) {
    // CREATE_NEW fails on any existing name; with FILE_FLAG_OPEN_REPARSE_POINT a planted link is
    // such a name itself instead of leading to its target.
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? 0 : -1;
    }
    CloseHandle(h);
    return 1;
}

void KZRemoveEmptyTempFilesFolder() {}
