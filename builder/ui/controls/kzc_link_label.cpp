#include "builder/ui/controls/kzc_link_label.h"

#include <shellapi.h>

#include "builder/ui/controls/kz_gui_resources.h"

bool KZCLinkLabel::Attach(HWND dialog, int id) {
    if (!SubclassDlgItem(id, dialog))
        return false;
    SetWindowLongA(hwnd_, GWL_STYLE, GetWindowLongA(hwnd_, GWL_STYLE) | SS_NOTIFY);
    if (HFONT font = KZGetGUIResources().underline_font)
        Send(WM_SETFONT, (WPARAM)font, TRUE);
    return true;
}

void KZCLinkLabel::SetLink(bool is_link, const char* target, KZLinkAction action, void* context) {
    is_link_ = is_link;
    target_ = target;
    action_ = action;
    context_ = context;
}

void KZCLinkLabel::SetBackgroundColor(COLORREF color) {
    background_color_ = color;
    background_.Reset(CreateSolidBrush(color));
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT KZCLinkLabel::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SETCURSOR && is_link_) {
        SetCursor(cursor_ ? cursor_ : LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    return KZStaticWnd::WindowProc(message, wparam, lparam);
}

bool KZCLinkLabel::OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    if (message == WM_COMMAND && HIWORD(wparam) == STN_CLICKED) {
        if (is_link_ && action_)
            action_(target_, context_);
        *result = 0;
        return true;
    }
    if (message == WM_CTLCOLORSTATIC) {
        HDC dc = (HDC)wparam;
        SetTextColor(dc, is_link_ ? RGB(0, 0, 204) : GetSysColor(COLOR_BTNTEXT));
        SetBkMode(dc, TRANSPARENT);
        *result =
            (LRESULT)(background_.Get() ? background_.Get() : GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    return false;
}

void KZOpenLinkInBrowser(const char* target, void* context) {
    if (target && *target)
        ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}
