// The settings dialog: the credits text or the author's picture, the sound check box and the
// quality list, each offered only when the author allowed it.
#include "runtime/settings_dialog.h"

#include "runtime/core/qvrk_stored_settings_key.h"
#include "runtime/movie_host.h"
#include "runtime/payload_loader.h"
#include "runtime/runtime_config.h"
#include "runtime/saverengine_resources.h"
#include "runtime/system_hooks.h"

namespace {

enum {
    kPictureFrame = SETTINGS_PICTURE_FRAME,
    kSoundBox = SETTINGS_SOUND_BOX,
    kQualityList = SETTINGS_QUALITY_LIST,
    kOptionsGroup = SETTINGS_OPTIONS_GROUP,
    kQualityLabel = SETTINGS_QUALITY_LABEL,
    kCreditsText = SETTINGS_CREDITS_TEXT,
};

MovieHost* g_dialog_host;
HFONT g_dialog_font;

// A child's window rectangle in the dialog's client coordinates.
RECT ChildRect(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, (POINT*)&rect, 2);
    return rect;
}

void MoveChild(HWND dialog, int id, int x, int y) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
void SizeChild(HWND dialog, int id, int width, int height) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}
void HideChild(HWND dialog, int id) {
    ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
}

// Grows the dialog by dx, dy and centres it on the work area; it never starts off screen.
void PlaceDialog(HWND dialog, int dx, int dy) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    int width = rect.right - rect.left + dx, height = rect.bottom - rect.top + dy;
    int x = (GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYFULLSCREEN) - height) / 2;
    MoveWindow(dialog, x < 0 ? 0 : x, y < 0 ? 0 : y, width, height, TRUE);
}

void ShowPicture(HWND dialog, int* dy) {
    RuntimeConfig* config = g_config;
    EmbeddedItem* picture = config->settings_file;
    HideChild(dialog, kCreditsText);
    HWND frame = GetDlgItem(dialog, kPictureFrame);
    RECT frame_rect = ChildRect(dialog, kPictureFrame);
    int frame_width = frame_rect.right - frame_rect.left;
    int dx = picture->width - frame_width;
    if (dx < 0)
        dx = 0;
    *dy = picture->height - (frame_rect.bottom - frame_rect.top);
    SizeChild(dialog, kPictureFrame, picture->width, picture->height);
    RECT group = ChildRect(dialog, kOptionsGroup);
    SizeChild(dialog, kOptionsGroup, picture->width > frame_width ? picture->width : frame_width,
              group.bottom - group.top);
    PlaceDialog(dialog, dx, *dy);

    WNDCLASSA window_class = {};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = g_instance;
    window_class.lpszClassName = "_qvrt_class";
    if (!RegisterClassA(&window_class))
        return;
    RECT client;
    GetClientRect(frame, &client);
    MovieHost* host = new MovieHost(g_instance, frame);
    if (host && !host->CreateHostWindow("_qvrt_class", 0, 0, client.right, client.bottom)) {
        delete host;
        host = nullptr;
    }
    g_dialog_host = host;
    if (ExtractAllItems(config) && host)
        host->ShowMovie(picture->extracted_path, picture->width, picture->height,
                        config->background_color, picture->size_mode, picture->quality);
}

int CALLBACK FoundFont(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *(bool*)found = true;
    return 0;
}

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageA(child, WM_SETFONT, (WPARAM)font, TRUE);
    return TRUE;
}

void InitialiseDialog(HWND dialog) {
    RuntimeConfig* config = g_config;
    if (config->screensaver_name[0])
        SetWindowTextA(dialog, config->screensaver_name);
    int dy = 0;
    if (config->settings_file) {
        ShowPicture(dialog, &dy);
    } else {
        HideChild(dialog, kPictureFrame);
        SetDlgItemTextA(dialog, kCreditsText, config->credits_text);
        PlaceDialog(dialog, 0, 0);
    }

    if (config->sound_option_shown) {
        CheckDlgButton(dialog, kSoundBox, config->sound != 0 ? BST_CHECKED : BST_UNCHECKED);
        SetMasterMute(config->sound == 0, nullptr);
    } else {
        HideChild(dialog, kSoundBox);
    }
    SetDlgItemTextA(dialog, kSoundBox, config->sound_label);

    if (config->quality_option_shown) {
        for (int i = 0; i < 3; ++i)
            SendDlgItemMessageA(dialog, kQualityList, CB_ADDSTRING, 0,
                                (LPARAM)config->quality_names[i]);
        SendDlgItemMessageA(dialog, kQualityList, CB_SETCURSEL, (WPARAM)config->quality, 0);
        SetDlgItemTextA(dialog, kQualityLabel, config->quality_label);
    } else {
        HideChild(dialog, kQualityList);
        HideChild(dialog, kQualityLabel);
        if (config->sound_option_shown) {
            RECT label = ChildRect(dialog, kQualityLabel);
            RECT sound = ChildRect(dialog, kSoundBox);
            MoveChild(dialog, kSoundBox, label.left, sound.top);
        } else {
            HideChild(dialog, kOptionsGroup);
            RECT group = ChildRect(dialog, kOptionsGroup);
            RECT rect;
            GetWindowRect(dialog, &rect);
            SetWindowPos(dialog, nullptr, 0, 0, rect.right - rect.left,
                         rect.bottom - rect.top - (group.bottom - group.top),
                         SWP_NOMOVE | SWP_NOZORDER);
        }
    }

    static const int kPushedDown[4] = {kOptionsGroup, kSoundBox, kQualityLabel, kQualityList};
    for (int id : kPushedDown) {
        RECT rect = ChildRect(dialog, id);
        MoveChild(dialog, id, rect.left, rect.top + dy);
    }

    LOGFONTA wanted = {};
    wanted.lfCharSet = ANSI_CHARSET;
    lstrcpyA(wanted.lfFaceName, "tahoma");
    bool found = false;
    HDC dc = GetDC(dialog);
    EnumFontFamiliesExA(dc, &wanted, FoundFont, (LPARAM)&found, 0);
    ReleaseDC(dialog, dc);
    if (found) {
        g_dialog_font = CreateFontA(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, PROOF_QUALITY,
                                    VARIABLE_PITCH | FF_SWISS, "tahoma");
        if (g_dialog_font)
            EnumChildWindows(dialog, SetChildFont, (LPARAM)g_dialog_font);
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    RuntimeConfig* config = g_config;
    if (message == WM_INITDIALOG) {
        InitialiseDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wparam)) {
    case kSoundBox:
        if (config->sound_option_shown) {
            int sound = IsDlgButtonChecked(dialog, kSoundBox) == BST_CHECKED ? 1 : 0;
            if (sound != config->sound) {
                config->sound = sound;
                SetMasterMute(sound == 0, nullptr);
            }
        }
        return TRUE;
    case kQualityList:
        if (HIWORD(wparam) == CBN_SELCHANGE && config->quality_option_shown)
            config->quality =
                (int32_t)SendDlgItemMessageA(dialog, kQualityList, CB_GETCURSEL, 0, 0);
        return TRUE;
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

void SettingsKeyPath(const RuntimeConfig* config, char* path) {
    qvrk_stored_settings_key(config->company_name, config->screensaver_name, path,
                             kSettingsKeyPathSize);
}

void ShowSettingsDialog(HWND owner) {
    RuntimeConfig* config = g_config;
    bool muted = false, mute_read = false;
    if (config->sound_option_shown)
        mute_read = GetMasterMute(&muted);
    DialogBoxParamA(g_instance, MAKEINTRESOURCEA(SETTINGS_DIALOG), owner, SettingsDialogProc, 0);
    if (mute_read && config->sound_option_shown)
        SetMasterMute(muted, nullptr);
    delete g_dialog_host;
    g_dialog_host = nullptr;
    if (g_dialog_font)
        DeleteObject(g_dialog_font);
    g_dialog_font = nullptr;
}

// A value counts only as a 4-byte REG_DWORD.
static bool ReadDword(HKEY key, const char* name, DWORD* value) {
    DWORD type = 0, size = sizeof(*value);
    return RegQueryValueExA(key, name, nullptr, &type, (BYTE*)value, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof(*value);
}

void ReadStoredSettings(RuntimeConfig* config) {
    char path[kSettingsKeyPathSize];
    SettingsKeyPath(config, path);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD value;
    if (ReadDword(key, "Sound", &value))
        config->sound = value != 0 ? 1 : 0;
    if (ReadDword(key, "Quality", &value))
        config->quality = value <= 2 ? (int32_t)value : -1;
    RegCloseKey(key);
}

void WriteStoredSettings(RuntimeConfig* config) {
    char path[kSettingsKeyPathSize];
    SettingsKeyPath(config, path);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD value;
    if (config->sound != -1) {
        value = config->sound != 0 ? 1 : 0;
        RegSetValueExA(key, "Sound", 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    }
    if (config->quality != -1) {
        value = (DWORD)config->quality;
        RegSetValueExA(key, "Quality", 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    }
    RegCloseKey(key);
}
