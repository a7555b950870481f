// The window framework on real windows (under Wine): binding, reflection, subclassing by id,
// dialogs from a template with data exchange, the excluded-characters edit and the radio group.
#include <windows.h>

#include <gtest/gtest.h>

#include "builder/ui/controls/kzc_edit.h"
#include "builder/ui/controls/kzc_radio_group.h"
#include "builder/ui/framework/kz_control_wnd.h"
#include "builder/ui/framework/kz_dialog_base.h"
#include "builder/ui/framework/kz_win_app.h"
#include "builder/ui/framework/kz_window.h"

namespace {

// A button that counts the clicks its parent reflects to it.
class CountingButton : public KZButtonWnd {
public:
    int clicks = 0;

protected:
    bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM, LRESULT* result) override {
        if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
            ++clicks;
            *result = 0;
            return true;
        }
        return false;
    }
};

class Frame : public KZCWnd {
public:
    int created = 0;
    int destroyed = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_CREATE)
            ++created;
        if (message == WM_NCDESTROY)
            ++destroyed;
        return KZCWnd::WindowProc(message, wparam, lparam);
    }
};

TEST(Window, BindsAtCreationAndForgetsAtDestruction) {
    Frame frame;
    KZCreateArgs args;
    args.title = "framework test";
    args.width = 200;
    args.height = 100;
    ASSERT_TRUE(frame.Create(args));
    HWND handle = frame.GetHandle();
    EXPECT_EQ(KZCWnd::FromHandle(handle), &frame);
    EXPECT_EQ(frame.created, 1); // WM_CREATE reached the object: bound before it
    frame.DestroyWindow();
    EXPECT_EQ(frame.destroyed, 1);
    EXPECT_EQ(frame.GetHandle(), nullptr);
    EXPECT_FALSE(IsWindow(handle));
}

TEST(Window, ParentReflectsCommandsToTheBoundChild) {
    Frame frame;
    KZCreateArgs args;
    ASSERT_TRUE(frame.Create(args));
    CountingButton button;
    ASSERT_TRUE(button.CreateButton(frame, 300, "Press", BS_PUSHBUTTON | WS_VISIBLE, 0, 0, 80, 24));
    EXPECT_EQ(KZCWnd::FromHandle(button), &button);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(button.clicks, 1);

    // A plain child without an object: the parent's own handling sees it.
    HWND plain = CreateWindowExA(0, "BUTTON", "Plain", WS_CHILD | BS_PUSHBUTTON, 0, 30, 80, 24,
                                 frame, (HMENU)301, nullptr, nullptr);
    int before = button.clicks;
    SendMessageA(plain, BM_CLICK, 0, 0);
    EXPECT_EQ(button.clicks, before);
}

TEST(Window, SubclassByIdAndGiveBack) {
    Frame frame;
    KZCreateArgs args;
    ASSERT_TRUE(frame.Create(args));
    HWND plain = CreateWindowExA(0, "BUTTON", "Plain", WS_CHILD | BS_PUSHBUTTON, 0, 0, 80, 24,
                                 frame, (HMENU)302, nullptr, nullptr);
    WNDPROC original = (WNDPROC)GetWindowLongPtrA(plain, GWLP_WNDPROC);
    {
        CountingButton button;
        ASSERT_TRUE(button.SubclassDlgItem(302, frame));
        EXPECT_FALSE(CountingButton().SubclassDlgItem(302, frame)); // already bound
        SendMessageA(plain, BM_CLICK, 0, 0);
        EXPECT_EQ(button.clicks, 1);
    } // the object goes, the control stays with its own procedure
    EXPECT_TRUE(IsWindow(plain));
    EXPECT_EQ(KZCWnd::FromHandle(plain), nullptr);
    EXPECT_EQ((WNDPROC)GetWindowLongPtrA(plain, GWLP_WNDPROC), original);
}

// A dialog template in memory: an edit (100), a check box (101), two radios (102, 103).
struct TestTemplate {
    alignas(4) WORD words[512];
    int used = 0;
    void Word(WORD w) { words[used++] = w; }
    void Align() {
        if (used % 2)
            Word(0);
    }
    void Control(DWORD style, WORD id, WORD atom, short y) {
        Align();
        DLGITEMTEMPLATE item = {style | WS_CHILD | WS_VISIBLE, 0, 5, y, 100, 12, id};
        memcpy(&words[used], &item, sizeof(item));
        used += sizeof(item) / 2;
        Word(0xFFFF), Word(atom), Word(0), Word(0);
    }
    const DLGTEMPLATE* Build() {
        DLGTEMPLATE dialog = {WS_POPUP | WS_CAPTION, 0, 4, 0, 0, 120, 80};
        memcpy(words, &dialog, sizeof(dialog));
        used = sizeof(dialog) / 2;
        Word(0), Word(0), Word(0); // no menu, default class, no title
        Control(ES_AUTOHSCROLL, 100, 0x81, 5);
        Control(BS_AUTOCHECKBOX, 101, 0x80, 20);
        Control(BS_AUTORADIOBUTTON | WS_GROUP, 102, 0x80, 35);
        Control(BS_AUTORADIOBUTTON, 103, 0x80, 50);
        return reinterpret_cast<const DLGTEMPLATE*>(words);
    }
};

class ExchangeDialog : public KZCDialogBase {
public:
    KZString text = "hello";
    bool check = true;
    int radio = 1;
    KZCExcludeCharsEdit edit;
    KZCRadioGroup group;

protected:
    BOOL OnInitDialog() override {
        edit.SubclassDlgItem(100, hwnd_);
        edit.SetExcludedChars("?*");
        group.AddDlgItem(hwnd_, 102, 7);
        group.AddDlgItem(hwnd_, 103, 8);
        return KZCDialogBase::OnInitDialog();
    }
    void DoDataExchange(KZDataExchange& dx) override {
        KZExchangeText(dx, 100, text);
        KZExchangeCheck(dx, 101, check);
        KZExchangeRadio(dx, 102, radio);
    }
};

TEST(Dialog, ExchangeFiltersAndRadioGroupOnAModelessDialog) {
    TestTemplate dialog_template;
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.CreateModelessIndirect(dialog_template.Build(), nullptr));
    HWND hwnd = dialog.GetHandle();
    EXPECT_EQ(KZCWnd::FromHandle(hwnd), &dialog);

    // Members went into the controls at initialisation.
    EXPECT_STREQ(KZGetWindowText(GetDlgItem(hwnd, 100)), "hello");
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 101, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 103, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(dialog.group.Selected(), 8);

    // Typed characters of the excluded set are swallowed, others pass.
    HWND edit = GetDlgItem(hwnd, 100);
    SetWindowTextA(edit, "");
    for (char c : {'a', '?', 'b', '*'})
        SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)c, 1);
    EXPECT_STREQ(KZGetWindowText(edit), "ab");
    // Text put in another way is not filtered.
    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM) "?");
    EXPECT_STREQ(KZGetWindowText(edit), "ab?");

    dialog.group.Select(7, true);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 103, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(dialog.group.Selected(), 7);
    dialog.group.Enable(false);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, 102)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, 103)));

    SendDlgItemMessageA(hwnd, 101, BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_STREQ(dialog.text, "ab?");
    EXPECT_FALSE(dialog.check);
    EXPECT_EQ(dialog.radio, 0);

    // Escape on a modeless dialog destroys it and unbinds the object.
    SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(dialog.GetHandle(), nullptr);
}

TEST(WinApp, PreferencesAndRecentFilesUnderTheCompanyKey) {
    KZCWinApp app;
    app.SetAppName("Framework Test");
    EXPECT_FALSE(app.WriteProfileInt("Settings", "Count", 5)); // no company key yet
    app.SetRegistryKey("Scrkit Tests");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Scrkit Tests");

    EXPECT_STREQ(app.GetProfileString("Settings", "Name", "none"), "none");
    EXPECT_EQ(app.GetProfileInt("Settings", "Count", -3), -3);
    ASSERT_TRUE(app.WriteProfileString("Settings", "Name", "a,b"));
    ASSERT_TRUE(app.WriteProfileInt("Settings", "Count", 42));
    EXPECT_STREQ(app.GetProfileString("Settings", "Name"), "a,b");
    EXPECT_EQ(app.GetProfileInt("Settings", "Count", 0), 42);
    // A string read as a number is absent, and the reverse.
    EXPECT_EQ(app.GetProfileInt("Settings", "Name", 7), 7);
    EXPECT_STREQ(app.GetProfileString("Settings", "Count", "x"), "x");
    // The values sit under Software\<company>\<application>\<section>.
    char data[16] = "";
    DWORD size = sizeof(data);
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Scrkit Tests\\Framework Test\\Settings",
                           "Name", RRF_RT_REG_SZ, nullptr, data, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, "a,b");

    app.LoadRecentFileList(8);
    app.AddToRecentFileList("C:\\one.kpj");
    app.AddToRecentFileList("C:\\two.kpj");
    EXPECT_STREQ(app.GetProfileString("Recent File List", "File1"), "C:\\two.kpj");
    EXPECT_STREQ(app.GetProfileString("Recent File List", "File2"), "C:\\one.kpj");
    app.LoadRecentFileList(8); // read back in the same order
    ASSERT_EQ(app.GetRecentFileList()->GetCount(), 2);
    EXPECT_STREQ(app.GetRecentFileList()->Get(0), "C:\\two.kpj");
    app.RemoveFromRecentFileList(0);
    EXPECT_STREQ(app.GetProfileString("Recent File List", "File1"), "C:\\one.kpj");
    EXPECT_STREQ(app.GetProfileString("Recent File List", "File2", "gone"), "gone");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Scrkit Tests");
}

} // namespace
