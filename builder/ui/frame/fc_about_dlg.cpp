#include "builder/ui/frame/fc_about_dlg.h"

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_picture_bitmap.h"
#include "builder/ui/frame/fc_resource_text.h"
#include "media/picture/kz_picture.h"

const char FC_PRODUCT_PAGE[] = "http://www.marqon.example/tarvo-saver/";
const char FC_MAKER_PAGE[] = "http://www.marqon.example/";

namespace {

void OpenPage(const char* target, void*) {
    if (target && *target)
        ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

FCAboutDlg::FCAboutDlg() : KZCDialog(IDD_ABOUT) {}

BOOL FCAboutDlg::OnInitDialog() {
    BOOL result = KZCDialog::OnInitDialog();
    {
        KZWindowDC screen(nullptr);
        int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
        link_font_.Reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    }
    if (KZPicture* picture = KZLoadPngResource(IDB_SPLASH_PNG)) {
        image_.Reset(KZCreateBitmapFromPicture(picture, GetSysColor(COLOR_BTNFACE)));
        image_width_ = picture->Width();
        image_height_ = picture->Height();
        picture->Release();
    }
    int width = image_width_ > 2 ? image_width_ - 2 : 200;
    int height = image_height_ > 2 ? image_height_ - 2 : 150;
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, GetWindowLongA(hwnd_, GWL_STYLE), FALSE,
                       GetWindowLongA(hwnd_, GWL_EXSTYLE));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(GetDlgItem(hwnd_, IDC_ABOUT_IMAGE), nullptr, 0, 0, width, height, SWP_NOZORDER);
    // Centred on its owner, as a dialog is.
    HWND owner = ::GetParent(hwnd_);
    RECT around;
    if (owner && GetWindowRect(owner, &around)) {
        int x = (around.left + around.right - (frame.right - frame.left)) / 2;
        int y = (around.top + around.bottom - (frame.bottom - frame.top)) / 2;
        SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    if (link_.Attach(hwnd_, IDC_ABOUT_LINK)) {
        link_.SetLink(true, FC_PRODUCT_PAGE, OpenPage);
        link_.SetLinkCursor(
            LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_POINTING_HAND)));
        link_.SetBackgroundColor(RGB(238, 238, 238));
        if (link_font_.Get())
            link_.Send(WM_SETFONT, (WPARAM)link_font_.Get(), TRUE);
        RECT rect;
        GetWindowRect(link_, &rect);
        int link_width = rect.right - rect.left;
        // Its own size; top at 94, right edge 5 pixels inside the image's right edge (the image
        // is drawn from its pixel 1,1).
        int right = image_width_ - 1 - 5;
        SetWindowPos(link_, HWND_TOP, right - link_width, 94, 0, 0, SWP_NOSIZE);
    }
    return result;
}

bool FCAboutDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_ABOUT_IMAGE && code == BN_CLICKED) {
        EndDialog(IDOK);
        return true;
    }
    return false;
}

void FCAboutDlg::DrawImage(const DRAWITEMSTRUCT* item) {
    HDC dc = item->hDC;
    RECT client = item->rcItem;
    if (image_.Get()) {
        KZMemoryDC memory(dc);
        KZSelectObject select(memory, image_.Get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 1, 1, SRCCOPY);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    KZSelectObject font(dc, (HFONT)SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    KZString version;
    version.Format(FCLoadText(IDS_VERSION_FORMAT), 2, 4);
    KZString text = version;
    text += "\n";
    KZWindowDC screen(nullptr);
    if (GetDeviceCaps(screen, LOGPIXELSY) <= 96)
        text += "\n";
    text += "\n";
    text += FCLoadText(IDS_ABOUT_CREDITS);
    RECT credits = {20, 94, 420, 494};
    DrawTextA(dc, text, -1, &credits, DT_WORDBREAK | DT_NOPREFIX);
    SetTextColor(dc, RGB(85, 85, 85));
    RECT notice = {10, 220, 410, 620};
    DrawTextA(dc, FCLoadText(IDS_ABOUT_NOTICE), -1, &notice, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT FCAboutDlg::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DRAWITEM && wparam == IDC_ABOUT_IMAGE) {
        DrawImage(reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    }
    return KZCDialog::WindowProc(message, wparam, lparam);
}
