// wine_close_window [--timeout SECONDS] [--button ID] CAPTION
// Waits (default 10 s) for a top-level window whose caption is exactly CAPTION, prints its handle
// in decimal and closes it: with --button it presses that button of the dialog (BM_CLICK on the
// control, or WM_COMMAND when the dialog has no such control), otherwise it sends WM_CLOSE, which
// a dialog or message box treats as Cancel. Exit code 0 when closed, 1 when no such window came.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    DWORD timeoutMs = 10000;
    int button = 0;
    const char* caption = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutMs = DWORD(std::strtoul(argv[++i], nullptr, 10) * 1000);
        } else if (std::strcmp(argv[i], "--button") == 0 && i + 1 < argc) {
            button = std::atoi(argv[++i]);
        } else if (!caption) {
            caption = argv[i];
        } else {
            caption = nullptr;
            break;
        }
    }
    if (!caption) {
        std::fprintf(stderr,
                     "usage: wine_close_window [--timeout SECONDS] [--button ID] CAPTION\n");
        return 2;
    }

    const DWORD start = GetTickCount();
    HWND window = nullptr;
    while (!(window = FindWindowA(nullptr, caption)) || !IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs) {
            std::fprintf(stderr, "wine_close_window: no window \"%s\"\n", caption);
            return 1;
        }
        Sleep(50);
    }
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    std::fflush(stdout);

    if (button != 0) {
        HWND control = GetDlgItem(window, button);
        if (control) {
            SendMessageA(control, BM_CLICK, 0, 0);
        } else {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        }
    } else {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    // Closed means gone: a dialog that ignores the request counts as a failure.
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs) {
            std::fprintf(stderr, "wine_close_window: \"%s\" did not close\n", caption);
            return 1;
        }
        Sleep(20);
    }
    return 0;
}
