// control_gallery [--seconds N]
// The library's custom controls in one window, caption "scrkit control gallery", for the Wine
// tests. What the controls report to their parent goes to stdout, one flushed line each:
//   command ID CODE      every WM_COMMAND (clicks, menu commands)
//   box RESULT           the command id a message box returned
//   radio ID             the radio group's selection, on the "Selected" button
//   link TARGET          the link label's action
//   color ID RRGGBB      the colour button's message to its parent (1175)
// Controls: 110 edit excluding the short-name set, 111 edit excluding the path set, 120 to 122
// radio buttons (group ids 1 to 3), 125 "Selected", 126 selects id 3 through the group, 127
// disables the group, 130 check box, 140 link label, and the
// message box: 150 type flags (decimal), 151 text, 152 "Box" opens it with caption
// "Gallery box", 153 check box "French" switches the string table's language; 160 the colour
// button, pure green at the start.
#include <windows.h>

#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/controls/kz_gui_string_table.h"
#include "builder/ui/controls/kzc_edit.h"
#include "builder/ui/controls/kzc_link_label.h"
#include "builder/ui/controls/kzc_message_box.h"
#include "builder/ui/controls/kzc_radio_group.h"
#include "builder/ui/controls/kzc_scolor_button.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

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
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return KZCWnd::WindowProc(message, wparam, lparam);
    }

private:
    HWND Child(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        HWND child =
            CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h,
                            hwnd_, (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
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
        Child("Button", "Pick 3", BS_PUSHBUTTON, 126, 345, 38, 30, 24);
        Child("Button", "Off", BS_PUSHBUTTON, 127, 380, 38, 30, 24);
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
};

} // namespace

int main(int argc, char** argv) {
    int seconds = 120;
    if (argc == 3 && !std::strcmp(argv[1], "--seconds"))
        seconds = std::atoi(argv[2]);
    SetProcessDPIAware();
    if (!KZCreateGUIResources())
        return 1;
    Gallery gallery;
    KZCreateArgs args;
    args.class_name = "ScrkitGallery";
    args.title = "scrkit control gallery";
    args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    args.x = 100;
    args.y = 80;
    args.width = 420;
    args.height = 260;
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
