// The help panel of a real frame in this process under Wine: window.external reached the way a
// page reaches it (the browser site's document host), called through IDispatch; and the plain
// panel that stands in when the browser control's class is not registered.
#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <mshtmhst.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builder/engine/fc_document.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/frame/fc_main_view.h"
#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/framework/kz_win_app.h"
#include "tests/unit/builder/ui/fc_test_resources_win32.h"
#include "builder/ui/help/fc_html_wnd.h"

namespace {

const char kBrowserClass[] = "CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}";
const char kBrowserBackup[] = "Software\\Tarvo Saver Help Test\\Browser class";

class ScriptedApp : public KZCWinApp {
public:
    int DoMessageBox(const char* text, unsigned, unsigned) override {
        texts.push_back(text);
        return answer;
    }
    std::vector<std::string> texts;
    int answer = IDCANCEL;
};

std::wstring Wide(const char* text) {
    return std::wstring(text, text + strlen(text));
}

std::string Narrow(BSTR text) {
    std::string result;
    for (; text && *text; ++text)
        result += (char)*text;
    return result;
}

void Pump() {
    MSG message;
    for (int round = 0; round < 20; ++round) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}

class HelpPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        resources_ = FCSetUpFrameTest(SCRKIT_EXE);
        ASSERT_NE(resources_, nullptr) << SCRKIT_EXE;
    }

    void SetUp() override {
        app_.SetAppName("Tarvo Saver Help Test");
        app_.SetRegistryKey("Marqon Technologies");
    }

    void TearDown() override { delete frame_; }

    void MakeFrame() {
        frame_ = new FCMainFrame();
        ASSERT_TRUE(frame_->CreateFrame("Tarvo Saver", 96));
        app_.SetMainWindow(nullptr);
        view_ =
            (FCMainView*)KZCWnd::FromHandle(FindWindowExA(*frame_, nullptr, "FCMainView", nullptr));
        ASSERT_NE(view_, nullptr);
    }

    // window.external as the browser gets it from its site.
    IDispatch* External() {
        FCHTMLWnd* html = view_->GetHelpBrowser();
        if (!html)
            return nullptr;
        KZComPtr<IOleObject> control;
        KZComPtr<IOleClientSite> site;
        KZComPtr<IDocHostUIHandler> host;
        IDispatch* external = nullptr;
        if (SUCCEEDED(
                html->GetBrowser()->QueryInterface(IID_IOleObject, (void**)control.Receive())) &&
            SUCCEEDED(control->GetClientSite(site.Receive())) && site &&
            SUCCEEDED(site->QueryInterface(IID_IDocHostUIHandler, (void**)host.Receive())))
            host->GetExternal(&external);
        return external;
    }

    DISPID Id(IDispatch* external, const char* name) {
        std::wstring wide = Wide(name);
        LPOLESTR names[] = {&wide[0]};
        DISPID id = 0;
        external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        return id;
    }

    // Calls `name` as the script engine would: a property get, or a method with one text.
    std::string Call(IDispatch* external, const char* name, const char* argument = nullptr,
                     WORD flags = DISPATCH_METHOD) {
        VARIANT arg, result;
        VariantInit(&arg);
        VariantInit(&result);
        DISPPARAMS params = {nullptr, nullptr, 0, 0};
        if (argument) {
            arg.vt = VT_BSTR;
            arg.bstrVal = SysAllocString(Wide(argument).c_str());
            params.rgvarg = &arg;
            params.cArgs = 1;
        }
        HRESULT hr = external->Invoke(Id(external, name), IID_NULL, LOCALE_USER_DEFAULT, flags,
                                      &params, &result, nullptr, nullptr);
        EXPECT_EQ(hr, S_OK) << name;
        std::string text = result.vt == VT_BSTR ? Narrow(result.bstrVal) : "";
        VariantClear(&arg);
        VariantClear(&result);
        return text;
    }
    std::string Get(IDispatch* external, const char* name) {
        return Call(external, name, nullptr, DISPATCH_PROPERTYGET);
    }

    ScriptedApp app_;
    FCMainFrame* frame_ = nullptr;
    FCMainView* view_ = nullptr;
    static HMODULE resources_;
};

HMODULE HelpPanelTest::resources_ = nullptr;

TEST_F(HelpPanelTest, NamesResolveWholeAndWithTheirCase) {
    MakeFrame();
    KZComPtr<IDispatch> external;
    *external.Receive() = External();
    ASSERT_TRUE(external) << "the document host offers window.external";
    KZComPtr<IUnknown> unknown;
    EXPECT_EQ(external->QueryInterface(IID_IUnknown, (void**)unknown.Receive()), S_OK);
    KZComPtr<IDispatch> again;
    *again.Receive() = External();
    EXPECT_EQ(again.Get(), external.Get()) << "one object for the window";

    std::wstring known = L"nsteps", unknown_name = L"NSteps";
    LPOLESTR names[] = {&known[0], &unknown_name[0]};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(external->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 12002);
    EXPECT_EQ(ids[1], -1);
    EXPECT_EQ(external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, ids), S_OK);
    // An unknown id is no error either.
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(external->Invoke(4242, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                               nullptr, nullptr),
              S_OK);
}

TEST_F(HelpPanelTest, StepsMoveAndStopAtTheEnds) {
    MakeFrame();
    KZComPtr<IDispatch> external;
    *external.Receive() = External();
    ASSERT_TRUE(external);
    FCHTMLWnd* html = view_->GetHelpBrowser();
    EXPECT_EQ(Get(external.Get(), "nsteps"), "9");
    EXPECT_EQ(Get(external.Get(), "curstep"), "0");
    EXPECT_EQ(html->GetShownStep(), 0);

    Call(external.Get(), "prev_step");
    EXPECT_EQ(Get(external.Get(), "curstep"), "0");
    Call(external.Get(), "next_step");
    EXPECT_EQ(Get(external.Get(), "curstep"), "1");
    EXPECT_EQ(frame_->GetCurrentStep(), 1);
    EXPECT_EQ(html->GetShownStep(), 1) << "the help page follows the step";
    for (int i = 0; i < 10; ++i)
        Call(external.Get(), "next_step");
    EXPECT_EQ(Get(external.Get(), "curstep"), "8");

    struct Goto {
        const char* argument;
        const char* step;
    } moves[] = {{"3", "3"}, {"12", "3"}, {"-1", "3"}, {"abc", "3"}, {"0", "0"}, {"8", "8"}};
    for (const Goto& move : moves) {
        Call(external.Get(), "goto_step", move.argument);
        EXPECT_EQ(Get(external.Get(), "curstep"), move.step) << move.argument;
    }
    Call(external.Get(), "goto_step"); // no argument: nothing
    EXPECT_EQ(Get(external.Get(), "curstep"), "8");
    EXPECT_EQ(html->GetShownStep(), 8);
}

TEST_F(HelpPanelTest, ColoursFromTheSystemColours) {
    int elements[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    COLORREF saved[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT)};
    COLORREF classic[] = {RGB(212, 208, 200), RGB(255, 255, 255)};
    ASSERT_TRUE(SetSysColors(2, elements, classic));
    MakeFrame();
    KZComPtr<IDispatch> external;
    *external.Receive() = External();
    std::vector<std::pair<std::string, std::string>> seen;
    if (external) {
        for (const char* number : {"1", "2", "5", "0", "10", "two"})
            seen.push_back({number, Call(external.Get(), "get_color", number)});
    }
    SetSysColors(2, elements, saved);
    ASSERT_TRUE(external);
    std::vector<std::pair<std::string, std::string>> expected = {
        {"1", "#D4D0C8"}, {"2", "#E9E7E3"},  {"5", "#FFFFFF"},
        {"0", "#000000"}, {"10", "#000000"}, {"two", "#000000"}};
    EXPECT_EQ(seen, expected);
}

TEST_F(HelpPanelTest, CloseAsksToSaveChangesFirst) {
    MakeFrame();
    KZComPtr<IDispatch> external;
    *external.Receive() = External();
    ASSERT_TRUE(external);
    frame_->GetDocument().modified = true;
    app_.answer = IDCANCEL;
    Call(external.Get(), "close");
    EXPECT_TRUE(app_.texts.empty()) << "the request is posted, not run inside the script's call";
    Pump();
    ASSERT_EQ(app_.texts.size(), 1u);
    EXPECT_NE(app_.texts[0].find("Save changes"), std::string::npos) << app_.texts[0];
    EXPECT_TRUE(IsWindow(*frame_)) << "Cancel keeps the wizard open";
}

// Wine's browser here has no HTML engine and never finishes a page: the plain panel stays in
// front until a page is shown.
TEST_F(HelpPanelTest, PlainPanelUntilTheBrowserShowsAPage) {
    MakeFrame();
    FCHTMLWnd* html = view_->GetHelpBrowser();
    ASSERT_NE(html, nullptr);
    HWND view = FindWindowExA(*frame_, nullptr, "FCMainView", nullptr);
    HWND panel = FindWindowExA(view, nullptr, "FCHelpFallbackWnd", nullptr);
    ASSERT_NE(panel, nullptr);
    Pump();
    EXPECT_FALSE(html->HasShownAPage());
    EXPECT_TRUE(GetWindowLongPtrA(panel, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrA(*html, GWL_STYLE) & WS_VISIBLE);
    html->OnNavigateComplete2("res://scrkit.exe/step1.html");
    EXPECT_FALSE(GetWindowLongPtrA(panel, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrA(*html, GWL_STYLE) & WS_VISIBLE);
}

// The browser host on its own: what Navigate passes comes back through the event hook.
class RecordingBrowser : public KZHTMLWnd {
public:
    void OnBeforeNavigate2(const char* url, DWORD flags, const char* target, const void* post_data,
                           size_t post_size, const char* headers, bool* cancel) override {
        urls.push_back(url);
        posts.push_back(std::string((const char*)post_data, post_data ? post_size : 0));
        this->headers.push_back(headers);
        *cancel = cancel_all;
    }
    std::vector<std::string> urls, posts, headers;
    bool cancel_all = true;
};

TEST_F(HelpPanelTest, NavigateArgumentsReachTheBrowser) {
    KZCreateArgs args;
    args.style = WS_POPUP;
    args.width = args.height = 200;
    KZCWnd parent;
    ASSERT_TRUE(parent.Create(args));
    RecordingBrowser browser;
    RECT rect = {0, 0, 200, 200};
    ASSERT_TRUE(browser.CreateBrowser(parent, rect, 7));
    EXPECT_EQ(GetDlgCtrlID(browser), 7);
    Pump();
    ASSERT_FALSE(browser.urls.empty()) << "about:blank at creation";
    EXPECT_EQ(browser.urls[0], "about:blank");
    browser.urls.clear();
    browser.posts.clear();
    browser.headers.clear();
    ASSERT_TRUE(browser.Navigate("res://C:\\x\\scrkit.exe/step2.html", 0, "_self", "a=1&b=2", 7,
                                 "X-Test: 1\r\n"));
    Pump();
    ASSERT_EQ(browser.urls.size(), 1u);
    EXPECT_EQ(browser.urls[0], "res://C:\\x\\scrkit.exe/step2.html");
    // Wine's browser hands back neither the target frame nor the posted bytes, only their count.
    EXPECT_EQ(browser.posts[0].size(), 7u);
    EXPECT_EQ(browser.headers[0], "X-Test: 1\r\n");
    browser.DestroyWindow();
    EXPECT_EQ(browser.GetBrowser(), nullptr) << "the control goes with its window";
}

// Without the browser control's class the frame still starts, with the plain panel.
TEST_F(HelpPanelTest, PlainPanelWithoutTheBrowserClass) {
    HKEY backup = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserBackup, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &backup, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCopyTreeA(HKEY_CLASSES_ROOT, kBrowserClass, backup), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, kBrowserClass), ERROR_SUCCESS);
    frame_ = new FCMainFrame();
    bool created = frame_->CreateFrame("Tarvo Saver", 96);
    // The class goes back before anything is checked, so other programs find it again.
    HKEY restored = nullptr;
    LONG put = RegCreateKeyExA(HKEY_CLASSES_ROOT, kBrowserClass, 0, nullptr, 0, KEY_ALL_ACCESS,
                               nullptr, &restored, nullptr);
    if (put == ERROR_SUCCESS) {
        put = RegCopyTreeA(backup, nullptr, restored);
        RegCloseKey(restored);
    }
    RegCloseKey(backup);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tarvo Saver Help Test");
    ASSERT_EQ(put, ERROR_SUCCESS) << "the browser class is back";
    ASSERT_TRUE(created);
    app_.SetMainWindow(nullptr);

    HWND view = FindWindowExA(*frame_, nullptr, "FCMainView", nullptr);
    view_ = (FCMainView*)KZCWnd::FromHandle(view);
    ASSERT_NE(view_, nullptr);
    EXPECT_EQ(view_->GetHelpBrowser(), nullptr);
    HWND panel = FindWindowExA(view, nullptr, "FCHelpFallbackWnd", nullptr);
    ASSERT_NE(panel, nullptr);
    char title[128] = "", hint[512] = "";
    GetDlgItemTextA(panel, 133, title, sizeof(title));
    GetDlgItemTextA(panel, 134, hint, sizeof(hint));
    EXPECT_STREQ(title, "Tarvo Saver");
    EXPECT_NE(strstr(hint, "Flash movie"), nullptr) << hint;
    for (int id : {133, 134})
        EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(panel, id), GWL_STYLE) & WS_VISIBLE) << id;
    frame_->NextStep();
    GetDlgItemTextA(panel, 133, title, sizeof(title));
    EXPECT_STREQ(title, "Setup Parameters");
    RECT rect;
    GetWindowRect(panel, &rect);
    EXPECT_EQ(rect.right - rect.left, 216);
}

} // namespace
