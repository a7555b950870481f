// wine_parent_window [--rect X Y W H] [--color RRGGBB] [--seconds N] [--title TEXT]
// Shows a plain visible top-level window filled with one colour, prints its handle in decimal on
// stdout (one line, flushed) and stays until the window is closed, the process is killed or N
// seconds pass (default 30). Preview tests pass the handle to a screensaver as its parent; the
// harness self-test checks the colour in a screenshot and reports mouse and key input on stdout
// ("button X Y", "key VK"), so that input sent with xdotool can be seen to arrive.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const UINT_PTR kLifetimeTimer = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        std::printf("button %d %d\n", int(short(LOWORD(lParam))), int(short(HIWORD(lParam))));
        std::fflush(stdout);
        return 0;
    case WM_KEYDOWN:
        std::printf("key %u\n", unsigned(wParam));
        std::fflush(stdout);
        return 0;
    case WM_TIMER:
        if (wParam == kLifetimeTimer) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv) {
    int x = 100, y = 100, width = 320, height = 240;
    unsigned long color = 0xFF00FF; // magenta: easy to find in a screenshot
    unsigned seconds = 30;
    const char* title = "scrkit parent window";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rect") == 0 && i + 4 < argc) {
            x = std::atoi(argv[i + 1]);
            y = std::atoi(argv[i + 2]);
            width = std::atoi(argv[i + 3]);
            height = std::atoi(argv[i + 4]);
            i += 4;
        } else if (std::strcmp(argv[i], "--color") == 0 && i + 1 < argc) {
            color = std::strtoul(argv[++i], nullptr, 16);
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = unsigned(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
            title = argv[++i];
        } else {
            std::fprintf(stderr, "wine_parent_window: unknown argument %s\n", argv[i]);
            return 2;
        }
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground =
        CreateSolidBrush(RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    windowClass.lpszClassName = "ScrkitParentWindow";
    if (!RegisterClassA(&windowClass)) {
        return 1;
    }
    // A popup window: its client area is exactly the rectangle asked for, with no frame to guess.
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, title, WS_POPUP | WS_VISIBLE, x, y,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
    UpdateWindow(window);
    SetTimer(window, kLifetimeTimer, seconds * 1000, nullptr);
    // Windows handles fit in 32 bits; the decimal form is what a "/p" command line takes.
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    std::fflush(stdout);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
