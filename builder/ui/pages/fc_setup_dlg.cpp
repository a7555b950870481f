#include "builder/ui/pages/fc_setup_dlg.h"

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_installer_script.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/frame/qvrt_app.h"
#include "builder/ui/pages/fc_field_binding.h"
#include "builder/ui/pages/fc_setup_rules.h"

namespace {

const struct {
    int id;
    const char* excluded;
} kGuarded[] = {
    {IDC_SETUP_SHORT_NAME, kNameExcludedChars},    {IDC_SETUP_LONG_NAME, kNameExcludedChars},
    {IDC_SETUP_VERSION, kNameExcludedChars},       {IDC_SETUP_COMPANY, kNameExcludedChars},
    {IDC_SETUP_INSTALL_DIR, kFolderExcludedChars},
};

// The controls copied as they are; the URL, the folder and the language have rules of their own.
const FCFieldBinding kBindings[] = {
    {IDC_SETUP_SHORT_NAME, "short_name"},
    {IDC_SETUP_LONG_NAME, "long_name"},
    {IDC_SETUP_VERSION, "version"},
    {IDC_SETUP_COMPANY, "company_name"},
    {IDC_SETUP_CUSTOM_COPYRIGHT, "custom_copyright"},
    {IDC_SETUP_COPYRIGHT, "copyright"},
    {IDC_SETUP_CUSTOM_DIR, "custom_install_dir"},
    {IDC_SETUP_PASSWORD_ENABLED, "setup_password_enabled"},
    {IDC_SETUP_PASSWORD, "setup_password"},
    {IDC_SETUP_DISABLE_STARTUP, "disable_startup_prompt"},
    {IDC_SETUP_DISABLE_DIR, "disable_dir_page"},
    {IDC_SETUP_DISABLE_GROUP, "disable_program_group_page"},
    {IDC_SETUP_DISABLE_READY, "disable_ready_page"},
    {IDC_SETUP_DISABLE_FINISHED, "disable_finished_page"},
};
const int kBindingCount = sizeof(kBindings) / sizeof(kBindings[0]);

bool IsLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

int CurrentYear() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return now.wYear;
}

} // namespace

FCSSetupDlg::FCSSetupDlg(FCMainFrame* frame, FCDocument* document,
                         const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_SETUP, frame, document, header_bitmaps) {}

void FCSSetupDlg::CreateControls() {
    AddHeader(IDC_HEADER_TITLES);
    AddHeader(IDC_HEADER_INSTALL_DIR);
    AddHeader(IDC_HEADER_MISC);
    SendDlgItemMessageA(hwnd_, IDC_SETUP_LONG_NAME, EM_SETLIMITTEXT, 100, 0);
    SendDlgItemMessageA(hwnd_, IDC_SETUP_COMPANY, EM_SETLIMITTEXT, 100, 0);
    for (int i = 0; i < FC_SETUP_LANGUAGE_COUNT; ++i)
        SendDlgItemMessageA(hwnd_, IDC_SETUP_LANGUAGE, CB_ADDSTRING, 0,
                            (LPARAM)FCSetupLanguageText(i));
    for (int i = 0; i < kGuardedEdits; ++i) {
        if (guarded_[i].SubclassDlgItem(kGuarded[i].id, hwnd_))
            guarded_[i].SetExcludedChars(kGuarded[i].excluded);
    }
}

bool FCSSetupDlg::Load() {
    // Setting the texts sends change notifications: they must not refresh or store meanwhile.
    loading_ = true;
    const FCDocument& document = GetDocument();
    bool known = FCLoadBindings(*this, kBindings, kBindingCount);
    SetDlgItemTextA(hwnd_, IDC_SETUP_URL, FCUrlWithoutPrefix(document.company_url));
    EnableWindow(GetDlgItem(hwnd_, IDC_SETUP_COPYRIGHT), document.custom_copyright);
    SetDlgItemTextA(hwnd_, IDC_SETUP_INSTALL_DIR,
                    document.custom_install_dir
                        ? document.install_dir
                        : FCDefaultInstallDir(document.company_name, document.long_name));
    EnableWindow(GetDlgItem(hwnd_, IDC_SETUP_INSTALL_DIR), document.custom_install_dir);
    ShowFolderPreview();
    EnableWindow(GetDlgItem(hwnd_, IDC_SETUP_PASSWORD), document.setup_password_enabled);
    EnableWindow(GetDlgItem(hwnd_, IDC_SETUP_TEST_URL),
                 GetWindowTextLengthA(GetDlgItem(hwnd_, IDC_SETUP_URL)) > 0);
    SendDlgItemMessageA(hwnd_, IDC_SETUP_LANGUAGE, CB_SETCURSEL,
                        (WPARAM)FCSetupLanguagePosition(document.setup_language), 0);
    loading_ = false;
    return known;
}

bool FCSSetupDlg::Store() {
    FCStoreBindings(*this, kBindings, kBindingCount);
    FCStoreText(*this, "company_url", FCUrlWithPrefix(FCControlText(hwnd_, IDC_SETUP_URL)));
    FCStoreText(*this, "install_dir", FCControlText(hwnd_, IDC_SETUP_INSTALL_DIR));
    int selection = (int)SendDlgItemMessageA(hwnd_, IDC_SETUP_LANGUAGE, CB_GETCURSEL, 0, 0);
    // The table's range (1 to 11) refuses anything else.
    FCStoreNumber(*this, "setup_language", FCSetupLanguageForSelection(selection));
    return true;
}

void FCSSetupDlg::ShowFolderPreview() {
    KZString folder = FCControlText(hwnd_, IDC_SETUP_INSTALL_DIR);
    folder += "\\";
    SetDlgItemTextA(hwnd_, IDC_SETUP_DIR_PREVIEW,
                    FCDoubleAmpersands(FCExpandInstallerConstants(folder), IsLeadByte));
}

void FCSSetupDlg::RefreshDerivedTexts() {
    if (loading_ || refreshing_)
        return;
    // Rewriting the folder edit notifies a change again.
    refreshing_ = true;
    KZString company = FCControlText(hwnd_, IDC_SETUP_COMPANY);
    if (!FCIsChecked(hwnd_, IDC_SETUP_CUSTOM_DIR))
        SetDlgItemTextA(hwnd_, IDC_SETUP_INSTALL_DIR,
                        FCDefaultInstallDir(company, FCControlText(hwnd_, IDC_SETUP_LONG_NAME)));
    ShowFolderPreview();
    if (!FCIsChecked(hwnd_, IDC_SETUP_CUSTOM_COPYRIGHT))
        SetDlgItemTextA(hwnd_, IDC_SETUP_COPYRIGHT, FCDefaultCopyright(CurrentYear(), company));
    Store();
    refreshing_ = false;
}

void FCSSetupDlg::OnCustomBox(int box, int edit) {
    bool checked = FCIsChecked(hwnd_, box);
    HWND edit_window = GetDlgItem(hwnd_, edit);
    EnableWindow(edit_window, checked);
    if (checked)
        SetFocus(edit_window);
    else if (box != IDC_SETUP_PASSWORD_ENABLED)
        RefreshDerivedTexts(); // back to the folder or copyright made from the names
    Store();
}

void FCSSetupDlg::TestUrl() {
    QVRTApp::OpenWebPage(FCUrlWithPrefix(FCControlText(hwnd_, IDC_SETUP_URL)));
}

bool FCSSetupDlg::OnCommand(int id, int code, HWND control) {
    if (loading_)
        return false;
    switch (id) {
    case IDC_SETUP_CUSTOM_DIR:
    case IDC_SETUP_CUSTOM_COPYRIGHT:
    case IDC_SETUP_PASSWORD_ENABLED:
        if (code != BN_CLICKED)
            return false;
        OnCustomBox(id, id == IDC_SETUP_CUSTOM_DIR         ? IDC_SETUP_INSTALL_DIR
                        : id == IDC_SETUP_CUSTOM_COPYRIGHT ? IDC_SETUP_COPYRIGHT
                                                           : IDC_SETUP_PASSWORD);
        return true;
    case IDC_SETUP_TEST_URL:
        if (code == BN_CLICKED)
            TestUrl();
        return code == BN_CLICKED;
    case IDC_SETUP_DISABLE_STARTUP:
    case IDC_SETUP_DISABLE_DIR:
    case IDC_SETUP_DISABLE_GROUP:
    case IDC_SETUP_DISABLE_READY:
    case IDC_SETUP_DISABLE_FINISHED:
        if (code == BN_CLICKED)
            Store();
        return code == BN_CLICKED;
    case IDC_SETUP_LANGUAGE:
        if (code == CBN_SELCHANGE)
            Store();
        return code == CBN_SELCHANGE;
    case IDC_SETUP_URL:
        // Test URL follows the text as it is typed.
        if (code == EN_CHANGE)
            EnableWindow(GetDlgItem(hwnd_, IDC_SETUP_TEST_URL), GetWindowTextLengthA(control) > 0);
        if (code == EN_KILLFOCUS)
            Store();
        return code == EN_CHANGE || code == EN_KILLFOCUS;
    case IDC_SETUP_LONG_NAME:
    case IDC_SETUP_COMPANY:
        if (code == EN_CHANGE || code == EN_KILLFOCUS)
            RefreshDerivedTexts();
        return code == EN_CHANGE || code == EN_KILLFOCUS;
    case IDC_SETUP_INSTALL_DIR:
        if (code == EN_CHANGE)
            RefreshDerivedTexts();
        if (code == EN_KILLFOCUS)
            Store();
        return code == EN_CHANGE || code == EN_KILLFOCUS;
    case IDC_SETUP_SHORT_NAME:
    case IDC_SETUP_VERSION:
    case IDC_SETUP_COPYRIGHT:
    case IDC_SETUP_PASSWORD:
        if (code == EN_KILLFOCUS)
            Store();
        return code == EN_KILLFOCUS;
    }
    return false;
}
