#include "builder/ui/frame/fc_window_host_win32.h"

void FCWindowHost::hide_window() {
    if (window)
        ShowWindow(window, SW_MINIMIZE);
}

void FCWindowHost::show_window() {
    if (window)
        ShowWindow(window, SW_RESTORE);
}

void FCWindowHost::keep_painted() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Posted again for the window's own loop; the next call finds it once more.
            PostQuitMessage(int(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
