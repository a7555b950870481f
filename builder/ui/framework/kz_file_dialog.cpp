#include "builder/ui/framework/kz_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "builder/ui/framework/kz_file_selection.h"

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

bool KZAskSaveFileName(HWND owner, const char* filter_with_bars, const char* default_extension,
                       KZString& path) {
    char file[MAX_PATH] = "";
    lstrcpynA(file, path, sizeof(file));
    KZString filter = KZDialogFilter(filter_with_bars);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.lpstrDefExt = default_extension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialog))
        return false;
    path = file;
    return true;
}

KZOpenFilesResult KZAskOpenFileNames(HWND owner, const char* filter_with_bars, int buffer_size,
                                     KZTOArray<KZString>& paths) {
    std::vector<char> names((size_t)(buffer_size > 2 ? buffer_size : 2), '\0');
    KZString filter = KZDialogFilter(filter_with_bars);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = (DWORD)names.size();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    if (!GetOpenFileNameA(&dialog))
        return CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? KZ_OPEN_FILES_TOO_MANY
                                                              : KZ_OPEN_FILES_CANCELLED;
    // Some dialogs answer OK with the names cut at the buffer's end instead of the error.
    KZTOArray<KZString> chosen;
    if (!KZSplitFileSelection(names.data(), (int)names.size(), chosen))
        return KZFileSelectionCut(names.data(), (int)names.size()) ? KZ_OPEN_FILES_TOO_MANY
                                                                   : KZ_OPEN_FILES_CANCELLED;
    paths.RemoveAll();
    for (int i = 0; i < chosen.GetCount(); ++i)
        paths.Add(chosen[i]);
    return KZ_OPEN_FILES_CHOSEN;
}
