// A plain screensaver window: the background colour, ended by a key or a mouse button.
#include "runtime/saver_window.h"

#include "runtime/payload_loader.h"
#include "runtime/runtime_config.h"
#include "runtime/system_hooks.h"

SaverSession* CreateSaverSession() {
    return new SaverSession();
}

void DestroySaverSession(SaverSession* session) {
    delete session;
}

static LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_CLOSE:
        if (!GetParent(window) && !VerifySaverPassword(window))
            return 0;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int RunMovieWindow(HWND parent) {
    ExtractAllItems(g_config);

    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = SaverWindowProc;
    window_class.hInstance = g_instance;
    window_class.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    window_class.hbrBackground = CreateSolidBrush(g_config->background_color);
    window_class.lpszClassName = "QvrkSaverWindow";
    if (!RegisterClassA(&window_class))
        return -1;

    HWND window;
    if (parent) {
        RECT area;
        GetClientRect(parent, &area);
        window = CreateWindowExA(0, window_class.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0,
                                 area.right, area.bottom, parent, nullptr, g_instance, nullptr);
    } else {
        window =
            CreateWindowExA(WS_EX_TOPMOST, window_class.lpszClassName, "Screensaver",
                            WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, g_instance, nullptr);
    }
    if (!window)
        return -1;
    g_session->main_window = window;

    bool full_screen = g_config->run_mode == RunModeScreensaver;
    if (full_screen)
        SetSaverRunningFlag(true);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (full_screen)
        SetSaverRunningFlag(false);
    g_session->main_window = nullptr;
    return 0;
}
