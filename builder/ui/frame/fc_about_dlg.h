// The About box: a borderless pop-up the size of the splash image, showing the version, the
// credits and the maker's notice over it, with a link to the product page; a click closes it.
#pragma once

#include "builder/ui/controls/kzc_dialog.h"
#include "builder/ui/controls/kzc_link_label.h"
#include "builder/ui/framework/kz_guards.h"

class FCAboutDlg : public KZCDialog {
public:
    FCAboutDlg();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void DrawImage(const DRAWITEMSTRUCT* item);

    KZFont link_font_;
    KZBitmap image_;
    int image_width_ = 0;
    int image_height_ = 0;
    KZCLinkLabel link_;
};

// The maker's product page, opened by the About box's link.
extern const char FC_PRODUCT_PAGE[];
// The maker's home page, opened from the help pages.
extern const char FC_MAKER_PAGE[];
