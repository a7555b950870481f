// Hosting of the Flash Player ActiveX control in a child window: a minimal OLE container of our
// own (ControlSite), the movie's layout inside the host window, and the notice drawn when the
// control is missing.
#pragma once
#include <windows.h>
#include <ole2.h>

// Called first for every message of the host window and of the control's window; when it sets
// *handled, the window returns its result without further processing.
typedef LRESULT (*MessageFilter)(void* user, UINT message, WPARAM wparam, LPARAM lparam,
                                 bool* handled);

struct ControlSite;

struct MovieHost {
    MovieHost(HINSTANCE instance, HWND parent);
    ~MovieHost(); // deletes the site and the notice font; the window goes with its parent

    // A child window of the parent; the window class copies base_class of the module instance.
    bool CreateHostWindow(const char* base_class, int x, int y, int width, int height);
    void ShowMovie(const char* path, int width, int height, COLORREF background, int size_mode,
                   int quality);
    void LayoutMovie(int client_width, int client_height);
    void DrawNotice(HDC dc);

    HWND window = nullptr;
    HWND parent_window;
    HINSTANCE instance;
    ControlSite* control = nullptr;
    int movie_width = 10;
    int movie_height = 10;
    COLORREF background_color = 0;
    int size_mode = 1;
    int quality = 1;
    MessageFilter filter = nullptr;
    void* filter_user = nullptr;
    HFONT notice_font = nullptr;
    bool draw_notice = false;
};

// Connects a sink that ignores every event of the control; false when the host has no control
// with a dispatch interface or the control has no event connection point.
bool ConnectFlashEventSink(ControlSite* site, void* event_target);

// True when the Flash Player control can be created on this machine.
bool IsFlashAvailable();
