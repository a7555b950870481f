#include "builder/ui/controls/kzc_splash_wnd.h"

#include "builder/ui/controls/kz_gui_resources.h"

bool KZCSplashWnd::CreateSplash(HBITMAP bitmap, const char* text, const RECT& text_rect) {
    bitmap_.Reset(bitmap);
    text_ = text;
    text_rect_ = text_rect;
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info))
        return false;
    KZCreateArgs args;
    args.class_name = "KZCSplashWnd";
    args.style = WS_POPUP | WS_VISIBLE;
    args.ex_style = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    args.width = info.bmWidth;
    args.height = info.bmHeight;
    args.x = (GetSystemMetrics(SM_CXSCREEN) - info.bmWidth) / 2;
    args.y = (GetSystemMetrics(SM_CYSCREEN) - info.bmHeight) / 2;
    args.background = nullptr;
    args.class_style = 0;
    return Create(args);
}

void KZCSplashWnd::Paint() {
    KZPaintDC dc(hwnd_);
    BITMAP info = {};
    GetObjectA(bitmap_.Get(), sizeof(info), &info);
    KZMemoryDC memory(dc);
    {
        KZSelectObject select(memory, bitmap_.Get());
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    }
    KZSelectObject font(dc, KZGetGUIFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT rect = text_rect_;
    DrawTextA(dc, text_, -1, &rect, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT KZCSplashWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        DestroyWindow();
        return 0;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}
