// Resource ids of the stub, shared by saverengine.rc and the code. The builder copies the stub
// unchanged, so every screensaver file carries these numbers.
#pragma once

#define SAVER_ICON 107 // the icon of every screensaver file
#define SETTINGS_DIALOG 245

// Controls of the settings dialog.
#define SETTINGS_PICTURE_FRAME 1000
#define SETTINGS_SOUND_BOX 1001
#define SETTINGS_QUALITY_LIST 1002
#define SETTINGS_OPTIONS_GROUP 1201
#define SETTINGS_QUALITY_LABEL 1202
#define SETTINGS_CREDITS_TEXT 1203
