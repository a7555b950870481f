#include "builder/ui/framework/kz_file_selection.h"

#include <cstring>

namespace {

// Length of the piece at `at`, or -1 when no NUL ends it inside the buffer.
int PieceLength(const char* buffer, int size, int at) {
    const void* end = memchr(buffer + at, '\0', (size_t)(size - at));
    return end ? (int)((const char*)end - (buffer + at)) : -1;
}

} // namespace

bool KZSplitFileSelection(const char* buffer, int size, KZTOArray<KZString>& paths) {
    paths.RemoveAll();
    if (!buffer || size <= 0)
        return false;
    int folder_length = PieceLength(buffer, size, 0);
    if (folder_length <= 0)
        return false;
    KZString folder(buffer, folder_length);
    int at = folder_length + 1;
    bool ended = false;
    KZTOArray<KZString> names;
    while (at < size) {
        int length = PieceLength(buffer, size, at);
        if (length < 0)
            break;
        if (length == 0) {
            ended = true;
            break;
        }
        names.Add(KZString(buffer + at, length));
        at += length + 1;
    }
    if (!ended)
        return false;
    if (names.GetCount() == 0)
        return paths.Add(folder); // a single file comes as its full path
    // A drive's root already ends with its backslash.
    const char* separator = folder[folder_length - 1] == '\\' ? "" : "\\";
    for (int i = 0; i < names.GetCount(); ++i) {
        KZString path = folder;
        path += separator;
        path += names[i];
        if (!paths.Add(path)) {
            paths.RemoveAll();
            return false;
        }
    }
    return true;
}

bool KZFileSelectionCut(const char* buffer, int size) {
    if (!buffer || size <= 0 || buffer[0] == '\0')
        return false;
    for (int i = 0; i + 1 < size; ++i) {
        if (buffer[i] == '\0' && buffer[i + 1] == '\0')
            return false;
    }
    return true;
}
