#include "builder/ui/pages/fc_helper.h"

#include "builder/ui/controls/kz_gui_resources.h"
#include "media/base/kz_string.h"

namespace {

COLORREF Mix(COLORREF a, COLORREF b, int step, int steps) {
    int r = GetRValue(a) + (GetRValue(b) - GetRValue(a)) * step / steps;
    int g = GetGValue(a) + (GetGValue(b) - GetGValue(a)) * step / steps;
    int bl = GetBValue(a) + (GetBValue(b) - GetBValue(a)) * step / steps;
    return RGB(r, g, bl);
}

} // namespace

bool FCHeaderBitmaps::Build() {
    const KZGUIResources& colors = KZGetGUIResources();
    // Text underline: shadow fading into the face; separator: the same, lighter; the third is the
    // highlight blend, for headers on the lighter face.
    const COLORREF from[3] = {colors.shadow, Mix(colors.shadow, colors.face, 1, 3),
                              colors.half_highlight};
    KZWindowDC screen(nullptr);
    for (int i = 0; i < 3; ++i) {
        HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
        if (!bitmap)
            return false;
        bitmaps_[i].Reset(bitmap);
        KZMemoryDC memory(screen);
        KZSelectObject select(memory, bitmap);
        for (int x = 0; x < kWidth; ++x) {
            COLORREF color = Mix(from[i], colors.face, x, kWidth - 1);
            for (int y = 0; y < kHeight; ++y)
                SetPixel(memory, x, y, y == 0 ? color : Mix(color, colors.face, 1, 2));
        }
    }
    return true;
}

void FCHelperTitleWnd::SetMode(FCHelperMode mode, const FCHeaderBitmaps* bitmaps) {
    mode_ = mode;
    bitmaps_ = bitmaps;
    if (mode_ == FC_HELPER_LINE && hwnd_) {
        RECT rect;
        GetWindowRect(hwnd_, &rect);
        SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, 3,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void FCHelperTitleWnd::DrawGradient(HDC dc, int index, int y, int width) {
    HBITMAP bitmap = bitmaps_ ? bitmaps_->Get(index) : nullptr;
    if (!bitmap)
        return;
    KZMemoryDC memory(dc);
    KZSelectObject select(memory, bitmap);
    StretchBlt(dc, 0, y, width, FCHeaderBitmaps::kHeight, memory, 0, 0, FCHeaderBitmaps::kWidth,
               FCHeaderBitmaps::kHeight, SRCCOPY);
}

void FCHelperTitleWnd::Paint() {
    KZPaintDC dc(hwnd_);
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (mode_ == FC_HELPER_LINE) {
        DrawGradient(dc, 1, 0, client.right);
        return;
    }
    KZSelectObject font(dc, KZGetGUIResources().bold_font ? KZGetGUIResources().bold_font
                                                          : KZGetGUIFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    KZString text;
    int length = GetWindowTextLengthA(hwnd_);
    if (length > 0) {
        char* buffer = text.SetLength(length);
        if (buffer)
            text.SetLength(GetWindowTextA(hwnd_, buffer, length + 1));
    }
    RECT text_rect = client;
    DrawTextA(dc, text, -1, &text_rect, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
    SIZE size = {};
    GetTextExtentPoint32A(dc, "Ag", 2, &size);
    int y = size.cy + 1;
    if (y > client.bottom - FCHeaderBitmaps::kHeight)
        y = client.bottom - FCHeaderBitmaps::kHeight;
    DrawGradient(dc, 0, y, client.right);
}

LRESULT FCHelperTitleWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        LRESULT result = KZCWnd::WindowProc(message, wparam, lparam);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return result;
    }
    case WM_WINDOWPOSCHANGING:
        // A separator stays 3 pixels high whatever its owner asks.
        if (mode_ == FC_HELPER_LINE) {
            WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lparam);
            if (!(pos->flags & SWP_NOSIZE))
                pos->cy = 3;
        }
        break;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}

bool FCHelper::Bind(HWND dialog, int id, FCHelperMode mode, const FCHeaderBitmaps* bitmaps) {
    if (!title_.SubclassDlgItem(id, dialog))
        return false;
    title_.SetMode(mode, bitmaps);
    return true;
}
