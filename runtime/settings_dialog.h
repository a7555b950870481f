// The screensaver's settings dialog (template 245) and the stored "Sound" and "Quality", which
// live under HKEY_CURRENT_USER in the key that SettingsKeyPath names.
#pragma once
#include <windows.h>

struct RuntimeConfig;

// Room for "Software\TarvoSavers\" and two names of at most 100 characters.
const int kSettingsKeyPathSize = 240;
// "Software\TarvoSavers\<company>\<name>", or "...\<name>" alone without company name.
void SettingsKeyPath(const RuntimeConfig* config, char* path);

// Shows the settings dialog modally with the given owner (may be null), muting the speaker line
// live while it is open and restoring it afterwards.
void ShowSettingsDialog(HWND owner);
// Stored settings override what the payload set; read once after the payload is loaded.
void ReadStoredSettings(RuntimeConfig* config);
// Runs after the settings dialog, however it was closed.
void WriteStoredSettings(RuntimeConfig* config);
