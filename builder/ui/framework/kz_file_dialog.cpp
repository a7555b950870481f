#include "builder/ui/framework/kz_file_dialog.h"

#include <commdlg.h>

KZString KZDialogFilter(const char* text_with_bars) {
    KZString filter(text_with_bars);
    char* chars = filter.GetBuffer();
    for (int i = 0; chars && i < filter.GetLength(); ++i) {
        if (chars[i] == '|')
            chars[i] = '\0';
    }
    return filter;
}

bool KZAskOpenFileName(HWND owner, const char* filter_with_bars, KZString& path) {
    char file[MAX_PATH] = "";
    KZString filter = KZDialogFilter(filter_with_bars);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.Flags = OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&dialog))
        return false;
    path = file;
    return true;
}
