// The screensaver window (full screen or inside the Display Properties preview) and the session
// state that its wake-up rules use.
#pragma once
#include <windows.h>

struct SaverSession {
    HWND main_window = nullptr;
    bool close_requested = false;
    int password_grace = 1;   // seconds after the start in which no password is asked
    int mouse_threshold = 10; // largest cursor move along an axis that does not wake
    POINT cursor_origin = {0, 0};
    DWORD start_tick = 0;
    bool password_dialog_active = false;
    char event_target = 0; // handed to the Flash event sink, which ignores every event
};

extern SaverSession* g_session;

SaverSession* CreateSaverSession();
void DestroySaverSession(SaverSession* session);

// Sets close requested and posts the main window a close message.
void RequestClose(SaverSession* session);
// The wake-up rules; first in line for the main window, every movie host window and the Flash
// control's window. user is the SaverSession.
LRESULT WakeFilter(void* user, UINT message, WPARAM wparam, LPARAM lparam, bool* handled);

// Shows the movie full screen (no parent) or inside the parent window and runs the message loop
// until the window is gone. Every embedded item is extracted before anything is shown.
// Returns 0, or -1 when the window, its class or the movie host could not be created.
int RunMovieWindow(HWND parent);
