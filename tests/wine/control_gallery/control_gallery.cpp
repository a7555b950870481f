// control_gallery [--seconds N]
// The library's custom controls in one window, caption "scrkit control gallery", for the Wine
// tests. What the controls report to their parent goes to stdout, one flushed line each:
//   command ID CODE      every WM_COMMAND (clicks, menu commands)
//   box RESULT           the command id a message box returned
//   radio ID             the radio group's selection, on the "Selected" button
//   link TARGET          the link label's action
//   color ID RRGGBB      the colour button's message to its parent (1175)
//   dialog RESULT RRGGBB the colour dialog's result and colour
//   dpi N                the screen's resolution, first of all
//   fit ID W H NW NH     answering KZ_WM_GALLERY_FIT (lparam: a window of this process, 0 for
//                        the gallery): per visible child with a text, its client size and the
//                        size its text needs in its own font, then "fit end"
// Controls: 110 edit excluding the short-name set, 111 edit excluding the path set, 120 to 122
// radio buttons (group ids 1 to 3), 125 "Selected", 126 selects id 3 through the group, 127
// disables the group, 130 check box, 140 link label, and the
// message box: 150 type flags (decimal), 151 text, 152 "Box" opens it with caption
// "Gallery box", 153 check box "French" switches the string table's language; 160 the colour
// button, pure green at the start; 170 opens the colour dialog on the button's colour, 180 the
// menu button (commands 1801 "First item", 1802 "Second item"), 190 the big button "New" (PNG
// 123, magenta transparent) with 191 toggling its enabled state, 200 the picture static (a 40 x 20
// picture, left half red, right half blue) with 201 giving it a 200 x 40 one, and 210 the splash
// window (240 x 160, light yellow, black text in 20,110 to 220,150). Positions are at 96 dpi and
// scaled with the screen's resolution.
#include <windows.h>

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/controls/kz_gui_string_table.h"
#include "builder/ui/controls/kz_picture_bitmap.h"
#include "builder/ui/controls/kzc_big_button.h"
#include "builder/ui/controls/kzc_color_dialog.h"
#include "builder/ui/controls/kzc_edit.h"
#include "builder/ui/controls/kzc_link_label.h"
#include "builder/ui/controls/kzc_menu_button.h"
#include "builder/ui/controls/kzc_message_box.h"
#include "builder/ui/controls/kzc_picture_static.h"
#include "builder/ui/controls/kzc_radio_group.h"
#include "builder/ui/controls/kzc_scolor_button.h"
#include "builder/ui/controls/kzc_splash_wnd.h"
#include "media/picture/kz_picture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const UINT KZ_WM_GALLERY_FIT = WM_APP + 1;
int g_dpi = 96;

int Scaled(int pixels) {
    return MulDiv(pixels, g_dpi, 96);
}

// The characters a short name and a path may not hold.
const char kShortNameExcluded[] = "\\/:*?\"<>|";
const char kPathExcluded[] = "/*?\"<>|";

void Log(const char* format, long long value) {
    std::printf(format, value);
    std::fflush(stdout);
}

void LinkClicked(const char* target, void*) {
    std::printf("link %s\n", target);
    std::fflush(stdout);
}

// An RGB picture whose left half is red and right half blue.
KZPicture* TwoColourPicture(int width, int height) {
    KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, width, height);
    if (!picture)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture->Row(y);
        for (int x = 0; x < width; ++x) {
            bool left = x < width / 2;
            row[x * 3] = left ? 255 : 0;
            row[x * 3 + 1] = 0;
            row[x * 3 + 2] = left ? 0 : 255;
        }
    }
    return picture;
}

// The size a control's text needs in the control's font: one line for buttons and edits, wrapped
// at the control's width for statics; check boxes and radio buttons add their box.
void ReportFit(HWND child) {
    char cls[32] = "", text[512] = "";
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    if (!IsWindowVisible(child) || !text[0])
        return;
    RECT client;
    GetClientRect(child, &client);
    HDC dc = GetDC(child);
    HFONT font = (HFONT)SendMessageA(child, WM_GETFONT, 0, 0);
    HGDIOBJ old = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT));
    LONG style = GetWindowLongA(child, GWL_STYLE);
    bool is_static = !lstrcmpiA(cls, "Static");
    bool is_button = !lstrcmpiA(cls, "Button");
    RECT need = {0, 0, client.right, 0};
    UINT format = DT_CALCRECT | (is_static ? DT_WORDBREAK : DT_SINGLELINE);
    if (is_static && (style & SS_NOPREFIX))
        format |= DT_NOPREFIX;
    if (!is_static && !is_button)
        format |= DT_NOPREFIX;
    DrawTextA(dc, text, -1, &need, format);
    int extra = 0;
    int type = style & BS_TYPEMASK;
    if (is_button && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                      type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE))
        extra = GetSystemMetrics(SM_CXMENUCHECK) + Scaled(4);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    std::printf("fit %d %ld %ld %ld %ld\n", GetDlgCtrlID(child), client.right, client.bottom,
                need.right - need.left + extra, need.bottom - need.top);
}

BOOL CALLBACK ReportFitOf(HWND child, LPARAM) {
    ReportFit(child);
    return TRUE;
}

class Gallery : public KZCWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
        case WM_CREATE:
            Populate();
            return 0;
        case WM_COMMAND:
            std::printf("command %u %u\n", unsigned(LOWORD(wparam)), unsigned(HIWORD(wparam)));
            std::fflush(stdout);
            if (HIWORD(wparam) == BN_CLICKED)
                Clicked(LOWORD(wparam));
            break;
        case KZC_WM_COLOR_CHANGED:
            std::printf("color %u %02X%02X%02X\n", unsigned(wparam), unsigned(lparam & 0xFF),
                        unsigned((lparam >> 8) & 0xFF), unsigned((lparam >> 16) & 0xFF));
            std::fflush(stdout);
            return 0;
        case WM_TIMER:
            ::DestroyWindow(hwnd_);
            return 0;
        // Posted by the tests; answered even while a modal dialog of this thread runs.
        case KZ_WM_GALLERY_FIT:
            EnumChildWindows(lparam ? (HWND)lparam : hwnd_, ReportFitOf, 0);
            std::printf("fit end\n");
            std::fflush(stdout);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return KZCWnd::WindowProc(message, wparam, lparam);
    }

private:
    HWND Child(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                                     Scaled(x), Scaled(y), Scaled(w), Scaled(h), hwnd_,
                                     (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(child, WM_SETFONT, (WPARAM)KZGetGUIFont(), 0);
        return child;
    }

    void Populate() {
        Child("Edit", "", WS_BORDER | ES_AUTOHSCROLL, 110, 10, 10, 180, 22);
        Child("Edit", "", WS_BORDER | ES_AUTOHSCROLL, 111, 200, 10, 180, 22);
        short_name_.SubclassDlgItem(110, hwnd_);
        short_name_.SetExcludedChars(kShortNameExcluded);
        path_.SubclassDlgItem(111, hwnd_);
        path_.SetExcludedChars(kPathExcluded);
        const char* labels[] = {"First", "Second", "Third"};
        for (int i = 0; i < 3; ++i) {
            Child("Button", labels[i], BS_AUTORADIOBUTTON | (i ? 0 : WS_GROUP), 120 + i,
                  10 + 90 * i, 40, 85, 20);
            radio_.AddDlgItem(hwnd_, 120 + i, i + 1);
        }
        Child("Button", "Selected", BS_PUSHBUTTON | WS_GROUP, 125, 280, 38, 60, 24);
        Child("Button", "Pick 3", BS_PUSHBUTTON, 126, 343, 38, 45, 24);
        Child("Button", "Off", BS_PUSHBUTTON, 127, 391, 38, 32, 24);
        Child("Button", "Check", BS_AUTOCHECKBOX, 130, 10, 70, 100, 20);
        check_.SubclassDlgItem(130, hwnd_);
        Child("Static", "Visit the site", SS_LEFT, 140, 120, 70, 150, 20);
        link_.Attach(hwnd_, 140);
        link_.SetLink(true, "https://example.org/scrkit", LinkClicked);
        Child("Edit", "0", WS_BORDER, 150, 10, 100, 60, 22);
        Child("Edit", "A question", WS_BORDER | ES_AUTOHSCROLL, 151, 80, 100, 200, 22);
        Child("Button", "Box", BS_PUSHBUTTON, 152, 290, 98, 60, 24);
        Child("Button", "French", BS_AUTOCHECKBOX, 153, 10, 130, 100, 20);
        Child("Button", "", BS_PUSHBUTTON, 160, 10, 160, 60, 24);
        color_.Attach(160, hwnd_);
        color_.SetColor(RGB(0, 255, 0), false);
        Child("Button", "Dialog...", BS_PUSHBUTTON, 170, 80, 160, 70, 24);
        Child("Button", "Menu", BS_PUSHBUTTON, 180, 160, 160, 90, 24);
        menu_button_.Attach(180, hwnd_);
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 1801, "First item");
        AppendMenuA(menu, MF_STRING, 1802, "Second item");
        menu_button_.SetMenu(menu, true);
        Child("Button", "New", BS_PUSHBUTTON, 190, 430, 10, 100, 100);
        big_.Attach(190, hwnd_);
        big_.SetPicture(IDB_BIG_NEW_PNG, 74, 64, RGB(255, 0, 255));
        Child("Button", "Big off", BS_PUSHBUTTON, 191, 430, 115, 100, 24);
        Child("Static", "", SS_LEFT, 200, 430, 150, 100, 60);
        picture_.SubclassDlgItem(200, hwnd_);
        picture_.SetPicture(TwoColourPicture(40, 20), true);
        Child("Button", "Wide", BS_PUSHBUTTON, 201, 430, 215, 100, 24);
        Child("Button", "Splash", BS_PUSHBUTTON, 210, 10, 200, 70, 24);
    }

    void ShowSplash() {
        // A plain light yellow picture, so that the text is the only dark thing on it.
        KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, 240, 160);
        if (!picture)
            return;
        picture->FillRGB(255, 255, 204);
        HBITMAP bitmap = KZCreateBitmapFromPicture(picture, RGB(255, 255, 255));
        picture->Release();
        RECT text = {20, 110, 220, 150};
        splash_.CreateSplash(bitmap, "Loading the gallery", text);
    }

    void Clicked(int id) {
        if (id == 125) {
            Log("radio %lld\n", radio_.Selected());
        } else if (id == 126) {
            radio_.Select(3, true);
        } else if (id == 127) {
            radio_.Enable(false);
        } else if (id == 153) {
            KZGUIStringTable::SetLanguage(IsDlgButtonChecked(hwnd_, 153) ? 1036 : 1033);
        } else if (id == 170) {
            KZCColorDialog dialog(color_.GetColor());
            INT_PTR result = dialog.DoModal(hwnd_);
            std::printf(
                "dialog %d %02X%02X%02X\n", int(result), unsigned(GetRValue(dialog.GetColor())),
                unsigned(GetGValue(dialog.GetColor())), unsigned(GetBValue(dialog.GetColor())));
            std::fflush(stdout);
        } else if (id == 191) {
            EnableWindow(big_, !IsWindowEnabled(big_));
        } else if (id == 201) {
            picture_.SetPicture(TwoColourPicture(200, 40), true);
        } else if (id == 210) {
            ShowSplash();
        } else if (id == 152) {
            char type[32] = "", text[2048] = "";
            GetDlgItemTextA(hwnd_, 150, type, sizeof(type));
            GetDlgItemTextA(hwnd_, 151, text, sizeof(text));
            KZCMessageBox box(text, "Gallery box", unsigned(std::strtoul(type, nullptr, 0)));
            Log("box %lld\n", box.Show(hwnd_));
        }
    }

    KZCExcludeCharsEdit short_name_;
    KZCExcludeCharsEdit path_;
    KZCRadioGroup radio_;
    KZCCheck check_;
    KZCLinkLabel link_;
    KZCSColorButton color_;
    KZCMenuButton menu_button_;
    KZCBigButton big_;
    KZCPictureStatic picture_;
    KZCSplashWnd splash_;
};

} // namespace

int main(int argc, char** argv) {
    int seconds = 120;
    if (argc == 3 && !std::strcmp(argv[1], "--seconds"))
        seconds = std::atoi(argv[2]);
    SetProcessDPIAware();
    {
        HDC screen = GetDC(nullptr);
        g_dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
    }
    std::printf("dpi %d\n", g_dpi);
    std::fflush(stdout);
    if (!KZCreateGUIResources())
        return 1;
    Gallery gallery;
    KZCreateArgs args;
    args.class_name = "ScrkitGallery";
    args.title = "scrkit control gallery";
    args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    args.x = 100;
    args.y = 80;
    args.width = Scaled(560);
    args.height = Scaled(290);
    args.background = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!gallery.Create(args))
        return 1;
    SetTimer(gallery, 1, UINT(seconds) * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(gallery, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    KZReleaseGUIResources();
    return 0;
}
