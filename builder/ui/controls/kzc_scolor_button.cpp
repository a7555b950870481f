#include "builder/ui/controls/kzc_scolor_button.h"

#include <cstring>

namespace {

const int kSwatchInset = 4;

int ScreenDpi() {
    KZWindowDC screen(nullptr);
    return GetDeviceCaps(screen, LOGPIXELSX);
}

} // namespace

// Long enough ago that the first press opens the pop-up.
KZCSColorButton::KZCSColorButton() : popup_closed_at_(GetTickCount() - 1000) {}

bool KZCSColorButton::Attach(int id, HWND dialog) {
    if (!SubclassDlgItem(id, dialog))
        return false;
    LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    Send(BM_SETSTYLE, (WPARAM)((style & ~(LONG_PTR)BS_TYPEMASK) | BS_OWNERDRAW), TRUE);
    return true;
}

void KZCSColorButton::SetColor(KZCColor color, bool notify) {
    color_ = color & 0xFFFFFF;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
    if (notify && hwnd_)
        SendMessageA(GetParent(), KZC_WM_COLOR_CHANGED, (WPARAM)GetControlId(), (LPARAM)color_);
}

void KZCSColorButton::SetTexts(const char* more_colors, const char* pick_a_color) {
    more_text_ = more_colors;
    title_text_ = pick_a_color;
}

void KZCSColorButton::OpenPopup() {
    // Input times, not the time of handling: a press made 200 ms after the close still opens
    // the pop-up when the program was busy.
    if (popup_.IsOpen() || !KZCPopupMayReopen((uint32_t)GetMessageTime(), popup_closed_at_))
        return;
    RECT r;
    GetWindowRect(hwnd_, &r);
    popup_.Open(hwnd_, r.left, r.bottom, color_, more_text_, title_text_);
}

void KZCSColorButton::PasteColor() {
    if (!OpenClipboard(hwnd_))
        return;
    char text[21] = "";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            // At most 20 bytes, and never past the end of the block.
            SIZE_T size = GlobalSize(data);
            size_t n = 0;
            while (n < 20 && n < size && chars[n])
                ++n;
            std::memcpy(text, chars, n);
            text[n] = 0;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    KZCColor color;
    if (KZCParseClipboardColor(text, &color))
        SetColor(color, true);
}

void KZCSColorButton::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool enabled = !(item.itemState & ODS_DISABLED);
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (enabled && !pressed) {
        RECT edge = r;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    } else {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    RECT swatch = r;
    InflateRect(&swatch, -kSwatchInset, -kSwatchInset);
    if (enabled) {
        // The drop arrow at the right, after an etched line.
        int dpi = ScreenDpi();
        int half = MulDiv(3, dpi, 96);
        int area = 2 * half + 1 + MulDiv(6, dpi, 96);
        if (swatch.right - area > swatch.left)
            swatch.right -= area;
        int line_x = swatch.right + MulDiv(2, dpi, 96);
        RECT shadow = {line_x, swatch.top, line_x + 1, swatch.bottom};
        RECT light = {line_x + 1, swatch.top, line_x + 2, swatch.bottom};
        FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        int cx = (line_x + 2 + r.right - kSwatchInset) / 2;
        int cy = (r.top + r.bottom) / 2 - half / 2;
        for (int row = 0; row <= half; ++row) {
            RECT line = {cx - half + row, cy + row, cx + half - row + 1, cy + row + 1};
            FillRect(dc, &line, GetSysColorBrush(COLOR_BTNTEXT));
        }
    }
    if (swatch.right > swatch.left && swatch.bottom > swatch.top) {
        KZBrush fill(CreateSolidBrush(color_));
        FillRect(dc, &swatch, fill);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

bool KZCSColorButton::OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                         LRESULT* result) {
    if (message == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        *result = TRUE;
        return true;
    }
    // Space or Enter on the focused button.
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
        OpenPopup();
        *result = 0;
        return true;
    }
    return false;
}

LRESULT KZCSColorButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (!first_message_seen_) {
        first_message_seen_ = true;
        // The swatch is the face: a caption from the dialog template would only confuse readers.
        SetWindowTextA(hwnd_, "");
    }
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd_);
        if (wparam & MK_SHIFT)
            PasteColor();
        else
            OpenPopup();
        return 0;
    case WM_LBUTTONUP:
        return 0;
    // While the pop-up is open the button keeps the focus and hands it its keys.
    case WM_GETDLGCODE:
        if (popup_.IsOpen())
            return DLGC_WANTALLKEYS;
        break;
    case WM_KEYDOWN:
        if (popup_.IsOpen() && popup_.HandleKey(wparam))
            return 0;
        break;
    case WM_CHAR:
    case WM_KEYUP:
        if (popup_.IsOpen())
            return 0;
        break;
    case WM_KILLFOCUS:
        if (popup_.IsOpen())
            popup_.Cancel();
        break;
    case KZC_WM_COLOR_POPUP_CLOSED:
        popup_closed_at_ = (uint32_t)GetMessageTime();
        SetColor((KZCColor)lparam, wparam != 0);
        return 0;
    default:
        break;
    }
    return KZButtonWnd::WindowProc(message, wparam, lparam);
}
