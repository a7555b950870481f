#include "builder/ui/pages/fc_menu_dlg.h"

#include "builder/engine/fc_document.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/pages/fc_field_binding.h"
#include "builder/ui/pages/fc_setup_rules.h"

namespace {

// Each entry: its box, caption and target (0: none) with their fields.
const struct Entry {
    int box, caption, target;
    const char *flag, *caption_field, *target_field;
} kEntries[] = {
    {IDC_MENU_CONFIGURE, IDC_MENU_CONFIGURE_CAPTION, 0, "menu_configure", "menu_configure_caption",
     nullptr},
    {IDC_MENU_LAUNCH, IDC_MENU_LAUNCH_CAPTION, 0, "menu_launch", "menu_launch_caption", nullptr},
    {IDC_MENU_UNINSTALL, IDC_MENU_UNINSTALL_CAPTION, 0, "menu_uninstall", "menu_uninstall_caption",
     nullptr},
    {IDC_MENU_README, IDC_MENU_README_CAPTION, 0, "menu_readme", "menu_readme_caption", nullptr},
    {IDC_MENU_LICENSE, IDC_MENU_LICENSE_CAPTION, 0, "menu_license", "menu_license_caption",
     nullptr},
    {IDC_MENU_URL, IDC_MENU_URL_CAPTION, IDC_MENU_URL_TARGET, "menu_url", "menu_url_caption",
     "menu_url_target"},
    {IDC_MENU_CUSTOM, IDC_MENU_CUSTOM_CAPTION, IDC_MENU_CUSTOM_TARGET, "menu_custom",
     "menu_custom_caption", "menu_custom_target"},
};

// The captions and the folder name become Start-menu file and folder names; the targets are
// URLs and command lines and take anything.
const int kGuarded[] = {IDC_MENU_CONFIGURE_CAPTION, IDC_MENU_LAUNCH_CAPTION,
                        IDC_MENU_UNINSTALL_CAPTION, IDC_MENU_README_CAPTION,
                        IDC_MENU_LICENSE_CAPTION,   IDC_MENU_URL_CAPTION,
                        IDC_MENU_CUSTOM_CAPTION,    IDC_MENU_SUBFOLDER_NAME};

const FCFieldBinding kBindings[] = {
    {IDC_MENU_CUSTOM_ICON, "custom_icon"},
    {IDC_MENU_ICON_FILE, "custom_icon_file"},
    {IDC_MENU_SUBFOLDER, "menu_subfolder"},
    {IDC_MENU_SUBFOLDER_NAME, "menu_subfolder_name"},
};
const int kBindingCount = sizeof(kBindings) / sizeof(kBindings[0]);

const char kIconFilter[] = "Icons (*.ico)|*.ico||";

} // namespace

FCSMenuDlg::FCSMenuDlg(FCMainFrame* frame, FCDocument* document,
                       const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_MENU, frame, document, header_bitmaps) {}

void FCSMenuDlg::CreateControls() {
    static_assert(sizeof(kGuarded) / sizeof(kGuarded[0]) == kGuardedEdits, "one edit per id");
    for (int i = 0; i < kGuardedEdits; ++i) {
        if (guarded_[i].SubclassDlgItem(kGuarded[i], hwnd_))
            guarded_[i].SetExcludedChars(kNameExcludedChars);
    }
}

void FCSMenuDlg::ApplyEnabling() {
    const FCDocument& document = GetDocument();
    for (const Entry& e : kEntries) {
        // Nothing to show for a readme not installed or a licence not shown, whatever the box.
        bool available = (e.box != IDC_MENU_README || document.install_readme) &&
                         (e.box != IDC_MENU_LICENSE || document.show_license);
        EnableWindow(GetDlgItem(hwnd_, e.box), available);
        bool on = available && FCIsChecked(hwnd_, e.box);
        EnableWindow(GetDlgItem(hwnd_, e.caption), on);
        if (e.target)
            EnableWindow(GetDlgItem(hwnd_, e.target), on);
    }
    bool icon = FCIsChecked(hwnd_, IDC_MENU_CUSTOM_ICON);
    EnableWindow(GetDlgItem(hwnd_, IDC_MENU_ICON_FILE), icon);
    EnableWindow(GetDlgItem(hwnd_, IDC_MENU_ICON_BROWSE), icon);
    EnableWindow(GetDlgItem(hwnd_, IDC_MENU_SUBFOLDER_NAME),
                 FCIsChecked(hwnd_, IDC_MENU_SUBFOLDER));
}

bool FCSMenuDlg::Load() {
    bool known = true;
    for (const Entry& e : kEntries) {
        FCFieldBinding entry[] = {
            {e.box, e.flag}, {e.caption, e.caption_field}, {e.target, e.target_field}};
        known &= FCLoadBindings(*this, entry, e.target ? 3 : 2);
    }
    known &= FCLoadBindings(*this, kBindings, kBindingCount);
    ApplyEnabling();
    return known;
}

bool FCSMenuDlg::Store() {
    for (const Entry& e : kEntries) {
        bool checked = FCIsChecked(hwnd_, e.box);
        FCStoreFlag(*this, e.flag, checked);
        // An unchecked entry keeps its texts, ready for when it is checked again.
        if (!checked)
            continue;
        FCStoreText(*this, e.caption_field, FCControlText(hwnd_, e.caption));
        if (e.target)
            FCStoreText(*this, e.target_field, FCControlText(hwnd_, e.target));
    }
    FCStoreBindings(*this, kBindings, kBindingCount);
    return true;
}

bool FCSMenuDlg::AskIconFileName(KZString& path) {
    return KZAskOpenFileName(GetAncestor(hwnd_, GA_ROOT), kIconFilter, path);
}

void FCSMenuDlg::BrowseIcon() {
    KZString path;
    if (!AskIconFileName(path) || path.IsEmpty())
        return;
    SetDlgItemTextA(hwnd_, IDC_MENU_ICON_FILE, path);
    Store();
}

bool FCSMenuDlg::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (code == EN_KILLFOCUS) {
        Store();
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    for (const Entry& e : kEntries) {
        if (id == e.box) {
            ApplyEnabling();
            if (FCIsChecked(hwnd_, id))
                SetFocus(GetDlgItem(hwnd_, e.caption));
            Store();
            return true;
        }
    }
    switch (id) {
    case IDC_MENU_CUSTOM_ICON:
    case IDC_MENU_SUBFOLDER:
        ApplyEnabling();
        Store();
        return true;
    case IDC_MENU_ICON_BROWSE:
        BrowseIcon();
        return true;
    }
    return false;
}
