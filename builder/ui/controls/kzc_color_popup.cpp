#include "builder/ui/controls/kzc_color_popup.h"

#include <commctrl.h>

#include "builder/ui/controls/kzc_color_dialog.h"

namespace {

RECT ToRect(const KZCRect& r) {
    RECT out = {r.left, r.top, r.right, r.bottom};
    return out;
}

// The system's message font, at the screen's resolution.
HFONT CreateMessageFont() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return nullptr;
    return CreateFontIndirectA(&metrics.lfMessageFont);
}

} // namespace

bool KZCColorPopup::Open(HWND button, int x, int y, KZCColor color, const char* more_text,
                         const char* title_text) {
    if (hwnd_)
        return false;
    button_ = button;
    initial_color_ = color;
    more_text_ = more_text;
    title_text_ = title_text;
    highlighted_ = KZCPaletteIndexOf(color);
    hovered_ = KZC_POPUP_NONE;
    tip_item_ = KZC_POPUP_NONE;
    closing_ = false;
    in_dialog_ = false;
    font_.Reset(CreateMessageFont());
    {
        KZWindowDC screen(nullptr);
        KZSelectObject select(screen,
                              font_ ? (HGDIOBJ)font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(screen, &metrics);
        layout_ = KZCColorPopupLayout(metrics.tmHeight, GetDeviceCaps(screen, LOGPIXELSY));
    }
    // Inside the monitor: below the button when it fits, else above it.
    RECT button_rect = {x, y, x, y};
    GetWindowRect(button, &button_rect);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromRect(&button_rect, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    if (y + layout_.Height() > work.bottom && button_rect.top - layout_.Height() >= work.top)
        y = button_rect.top - layout_.Height();
    // Fitting neither below nor above (a large resolution on a small screen), it moves up over
    // the button rather than leave its last rows off the screen.
    if (y + layout_.Height() > work.bottom)
        y = work.bottom - layout_.Height();
    if (y < work.top)
        y = work.top;
    if (x + layout_.Width() > work.right)
        x = work.right - layout_.Width();
    if (x < work.left)
        x = work.left;

    KZCreateArgs args;
    args.class_name = "KZCColorPopup";
    args.style = WS_POPUP;
    args.ex_style = WS_EX_TOOLWINDOW;
    args.class_style = CS_SAVEBITS | CS_DROPSHADOW;
    args.background = (HBRUSH)(COLOR_BTNFACE + 1);
    args.x = x;
    args.y = y;
    args.width = layout_.Width();
    args.height = layout_.Height();
    args.parent = GetAncestor(button, GA_ROOT); // the owner, so the pop-up stays above it
    if (!Create(args))
        return false;

    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX, 0,
                               0, 0, 0, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (tooltip_) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = hwnd_;
        tool.uId = 1;
        tool.lpszText = const_cast<char*>("");
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, (LPARAM)&tool);
    }
    // The time of the press that opened it: the rules are about the user's timing, which a busy
    // program handles late.
    opened_at_ = (uint32_t)GetMessageTime();
    // Never active: the button keeps the focus and hands over its keys, so that closing moves
    // no activation (which costs seconds under Wine without a window manager).
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetCapture(hwnd_);
    ShowTip(highlighted_);
    return true;
}

void KZCColorPopup::InvalidateItem(int item) {
    if (item == KZC_POPUP_NONE || !hwnd_)
        return;
    // The frames of a cell reach into the gap around it.
    RECT r = ToRect(layout_.ItemRect(item));
    InflateRect(&r, 3, 3);
    InvalidateRect(hwnd_, &r, TRUE);
}

void KZCColorPopup::SetHover(int item) {
    if (item == hovered_)
        return;
    InvalidateItem(hovered_);
    hovered_ = item;
    InvalidateItem(hovered_);
    ShowTip(item);
}

void KZCColorPopup::SetHighlight(int item) {
    if (item == highlighted_)
        return;
    InvalidateItem(highlighted_);
    highlighted_ = item;
    InvalidateItem(highlighted_);
    ShowTip(item);
}

void KZCColorPopup::ShowTip(int item) {
    if (item == tip_item_)
        return;
    tip_item_ = item;
    bool cell = item >= 0 && item < KZC_PALETTE_SIZE;
    char text[32] = "";
    if (cell)
        KZCFormatColorTip(KZCColorPalette()[item], text, sizeof text);
    // The window text follows the tip, so that screen readers and the tests can read it.
    SetWindowTextA(hwnd_, text);
    if (!tooltip_)
        return;
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = 1;
    if (!cell) {
        SendMessageA(tooltip_, TTM_TRACKACTIVATE, FALSE, (LPARAM)&tool);
        return;
    }
    tool.lpszText = text;
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, (LPARAM)&tool);
    RECT r = ToRect(layout_.ItemRect(item));
    POINT below = {r.left, r.bottom + 4};
    ClientToScreen(hwnd_, &below);
    SendMessageA(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(below.x, below.y));
    SendMessageA(tooltip_, TTM_TRACKACTIVATE, TRUE, (LPARAM)&tool);
}

void KZCColorPopup::Choose(int item) {
    if (item >= 0 && item < KZC_PALETTE_SIZE) {
        Close(true, KZCColorPalette()[item]);
        return;
    }
    if (item != KZC_POPUP_MORE)
        return;
    // The dialog is modal over the pop-up's owner; the pop-up waits hidden.
    in_dialog_ = true;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    ShowWindow(hwnd_, SW_HIDE);
    KZCColorDialog dialog(initial_color_);
    INT_PTR result = dialog.DoModal(GetAncestor(button_, GA_ROOT));
    in_dialog_ = false;
    if (result == IDOK)
        Close(true, dialog.GetColor());
    else
        Close(false, initial_color_);
}

bool KZCColorPopup::HandleKey(WPARAM key) {
    if (!hwnd_ || in_dialog_)
        return false;
    switch (key) {
    case VK_LEFT:
        SetHighlight(KZCMovePopupHighlight(highlighted_, KZC_KEY_LEFT));
        return true;
    case VK_RIGHT:
        SetHighlight(KZCMovePopupHighlight(highlighted_, KZC_KEY_RIGHT));
        return true;
    case VK_UP:
        SetHighlight(KZCMovePopupHighlight(highlighted_, KZC_KEY_UP));
        return true;
    case VK_DOWN:
        SetHighlight(KZCMovePopupHighlight(highlighted_, KZC_KEY_DOWN));
        return true;
    case VK_RETURN:
    case VK_SPACE:
        Choose(highlighted_);
        return true;
    case VK_ESCAPE:
        Close(false, initial_color_);
        return true;
    default:
        return false;
    }
}

void KZCColorPopup::Cancel() {
    if (!in_dialog_)
        Close(false, initial_color_);
}

void KZCColorPopup::Close(bool accepted, KZCColor color) {
    if (closing_ || !hwnd_)
        return;
    closing_ = true;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    HWND button = button_;
    DestroyWindow(); // the tooltip goes with it
    tooltip_ = nullptr;
    font_.Reset();
    SendMessageA(button, KZC_WM_COLOR_POPUP_CLOSED, accepted ? 1 : 0, (LPARAM)color);
}

void KZCColorPopup::DrawItem(HDC dc, int item) {
    RECT r = ToRect(layout_.ItemRect(item));
    bool hot = item == hovered_;
    bool lit = item == highlighted_;
    if (item == KZC_POPUP_MORE) {
        if (hot || lit) {
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        }
        DrawTextA(dc, more_text_.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    KZBrush fill(CreateSolidBrush(KZCColorPalette()[item]));
    FillRect(dc, &r, fill);
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    if (lit) {
        // Two pixels around the cell, in the gap.
        RECT outer = r;
        InflateRect(&outer, 2, 2);
        FrameRect(dc, &outer, GetSysColorBrush(COLOR_HIGHLIGHT));
        InflateRect(&outer, -1, -1);
        FrameRect(dc, &outer, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else if (hot) {
        RECT outer = r;
        InflateRect(&outer, 1, 1);
        FrameRect(dc, &outer, GetSysColorBrush(COLOR_BTNTEXT));
    }
}

void KZCColorPopup::Paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    KZSelectObject select(dc, font_ ? (HGDIOBJ)font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT title = ToRect(layout_.TitleRect());
    DrawTextA(dc, title_text_.c_str(), -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    for (int item = 0; item <= KZC_POPUP_MORE; ++item)
        DrawItem(dc, item);
}

LRESULT KZCColorPopup::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        KZPaintDC dc(hwnd_);
        Paint(dc);
        return 0;
    }
    case WM_MOUSEMOVE:
        SetHover(layout_.ItemAt((short)LOWORD(lparam), (short)HIWORD(lparam)));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_LBUTTONUP: {
        POINT p = {(short)LOWORD(lparam), (short)HIWORD(lparam)};
        RECT client;
        GetClientRect(hwnd_, &client);
        if (PtInRect(&client, p))
            Choose(layout_.ItemAt(p.x, p.y));
        else if (KZCReleaseOutsideCloses((uint32_t)GetMessageTime(), opened_at_))
            Close(false, initial_color_);
        return 0;
    }
    case WM_KEYDOWN:
        HandleKey(wparam);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (task switch, a system menu): give up.
        if (!in_dialog_ && (HWND)lparam != hwnd_)
            Close(false, initial_color_);
        return 0;
    default:
        break;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}
