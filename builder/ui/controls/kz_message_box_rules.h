// What a message box of given Windows type flags shows: buttons with command ids and label keys
// (low four bits), icon (bits 4 to 7), default button (bits 8 to 11), topmost (bit 18), and the
// answer of Escape. No windows here.
#pragma once

enum KZMessageBoxIcon {
    KZ_MB_ICON_NONE = 0,
    KZ_MB_ICON_STOP = 1,
    KZ_MB_ICON_QUESTION = 2,
    KZ_MB_ICON_EXCLAMATION = 3,
    KZ_MB_ICON_INFORMATION = 4,
};

struct KZMessageBoxButton {
    int command_id;        // IDOK 1, IDCANCEL 2, IDABORT 3, IDRETRY 4, IDIGNORE 5, IDYES 6, IDNO 7
    const char* label_key; // English key of KZGUIStringTable
};

struct KZMessageBoxLayout {
    int button_count; // 1 to 3
    KZMessageBoxButton buttons[3];
    int icon;          // KZMessageBoxIcon
    int default_index; // index into buttons
    bool topmost;
    int escape_id; // command id that Escape answers; 0 when Escape does nothing
};

KZMessageBoxLayout KZGetMessageBoxLayout(unsigned type);

// The application's rule before showing a box: types without icon bits whose buttons are OK,
// OK/Cancel, Yes/No/Cancel or Yes/No get the exclamation icon.
unsigned KZAddDefaultMessageBoxIcon(unsigned type);
