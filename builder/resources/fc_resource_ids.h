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
// The Start page's big buttons: Open Existing Project, Start from a New Flash Movie, New Empty
// Project.
#define IDB_BIG_OPEN_PNG 123
#define IDB_BIG_MOVIE_PNG 104
#define IDB_BIG_NEW_PNG 124
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

// The main frame (icon and title) and the About box.
#define IDR_MAINFRAME 128
#define IDD_ABOUT 100
#define IDC_ABOUT_LINK 1002
#define IDC_ABOUT_IMAGE 1229

// The view's buttons and separator.
#define IDC_PREV_STEP 102
#define IDC_NEXT_STEP 103
#define IDC_VIEW_SEPARATOR 131

// The nine pages' dialog templates.
#define IDD_STEP_START 140
#define IDD_STEP_SETUP 249
#define IDD_STEP_STYLE 139
#define IDD_STEP_PLAYBACK 250
#define IDD_STEP_SETTINGS 251
#define IDD_STEP_FILES 252
#define IDD_STEP_MENU 5101
#define IDD_STEP_POST 253
#define IDD_STEP_FINISH 151

// Section headers of the pages.
#define IDC_HEADER_START 1201
#define IDC_HEADER_TITLES 1308
#define IDC_HEADER_INSTALL_DIR 1310
#define IDC_HEADER_MISC 1311
#define IDC_HEADER_STYLE 1405
#define IDC_HEADER_SWF_MOVIE 1306
#define IDC_HEADER_SOUND 1197
#define IDC_HEADER_QUALITY 1198
#define IDC_HEADER_BACKGROUND 1400
#define IDC_HEADER_SIZE 1401
#define IDC_HEADER_WAKE_UP 1402
#define IDC_HEADER_SETTINGS_DIALOG 1307
#define IDC_HEADER_LICENSE 1309
#define IDC_HEADER_README 1197
#define IDC_HEADER_ADDITIONAL 1198
#define IDC_HEADER_TESTING 1199
#define IDC_HEADER_EXPORTING 1200
#define IDC_HEADER_SAVING 1202
#define IDC_START_TITLE 1021
#define IDC_START_MOVIE 1017
#define IDC_START_PROJECT 1025
#define IDC_START_BLANK 1027
#define IDC_START_REOPEN 1195
#define IDC_START_CAPTION_FIRST 1196 // 1196 to 1198: the captions of the three big buttons
#define IDC_START_CAPTION_LAST 1198

// The Setup Parameters page.
#define IDC_SETUP_DISABLE_STARTUP 1016 // 1016 to 1020: the five Disable boxes
#define IDC_SETUP_DISABLE_DIR 1017
#define IDC_SETUP_DISABLE_GROUP 1018
#define IDC_SETUP_DISABLE_READY 1019
#define IDC_SETUP_DISABLE_FINISHED 1020
#define IDC_SETUP_INSTALL_DIR 1259
#define IDC_SETUP_COMPANY 1260
#define IDC_SETUP_COPYRIGHT 1261
#define IDC_SETUP_URL 1263
#define IDC_SETUP_PASSWORD 1264
#define IDC_SETUP_VERSION 1257
#define IDC_SETUP_SHORT_NAME 1278
#define IDC_SETUP_DIR_PREVIEW 1279
#define IDC_SETUP_CUSTOM_DIR 1280
#define IDC_SETUP_LONG_NAME 1281
#define IDC_SETUP_CUSTOM_COPYRIGHT 1282
#define IDC_SETUP_PASSWORD_ENABLED 1283
#define IDC_SETUP_TEST_URL 1291
#define IDC_SETUP_LANGUAGE 1304

// The Setup Style page.
#define IDC_STYLE_CUSTOM_SMALL 1293
#define IDC_STYLE_SMALL_PATH 1291
#define IDC_STYLE_SMALL_BROWSE 1294
#define IDC_STYLE_PREVIEW 1406
#define IDC_STYLE_SMALL_PREVIEW 1407
#define IDC_STYLE_CUSTOM 1408
#define IDC_STYLE_PATH 1409
#define IDC_STYLE_BROWSE 1410

// Texts of the frame and the application.
#define IDS_SAVE_CHANGES 400 // "Save changes to %s ?"
#define IDS_SAVE_FAILED 401
#define IDS_COLOR_DEPTH 402
#define IDS_SAVE_FILTER 403
#define IDS_OPEN_FILTER 404
#define IDS_VERSION_FORMAT 405
#define IDS_ABOUT_CREDITS 406
#define IDS_ABOUT_NOTICE 407
#define IDS_PREV_STEP 408
#define IDS_NEXT_STEP 409
#define IDS_STEP_SHORT_FIRST 410 // 410 to 418: the toolbar labels of the nine steps
#define IDS_INDICATOR_CAPS 420
#define IDS_INDICATOR_NUM 421
#define IDS_INDICATOR_SCRL 422
#define IDS_READY 423
#define IDS_START_TITLE 424 // "Tarvo Saver %d.%d"
