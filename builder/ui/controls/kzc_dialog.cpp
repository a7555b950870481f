#include "builder/ui/controls/kzc_dialog.h"

#include "builder/ui/controls/kz_gui_resources.h"

namespace {

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    SendMessageA(child, WM_SETFONT, (WPARAM)font, FALSE);
    return TRUE;
}

} // namespace

BOOL KZCDialog::OnInitDialog() {
    if (KZGetUseGUIFont())
        EnumChildWindows(hwnd_, SetFontOnChild, (LPARAM)KZGetGUIFont());
    if (placement_ && placement_->valid) {
        WINDOWPLACEMENT placement = placement_->placement;
        placement.length = sizeof(placement);
        SetWindowPlacement(hwnd_, &placement);
    }
    return KZCDialogBase::OnInitDialog();
}

void KZCDialog::OnOK() {
    if (placement_) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        placement_->valid = GetWindowPlacement(hwnd_, &placement) != FALSE;
        if (placement_->valid)
            placement_->placement = placement;
    }
    KZCDialogBase::OnOK();
}
