#include "builder/ui/framework/kz_dialog_base.h"

#include <cstdlib>

KZString KZGetWindowText(HWND window) {
    KZString text;
    int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return text;
    char* buffer = text.SetLength(length);
    if (!buffer)
        return text;
    int got = GetWindowTextA(window, buffer, length + 1);
    text.SetLength(got < 0 ? 0 : got);
    return text;
}

void KZExchangeText(KZDataExchange& dx, int id, KZString& value) {
    HWND control = GetDlgItem(dx.dialog, id);
    if (dx.save)
        value = KZGetWindowText(control);
    else
        SetWindowTextA(control, value);
}

void KZExchangeInt(KZDataExchange& dx, int id, int& value) {
    if (dx.save) {
        KZString text = KZGetWindowText(GetDlgItem(dx.dialog, id));
        value = (int)strtol(text, nullptr, 10);
    } else {
        KZString text;
        text.Format("%d", value);
        SetDlgItemTextA(dx.dialog, id, text);
    }
}

void KZExchangeCheck(KZDataExchange& dx, int id, bool& value) {
    HWND control = GetDlgItem(dx.dialog, id);
    if (dx.save)
        value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else
        SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void KZExchangeRadio(KZDataExchange& dx, int first_id, int& index) {
    HWND button = GetDlgItem(dx.dialog, first_id);
    if (dx.save)
        index = -1;
    for (int i = 0; button; ++i) {
        if (dx.save) {
            if (index < 0 && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                index = i;
        } else {
            SendMessageA(button, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        button = GetWindow(button, GW_HWNDNEXT);
        if (!button || (GetWindowLongA(button, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void KZExchangeComboIndex(KZDataExchange& dx, int id, int& index) {
    HWND combo = GetDlgItem(dx.dialog, id);
    if (dx.save) {
        LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        index = selected == CB_ERR ? -1 : (int)selected;
    } else {
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)index, 0);
    }
}

void KZExchangeComboText(KZDataExchange& dx, int id, KZString& value) {
    HWND combo = GetDlgItem(dx.dialog, id);
    if (dx.save) {
        value = KZGetWindowText(combo);
        return;
    }
    LRESULT found = SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)value.c_str());
    if (found != CB_ERR)
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)found, 0);
    else
        SetWindowTextA(combo, value);
}

KZCDialogBase::~KZCDialogBase() {
    if (hwnd_ && !modal_)
        ::DestroyWindow(hwnd_);
}

INT_PTR KZCDialogBase::DoModal(HWND parent) {
    modal_ = true;
    INT_PTR result = DialogBoxParamA(KZGetResourceInstance(), MAKEINTRESOURCEA(template_id_),
                                     parent, StaticDialogProc, (LPARAM)this);
    modal_ = false;
    return result;
}

INT_PTR KZCDialogBase::DoModalIndirect(const DLGTEMPLATE* dialog_template, HWND parent) {
    modal_ = true;
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog_template, parent,
                                             StaticDialogProc, (LPARAM)this);
    modal_ = false;
    return result;
}

bool KZCDialogBase::CreateModeless(HWND parent) {
    if (hwnd_)
        return false;
    modal_ = false;
    return CreateDialogParamA(KZGetResourceInstance(), MAKEINTRESOURCEA(template_id_), parent,
                              StaticDialogProc, (LPARAM)this) != nullptr;
}

bool KZCDialogBase::CreateModelessIndirect(const DLGTEMPLATE* dialog_template, HWND parent) {
    if (hwnd_)
        return false;
    modal_ = false;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog_template, parent,
                                      StaticDialogProc, (LPARAM)this) != nullptr;
}

void KZCDialogBase::EndDialog(INT_PTR result) {
    if (!hwnd_)
        return;
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        ::DestroyWindow(hwnd_);
}

bool KZCDialogBase::UpdateData(bool save) {
    KZDataExchange dx = {hwnd_, save};
    DoDataExchange(dx);
    return true;
}

bool KZCDialogBase::PreTranslateMessage(MSG* message) {
    // Modal dialogs run the system's loop, which does this already.
    return !modal_ && hwnd_ && IsDialogMessageA(hwnd_, message);
}

BOOL KZCDialogBase::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void KZCDialogBase::OnOK() {
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void KZCDialogBase::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT KZCDialogBase::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        LRESULT result = 0;
        if (ReflectToChild(message, wparam, lparam, &result))
            return result;
        int id = LOWORD(wparam);
        int code = HIWORD(wparam);
        if (OnCommand(id, code, (HWND)lparam))
            return 0;
        if (id == IDOK && (code == BN_CLICKED || lparam == 0)) {
            OnOK();
            return 0;
        }
        if (id == IDCANCEL && (code == BN_CLICKED || lparam == 0)) {
            OnCancel();
            return 0;
        }
        return DefaultProc(message, wparam, lparam);
    }
    case WM_CLOSE:
        OnCancel();
        return 0;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}

LRESULT KZCDialogBase::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (previous_proc_)
        return CallWindowProcA(previous_proc_, hwnd_, message, wparam, lparam);
    if (default_called_)
        *default_called_ = true;
    return 0;
}

INT_PTR CALLBACK KZCDialogBase::StaticDialogProc(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
    KZCDialogBase* self = static_cast<KZCDialogBase*>(FromHandle(window));
    if (!self && message == WM_INITDIALOG) {
        self = reinterpret_cast<KZCDialogBase*>(lparam);
        self->Bind(window);
    }
    if (!self)
        return FALSE;

    bool default_called = false;
    bool* outer = self->default_called_;
    self->default_called_ = &default_called;
    LRESULT result = self->WindowProc(message, wparam, lparam);
    self->default_called_ = outer;

    if (message == WM_NCDESTROY) {
        self->Unbind();
        self->OnFinalDestroy();
        return FALSE;
    }
    if (default_called)
        return FALSE;
    switch (message) {
    // These answer through the return value itself.
    case WM_INITDIALOG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return (INT_PTR)result;
    }
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}
