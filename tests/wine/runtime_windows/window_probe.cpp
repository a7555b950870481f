// window_probe dialog CAPTION | syscommand CAPTION | close CAPTION | fonts
// Looks at the stub's windows from another process, for the runtime window tests:
//   dialog      prints the window's rectangle, every child control (identifier, class, visibility,
//               rectangle in the window's client coordinates, text, check state, list selection
//               and count), the client area's screen origin and the caption's close button;
//   syscommand  posts the window WM_SYSCOMMAND SC_CLOSE;
//   close       posts the window WM_CLOSE;
//   fonts       prints whether a "tahoma" font family exists for the ANSI character set.
// (Font handles do not cross processes, so the dialog's fonts are judged from screenshots.)
// Waits up to 15 s for a visible top-level window with exactly that caption; exit code 1 when
// none comes.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HWND g_window;

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    if (GetParent(child) != g_window)
        return TRUE;
    char class_name[64] = "", text[600] = "";
    GetClassNameA(child, class_name, sizeof(class_name));
    GetWindowTextA(child, text, sizeof(text));
    for (char* c = text; *c; ++c)
        if (*c == '\n' || *c == '\r')
            *c = ' ';
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, g_window, (POINT*)&rect, 2);
    long check = -1, selection = -9, count = -1;
    if (!lstrcmpiA(class_name, "Button"))
        check = (long)SendMessageA(child, BM_GETCHECK, 0, 0);
    if (!lstrcmpiA(class_name, "ComboBox")) {
        selection = (long)SendMessageA(child, CB_GETCURSEL, 0, 0);
        count = (long)SendMessageA(child, CB_GETCOUNT, 0, 0);
    }
    std::printf("child %d class=%s visible=%d rect=%ld,%ld,%ld,%ld check=%ld "
                "selection=%ld count=%ld text=%s\n",
                GetDlgCtrlID(child), class_name, IsWindowVisible(child) ? 1 : 0, rect.left,
                rect.top, rect.right, rect.bottom, check, selection, count, text);
    return TRUE;
}

int CALLBACK FoundFont(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *(bool*)found = true;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && !std::strcmp(argv[1], "fonts")) {
        LOGFONTA wanted = {};
        wanted.lfCharSet = ANSI_CHARSET;
        lstrcpyA(wanted.lfFaceName, "tahoma");
        bool found = false;
        HDC screen = GetDC(nullptr);
        EnumFontFamiliesExA(screen, &wanted, FoundFont, (LPARAM)&found, 0);
        ReleaseDC(nullptr, screen);
        std::printf("tahoma=%d\n", found ? 1 : 0);
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_probe dialog|syscommand|close CAPTION | fonts\n");
        return 2;
    }
    const DWORD start = GetTickCount();
    while (!(g_window = FindWindowA(nullptr, argv[2])) || !IsWindowVisible(g_window)) {
        if (GetTickCount() - start > 15000) {
            std::fprintf(stderr, "window_probe: no window \"%s\"\n", argv[2]);
            return 1;
        }
        Sleep(100);
    }
    if (!std::strcmp(argv[1], "syscommand")) {
        PostMessageA(g_window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (!std::strcmp(argv[1], "close")) {
        PostMessageA(g_window, WM_CLOSE, 0, 0);
        return 0;
    }
    RECT rect;
    GetWindowRect(g_window, &rect);
    std::printf("window rect=%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
    POINT origin = {0, 0};
    ClientToScreen(g_window, &origin);
    std::printf("client %ld %ld\n", origin.x, origin.y);
    // The close button: the first point of the caption rows, from the right, that tests as one.
    bool found = false;
    for (int y = rect.top + 1; y < rect.top + 48 && !found; ++y)
        for (int x = rect.right - 1; x > rect.left && !found; --x)
            if (SendMessageA(g_window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                std::printf("close %d %d\n", x - 4, y + 3);
                found = true;
            }
    EnumChildWindows(g_window, PrintChild, 0);
    std::fflush(stdout);
    return 0;
}
