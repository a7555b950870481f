// Edit boxes and check boxes of the pages.
#pragma once

#include "builder/ui/framework/kz_control_wnd.h"
#include "media/base/kz_string.h"

class KZCEdit : public KZEditWnd {};

// Swallows typed characters whose byte is in the excluded set; pasted text is not filtered.
class KZCExcludeCharsEdit : public KZCEdit {
public:
    void SetExcludedChars(const char* chars) { excluded_ = chars; }
    const KZString& GetExcludedChars() const { return excluded_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    KZString excluded_;
};

class KZCCheck : public KZButtonWnd {
public:
    bool IsChecked() const { return GetCheck() == BST_CHECKED; }
    void SetChecked(bool checked) { SetCheck(checked ? BST_CHECKED : BST_UNCHECKED); }
};
