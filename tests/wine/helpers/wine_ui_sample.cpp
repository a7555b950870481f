// wine_ui_sample [--seconds N]
// A dialog of standard controls for the UI driver's self-test, caption "scrkit ui sample":
// edit 101, check box 102, radio buttons 103 and 104, drop-down list 105, list box 106, push
// button 107 "Press", disabled button 108, hidden static 109. Every WM_COMMAND is
// printed as "command ID CODE" (flushed) and the message 0x8001 as "user WPARAM LPARAM"; it
// answers 0x8001 with WPARAM + LPARAM. The client area is RGB 20 60 A0. It ends when closed, or
// after N seconds (default 60).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

const UINT kUserMessage = WM_APP + 1;

HWND Add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y,
         int w, int h) {
    return CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent, (HMENU)(INT_PTR)id,
                           GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const DWORD shown = WS_VISIBLE | WS_TABSTOP;
        Add(window, L"Edit", L"start", shown | WS_BORDER | ES_AUTOHSCROLL, 101, 10, 10, 200, 22);
        Add(window, L"Button", L"Check", shown | BS_AUTOCHECKBOX, 102, 10, 40, 100, 20);
        Add(window, L"Button", L"One", shown | BS_AUTORADIOBUTTON | WS_GROUP, 103, 10, 65, 80, 20);
        Add(window, L"Button", L"Two", shown | BS_AUTORADIOBUTTON, 104, 100, 65, 80, 20);
        HWND combo = Add(window, L"ComboBox", L"", shown | CBS_DROPDOWNLIST | WS_VSCROLL, 105, 10,
                         90, 200, 120);
        HWND list =
            Add(window, L"ListBox", L"", shown | WS_BORDER | LBS_NOTIFY, 106, 220, 10, 150, 100);
        // Non-ASCII items show that texts cross the process boundary whole.
        for (const wchar_t* item : {L"Alpha", L"Beta", L"\u00c9t\u00e9"}) {
            SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(item));
            SendMessageW(list, LB_ADDSTRING, 0, LPARAM(item));
        }
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        Add(window, L"Button", L"Press", shown | BS_DEFPUSHBUTTON, 107, 10, 130, 90, 26);
        HWND disabled = Add(window, L"Button", L"Off", shown, 108, 110, 130, 90, 26);
        EnableWindow(disabled, FALSE);
        Add(window, L"Static", L"hidden", 0, 109, 220, 130, 100, 20);
        return 0;
    }
    case WM_COMMAND:
        std::printf("command %u %u\n", unsigned(LOWORD(wParam)), unsigned(HIWORD(wParam)));
        std::fflush(stdout);
        return 0;
    case kUserMessage:
        std::printf("user %llu %lld\n", (unsigned long long)wParam, (long long)lParam);
        std::fflush(stdout);
        return LRESULT(wParam + lParam);
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv) {
    int seconds = 60;
    if (argc == 3 && !std::strcmp(argv[1], "--seconds"))
        seconds = std::atoi(argv[2]);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(0x20, 0x60, 0xa0)); // found in screenshots
    wc.lpszClassName = L"ScrkitUiSample";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"scrkit ui sample",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 150, 120,
                                  400, 220, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window)
        return 1;
    SetTimer(window, 1, UINT(seconds) * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}
