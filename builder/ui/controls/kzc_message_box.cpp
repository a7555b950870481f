#include "builder/ui/controls/kzc_message_box.h"

#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/controls/kz_gui_string_table.h"
#include "builder/ui/framework/kz_guards.h"

namespace {

// An empty dialog template; the box creates its controls itself.
struct EmptyTemplate {
    DLGTEMPLATE dialog;
    WORD menu;
    WORD window_class;
    WORD title;
    WORD padding;
};

int Scale(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

} // namespace

KZCMessageBox::KZCMessageBox(const char* text, const char* caption, unsigned type)
    : text_(text), caption_(caption), layout_(KZGetMessageBoxLayout(type)) {}

int KZCMessageBox::Show(HWND owner) {
    EmptyTemplate empty = {};
    empty.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_NOIDLEMSG;
    empty.dialog.dwExtendedStyle = WS_EX_DLGMODALFRAME | (layout_.topmost ? WS_EX_TOPMOST : 0);
    INT_PTR result = DoModalIndirect(&empty.dialog, owner);
    return result <= 0 ? IDCANCEL : (int)result;
}

BOOL KZCMessageBox::OnInitDialog() {
    SetWindowTextA(hwnd_, caption_);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CreateWindowExA(0, "STATIC", text_, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                    hwnd_, (HMENU)(INT_PTR)kTextId, instance, nullptr);
    if (layout_.icon != KZ_MB_ICON_NONE) {
        static const LPCSTR kIcons[] = {nullptr, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION,
                                        IDI_ASTERISK};
        HWND icon = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0, 0, 0,
                                    hwnd_, (HMENU)(INT_PTR)kIconId, instance, nullptr);
        SendMessageA(icon, STM_SETICON, (WPARAM)LoadIconA(nullptr, kIcons[layout_.icon]), 0);
    }
    for (int i = 0; i < layout_.button_count; ++i) {
        const KZMessageBoxButton& button = layout_.buttons[i];
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (i == layout_.default_index ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                      (i == 0 ? WS_GROUP : 0);
        CreateWindowExA(0, "BUTTON", KZGUIStringTable::Get(button.label_key), style, 0, 0, 0, 0,
                        hwnd_, (HMENU)(INT_PTR)button.command_id, instance, nullptr);
    }
    // Without an answer for Escape the box cannot be closed from its caption either.
    if (layout_.escape_id == 0)
        EnableMenuItem(GetSystemMenu(hwnd_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

    KZCDialog::OnInitDialog(); // the GUI font for every child
    Layout();
    if (layout_.topmost)
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    int default_id = layout_.buttons[layout_.default_index].command_id;
    Send(DM_SETDEFID, (WPARAM)default_id);
    SetFocus(GetDlgItem(hwnd_, default_id));
    return FALSE; // the focus is set
}

void KZCMessageBox::Layout() {
    KZWindowDC dc(hwnd_);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    KZSelectObject font(dc, KZGetGUIFont());
    int margin = Scale(12, dpi);
    int gap = Scale(7, dpi);
    int button_h = Scale(23, dpi);

    int buttons_w = 0;
    int button_w = Scale(75, dpi);
    for (int i = 0; i < layout_.button_count; ++i) {
        RECT label = {0, 0, 0, 0};
        DrawTextA(dc, KZGUIStringTable::Get(layout_.buttons[i].label_key), -1, &label,
                  DT_CALCRECT | DT_SINGLELINE);
        if (label.right + Scale(16, dpi) > button_w)
            button_w = label.right + Scale(16, dpi);
    }
    buttons_w = layout_.button_count * button_w + (layout_.button_count - 1) * gap;

    bool has_icon = layout_.icon != KZ_MB_ICON_NONE;
    int icon_w = has_icon ? GetSystemMetrics(SM_CXICON) : 0;
    int icon_h = has_icon ? GetSystemMetrics(SM_CYICON) : 0;
    int text_x = margin + (has_icon ? icon_w + margin : 0);

    // Long lines wrap at a width that depends on the screen; the box grows downwards.
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int max_text_w = (work.right - work.left) * 3 / 5 - text_x - margin;
    if (max_text_w > Scale(480, dpi))
        max_text_w = Scale(480, dpi);
    if (max_text_w < Scale(120, dpi))
        max_text_w = Scale(120, dpi);
    RECT text = {0, 0, max_text_w, 0};
    DrawTextA(dc, text_, -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    int text_w = text.right;
    int text_h = text.bottom;

    int content_h = text_h > icon_h ? text_h : icon_h;
    int client_w = text_x + text_w + margin;
    if (client_w < buttons_w + 2 * margin)
        client_w = buttons_w + 2 * margin;
    int client_h = margin + content_h + margin + button_h + margin;

    int text_y = margin + (content_h - text_h) / 2;
    MoveWindow(GetDlgItem(hwnd_, kTextId), text_x, text_y, text_w, text_h, FALSE);
    if (has_icon)
        MoveWindow(GetDlgItem(hwnd_, kIconId), margin, margin, icon_w, icon_h, FALSE);
    int x = (client_w - buttons_w) / 2;
    int y = client_h - margin - button_h;
    for (int i = 0; i < layout_.button_count; ++i, x += button_w + gap)
        MoveWindow(GetDlgItem(hwnd_, layout_.buttons[i].command_id), x, y, button_w, button_h,
                   FALSE);

    RECT frame = {0, 0, client_w, client_h};
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongA(hwnd_, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongA(hwnd_, GWL_EXSTYLE));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    // Centred over the owner, or the screen, and kept inside the work area.
    RECT around = work;
    HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    int left = around.left + (around.right - around.left - width) / 2;
    int top = around.top + (around.bottom - around.top - height) / 2;
    if (left + width > work.right)
        left = work.right - width;
    if (top + height > work.bottom)
        top = work.bottom - height;
    if (left < work.left)
        left = work.left;
    if (top < work.top)
        top = work.top;
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool KZCMessageBox::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED || id == IDCANCEL)
        return false;
    for (int i = 0; i < layout_.button_count; ++i) {
        if (layout_.buttons[i].command_id == id) {
            EndDialog(id);
            return true;
        }
    }
    return false;
}

void KZCMessageBox::OnOK() {
    // Enter with the OK button as the default; OK is then among the buttons.
    for (int i = 0; i < layout_.button_count; ++i) {
        if (layout_.buttons[i].command_id == IDOK) {
            EndDialog(IDOK);
            return;
        }
    }
}

void KZCMessageBox::OnCancel() {
    // Escape, the caption's close button, or the Cancel button itself.
    if (layout_.escape_id != 0)
        EndDialog(layout_.escape_id);
}
