// Resource numbers of scrkit.exe, shared by scrkit.rc and the code.
#pragma once

#define IDI_APPLICATION_ICON 128
#define IDS_APPLICATION_TITLE 1
#define IDC_POINTING_HAND 11002

// Step commands and their tooltip strings (each text twice, separated by a line break).
#define IDS_STEP_FIRST 200
#define IDS_STEP_LAST 211

// Pictures, "PNG" resources.
#define IDB_SPLASH_PNG 121
#define IDB_BIG_NEW_PNG 123
#define IDB_BIG_OPEN_PNG 104
#define IDB_BIG_RECENT_PNG 124
#define IDB_STEP_START_PNG 110
#define IDB_STEP_SETUP_PNG 132
#define IDB_STEP_STYLE_PNG 119
#define IDB_STEP_PLAYBACK_PNG 131
#define IDB_STEP_SETTINGS_PNG 133
#define IDB_STEP_FILES_PNG 130
#define IDB_STEP_MENU_PNG 118
#define IDB_STEP_POST_PNG 134
#define IDB_STEP_FINISH_PNG 117

// Embedded programs and pictures, "BIN" resources.
#define IDR_STUB_EXE 126
#define IDR_LAUNCHER_EXE 127
#define IDR_WIZARD_IMAGE 128
#define IDR_WIZARD_SMALL_IMAGE 129
