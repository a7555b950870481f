#include "builder/ui/controls/kzc_menu_button.h"

#include "builder/ui/framework/kz_dialog_base.h"
#include "builder/ui/framework/kz_guards.h"

KZCMenuButton::~KZCMenuButton() {
    SetMenu(nullptr, false);
}

bool KZCMenuButton::Attach(int id, HWND dialog) {
    if (!SubclassDlgItem(id, dialog))
        return false;
    LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    Send(BM_SETSTYLE, (WPARAM)((style & ~(LONG_PTR)BS_TYPEMASK) | BS_OWNERDRAW), TRUE);
    return true;
}

void KZCMenuButton::SetMenu(HMENU menu, bool owned) {
    if (menu_ && owned_ && menu_ != menu)
        DestroyMenu(menu_);
    menu_ = menu;
    owned_ = owned;
}

void KZCMenuButton::ShowMenu() {
    if (!menu_ || !hwnd_ || showing_)
        return;
    HWND target = command_window_ ? command_window_ : GetAncestor(hwnd_, GA_ROOTOWNER);
    RECT r;
    GetWindowRect(hwnd_, &r);
    showing_ = true;
    Send(BM_SETSTATE, TRUE);
    TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, r.left, r.bottom, 0,
                   target, nullptr);
    if (hwnd_)
        Send(BM_SETSTATE, FALSE);
    showing_ = false;
}

void KZCMenuButton::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool enabled = !(item.itemState & ODS_DISABLED);
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    KZWindowDC screen(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    int half = MulDiv(3, dpi, 96);
    int arrow_area = 2 * half + MulDiv(10, dpi, 96);
    RECT text = r;
    InflateRect(&text, -MulDiv(4, dpi, 96), -2);
    text.right -= arrow_area;
    if (pressed)
        OffsetRect(&text, 1, 1);
    char caption[256];
    GetWindowTextA(hwnd_, caption, sizeof caption);
    HFONT font = (HFONT)Send(WM_GETFONT);
    KZSelectObject select(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, caption, -1, &text, format);
    } else {
        RECT shifted = text;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption, -1, &shifted, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, caption, -1, &text, format);
    }
    // The drop arrow at the right.
    int cx = r.right - arrow_area / 2 - MulDiv(2, dpi, 96) + (pressed ? 1 : 0);
    int cy = (r.top + r.bottom) / 2 - half / 2 + (pressed ? 1 : 0);
    HBRUSH brush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int row = 0; row <= half; ++row) {
        RECT line = {cx - half + row, cy + row, cx + half - row + 1, cy + row + 1};
        FillRect(dc, &line, brush);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

bool KZCMenuButton::OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                       LRESULT* result) {
    if (message == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        *result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
        ShowMenu();
        *result = 0;
        return true;
    }
    return false;
}
