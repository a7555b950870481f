// Folders on Windows.
#include "media/base/kz_folder.h"

#include <windows.h>

namespace {
KZString WithBackslash(const char* path) {
    KZString result(path);
    if (!result.IsEmpty() && result[result.GetLength() - 1] != '\\')
        result.AppendChar('\\');
    return result;
}

typedef HRESULT(WINAPI* GetFolderPathFunction)(HWND, int, HANDLE, DWORD, LPSTR);
} // namespace

char KZPathSeparator() {
    return '\\';
}

KZString GetTempFolder() {
    char buffer[MAX_PATH + 2];
    DWORD n = GetTempPathA(sizeof(buffer), buffer);
    if (n == 0 || n >= sizeof(buffer))
        return KZString();
    return WithBackslash(buffer);
}

KZString GetWindowsFolder() {
    char buffer[300];
    UINT n = GetWindowsDirectoryA(buffer, sizeof(buffer));
    if (n == 0 || n >= sizeof(buffer))
        return KZString("C:\\Windows\\");
    return WithBackslash(buffer);
}

KZString GetSystemFolder() {
    char buffer[300];
    UINT n = GetSystemDirectoryA(buffer, sizeof(buffer));
    if (n == 0 || n >= sizeof(buffer)) {
        // The top bit of the version marks Windows 9x, whose system folder is "system".
        bool windows9x = (GetVersion() & 0x80000000u) != 0;
        return KZString(windows9x ? "C:\\Windows\\system\\" : "C:\\Windows\\system32\\");
    }
    return WithBackslash(buffer);
}

KZString GetSpecialFolder(int folder_id) {
    static HMODULE library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        library = LoadLibraryA("shfolder.dll");
    }
    if (!library)
        return KZString();
    GetFolderPathFunction get_folder_path = reinterpret_cast<GetFolderPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "SHGetFolderPathA")));
    if (!get_folder_path)
        get_folder_path = reinterpret_cast<GetFolderPathFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "SHGetFolderPath")));
    if (!get_folder_path)
        return KZString();
    char buffer[MAX_PATH + 2] = {0};
    if (FAILED(get_folder_path(nullptr, folder_id, nullptr, 0, buffer)) || !buffer[0])
        return KZString();
    return WithBackslash(buffer);
}

namespace {
bool FolderExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

bool KZCreateFolders(const char* path) {
    if (!path || !*path)
        return false;
    KZString copy(path);
    char* chars = copy.SetLength(copy.GetLength());
    if (!chars)
        return false;
    // Each folder from the top down, past the drive ("C:\") or the share ("\\server\share\").
    int start = 1;
    if (chars[0] == '\\' && chars[1] == '\\') {
        int separators = 0;
        for (start = 2; chars[start] && separators < 2; start++)
            if (chars[start] == '\\' || chars[start] == '/')
                separators++;
    }
    for (int i = start; chars[i]; i++) {
        if ((chars[i] != '\\' && chars[i] != '/') || chars[i - 1] == ':')
            continue;
        char separator = chars[i];
        chars[i] = '\0';
        if (!FolderExists(chars))
            CreateDirectoryA(chars, nullptr);
        chars[i] = separator;
    }
    if (!FolderExists(chars))
        CreateDirectoryA(chars, nullptr);
    return FolderExists(chars);
}

bool KZFolderExists(const char* path) {
    return path && *path && FolderExists(path);
}

KZString KZFullPath(const char* path) {
    if (!path)
        return KZString();
    char buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path, sizeof(buffer), buffer, nullptr);
    if (n == 0 || n >= sizeof(buffer))
        return KZString();
    return KZString(buffer, int(n));
}
