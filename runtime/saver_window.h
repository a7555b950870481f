// The screensaver window (full screen or inside the Display Properties preview) and the session
// state that its wake-up rules use.
#pragma once
#include <windows.h>

struct SaverSession {
    HWND main_window;
    bool close_requested;
};

extern SaverSession* g_session;

SaverSession* CreateSaverSession();
void DestroySaverSession(SaverSession* session);

// Shows the movie full screen (no parent) or inside the parent window and runs the message loop
// until the window is gone. Every embedded item is extracted before anything is shown.
// Returns 0, or -1 when the window could not be created.
int RunMovieWindow(HWND parent);
