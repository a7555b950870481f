// A plain version of the settings dialog: the template with the screensaver's name as caption.
#include "runtime/settings_dialog.h"

#include "runtime/runtime_config.h"

static INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (g_config->screensaver_name[0])
            SetWindowTextA(dialog, g_config->screensaver_name);
        SetDlgItemTextA(dialog, 1203, g_config->credits_text);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

void ShowSettingsDialog(HWND owner) {
    DialogBoxParamA(g_instance, MAKEINTRESOURCEA(245), owner, SettingsDialogProc, 0);
}

void ReadStoredSettings(RuntimeConfig*) {}

void WriteStoredSettings(RuntimeConfig*) {}
