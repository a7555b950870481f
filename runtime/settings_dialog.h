// The screensaver's settings dialog (template 245) and the stored "Sound" and "Quality".
#pragma once
#include <windows.h>

struct RuntimeConfig;

// Shows the settings dialog modally with the given owner (may be null).
void ShowSettingsDialog(HWND owner);
// Stored settings override what the payload set; read once after the payload is loaded.
void ReadStoredSettings(RuntimeConfig* config);
// Runs after the settings dialog, however it was closed.
void WriteStoredSettings(RuntimeConfig* config);
