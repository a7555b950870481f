// Services of the operating system outside the runtime's windows: the Windows 9x screensaver
// password, the screensaver-running flag and the speaker mute. Every failure here is silent.
#pragma once
#include <windows.h>

// True when the screensaver may end. NT-family systems check the password themselves.
bool VerifySaverPassword(HWND owner);
// The system's password-change dialog for screensavers, when the system has one.
void ChangeSaverPassword(HWND parent);
// Tells the system whether a screensaver is running (full-screen mode only).
void SetSaverRunningFlag(bool running);
// Mutes (true) or unmutes the speaker line; *previous, when given, receives the state before.
bool SetMasterMute(bool mute, bool* previous);
bool GetMasterMute(bool* muted);

// Loads a library from the system folder by its full path, never through the search path, which
// starts at the screensaver's own (possibly a download) folder. Null when it is missing.
HMODULE LoadSystemLibrary(const char* name);
