// The library's message box: buttons, icon, default button and topmost flag from Windows
// message-box type flags, labels from KZGUIStringTable in the current language. The text wraps
// and the box grows to fit it. Control ids: the buttons carry their command ids (IDOK ...
// IDNO), the text is static 65535 and the icon static 20, as in the system's box.
#pragma once

#include "builder/ui/controls/kz_message_box_rules.h"
#include "builder/ui/controls/kzc_dialog.h"
#include "media/base/kz_string.h"

class KZCMessageBox : public KZCDialog {
public:
    enum { kTextId = 65535, kIconId = 20 };

    KZCMessageBox(const char* text, const char* caption, unsigned type);
    // Modal; the command id of the pressed button (IDCANCEL when the box could not be shown).
    int Show(HWND owner);
    const KZMessageBoxLayout& GetLayout() const { return layout_; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void Layout();

    KZString text_;
    KZString caption_;
    KZMessageBoxLayout layout_;
};
