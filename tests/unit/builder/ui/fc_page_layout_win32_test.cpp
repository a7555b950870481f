// The Start, Setup, Style, Movie & Playback, Screensaver Settings, Installation Files, Start
// Menu Items, Post-Setup Actions and Finish pages as the program makes them, in English
// (scrkit.exe's resources) and in French (" fra.dll"), at the resolution Wine reports to this
// process: every control lies inside the page area, none overlaps another, every label fits.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/engine/fc_document.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/pages/fc_step_pages.h"
#include "tests/unit/builder/ui/fc_test_resources_win32.h"

namespace {

struct Child {
    HWND window;
    RECT rect; // in the page's client coordinates
    std::string text;
    std::string name;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) // the page itself stays hidden
        return TRUE;
    auto* children = reinterpret_cast<std::vector<Child>*>(context);
    Child child = {window, {}, {}, {}};
    GetWindowRect(window, &child.rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&child.rect), 2);
    char text[512] = "";
    GetWindowTextA(window, text, sizeof(text));
    child.text = text;
    child.name = std::to_string(GetDlgCtrlID(window)) + " \"" + text + "\"";
    children->push_back(child);
    return TRUE;
}

// The section headers (bold, one line) of the step shown; 1197 and 1198 are captions on Start.
int g_step = 0;

bool IsHeader(int id) {
    if (g_step == 7)
        return id == 1262;
    if (g_step == 8)
        return id == 1199 || id == 1200 || id == 1202;
    if (g_step == 3)
        return id == 1306 || id == 1197 || id == 1198 || id == 1400 || id == 1401 || id == 1402;
    return id == 1201 || id == 1308 || id == 1310 || id == 1311 || id == 1405 || id == 1307;
}

// The width left for the text of a control, and whether it wraps.
int TextRoom(HWND window, int width, bool* wraps) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof(name));
    LONG style = GetWindowLongA(window, GWL_STYLE);
    int dpi = 96;
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    if (lstrcmpiA(name, "Static") == 0) {
        int type = style & SS_TYPEMASK;
        *wraps = (type == SS_LEFT || type == SS_CENTER) && !IsHeader(GetDlgCtrlID(window));
        return width;
    }
    *wraps = (style & BS_MULTILINE) != 0;
    int type = style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON ||
        type == BS_RADIOBUTTON)
        return width - GetSystemMetrics(SM_CXMENUCHECK) - MulDiv(4, dpi, 96);
    if (type == BS_OWNERDRAW) // the menu button's arrow
        return width - MulDiv(16, dpi, 96) - MulDiv(6, dpi, 96);
    return width - MulDiv(6, dpi, 96);
}

class PageLayoutTest : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        english_ =
            LoadLibraryExA(FCWinePath(SCRKIT_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        french_ = LoadLibraryExA(FCWinePath(SCRKIT_FRA).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(english_ && french_);
        ASSERT_TRUE(KZCreateGUIResources());
    }

    void Check(HINSTANCE module, const char* language) {
        KZSetResourceInstance(module);
        HDC screen = GetDC(nullptr);
        int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        FCFrameSizes sizes = FCComputeFrameSizes(dpi);
        HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, sizes.page_width,
                                      sizes.page_height, nullptr, nullptr, nullptr, nullptr);
        FCDocument document;
        FCHeaderBitmaps bitmaps;
        bitmaps.Build();
        g_step = GetParam();
        FCStepDlg* page = FCCreateStepPage(GetParam(), nullptr, &document, &bitmaps);
        ASSERT_TRUE(page->CreateModeless(parent)) << language;
        std::vector<Child> children;
        EnumChildWindows(*page, Collect, (LPARAM)&children);
        SCOPED_TRACE(std::string(language) + " at " + std::to_string(dpi) + " dpi, step " +
                     std::to_string(GetParam()));
        EXPECT_GT(children.size(), 3u);
        for (size_t i = 0; i < children.size(); ++i) {
            const Child& c = children[i];
            if (GetParent(c.window) != *page)
                continue; // the parts of a combo box
            EXPECT_TRUE(c.rect.left >= 0 && c.rect.top >= 0 && c.rect.right <= sizes.page_width &&
                        c.rect.bottom <= sizes.page_height)
                << c.name << " at " << c.rect.left << "," << c.rect.top << "," << c.rect.right
                << "," << c.rect.bottom;
            for (size_t j = i + 1; j < children.size(); ++j) {
                RECT overlap;
                if (GetParent(children[j].window) == *page &&
                    IntersectRect(&overlap, &c.rect, &children[j].rect))
                    ADD_FAILURE() << c.name << " overlaps " << children[j].name;
            }
            char name[32] = "";
            GetClassNameA(c.window, name, sizeof(name));
            // Labels only: what an edit or a list holds is the author's.
            if (c.text.empty() ||
                (lstrcmpiA(name, "Static") != 0 && lstrcmpiA(name, "Button") != 0))
                continue;
            bool wraps = false;
            int width = c.rect.right - c.rect.left;
            int room = TextRoom(c.window, width, &wraps);
            HFONT font = IsHeader(GetDlgCtrlID(c.window))
                             ? KZGetGUIResources().bold_font
                             : (HFONT)SendMessageA(c.window, WM_GETFONT, 0, 0);
            HDC dc = GetDC(c.window);
            HGDIOBJ old = SelectObject(dc, font);
            RECT need = {0, 0, room, 0};
            DrawTextA(dc, c.text.c_str(), -1, &need,
                      DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
            RECT line = {0, 0, 0, 0}; // for the message: the text on one line
            DrawTextA(dc, c.text.c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE);
            SelectObject(dc, old);
            ReleaseDC(c.window, dc);
            EXPECT_LE(need.right, room) << c.name;
            EXPECT_LE(need.bottom, c.rect.bottom - c.rect.top)
                << c.name << ": " << line.right << " x " << line.bottom << " in " << room << " x "
                << c.rect.bottom - c.rect.top;
        }
        delete page;
        DestroyWindow(parent);
    }

    static HINSTANCE english_;
    static HINSTANCE french_;
};

HINSTANCE PageLayoutTest::english_ = nullptr;
HINSTANCE PageLayoutTest::french_ = nullptr;

TEST_P(PageLayoutTest, EveryControlInsideAndEveryTextFits) {
    Check(english_, "English");
    Check(french_, "French");
}

INSTANTIATE_TEST_SUITE_P(StartToSettings, PageLayoutTest, ::testing::Values(0, 1, 2, 3, 4));

} // namespace
INSTANTIATE_TEST_SUITE_P(Files, PageLayoutTest, ::testing::Values(5));
INSTANTIATE_TEST_SUITE_P(Menu, PageLayoutTest, ::testing::Values(6));
INSTANTIATE_TEST_SUITE_P(Post, PageLayoutTest, ::testing::Values(7));
INSTANTIATE_TEST_SUITE_P(Finish, PageLayoutTest, ::testing::Values(8));
