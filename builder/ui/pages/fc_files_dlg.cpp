#include "builder/ui/pages/fc_files_dlg.h"

#include "builder/engine/fc_document.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/frame/fc_resource_text.h"
#include "builder/ui/framework/kz_win_app.h"
#include "builder/ui/pages/fc_field_binding.h"
#include "builder/ui/pages/fc_files_rules.h"

namespace {

const FCFieldBinding kBindings[] = {
    {IDC_FILES_SHOW_LICENSE, "show_license"},
    {IDC_FILES_LICENSE, "license_file"},
    {IDC_FILES_INSTALL_LICENSE, "install_license"},
    {IDC_FILES_INSTALL_README, "install_readme"},
    {IDC_FILES_README, "readme_file"},
    {IDC_FILES_INSTALL_ADDITIONAL, "install_additional_files"},
    {IDC_FILES_EMBED_PLAYBACK, "embed_playback_files"},
};
const int kBindingCount = sizeof(kBindings) / sizeof(kBindings[0]);

// Each box and the controls it enables.
const struct {
    int box, edit, browse, other;
} kRows[] = {
    {IDC_FILES_SHOW_LICENSE, IDC_FILES_LICENSE, IDC_FILES_LICENSE_BROWSE,
     IDC_FILES_INSTALL_LICENSE},
    {IDC_FILES_INSTALL_README, IDC_FILES_README, IDC_FILES_README_BROWSE, 0},
    {IDC_FILES_INSTALL_ADDITIONAL, IDC_FILES_ADDITIONAL, IDC_FILES_ADDITIONAL_BROWSE, 0},
    {IDC_FILES_EMBED_PLAYBACK, IDC_FILES_PLAYBACK, IDC_FILES_PLAYBACK_BROWSE, 0},
};

const char kLicenseFilter[] = "Text Files (*.txt)|*.txt||";
const char kReadmeFilter[] = "Text Files (*.txt)|*.txt|HTML Files (*.htm;*.html)|*.htm;*.html||";
const char kAdditionalFilter[] = "All Files (*.*)|*.*||";
const char kPlaybackFilter[] =
    "Adobe Flash (*.swf)|*.swf|Text File (*.txt)|*.txt|All Files (*.*)|*.*|";

// The names of a multiple selection go into a buffer of this size.
const int kSelectionBufferSize = 16000;

} // namespace

FCSFilesDlg::FCSFilesDlg(FCMainFrame* frame, FCDocument* document,
                         const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_FILES, frame, document, header_bitmaps) {}

void FCSFilesDlg::CreateControls() {
    AddHeader(IDC_HEADER_LICENSE);
    AddHeader(IDC_HEADER_README);
    AddHeader(IDC_HEADER_ADDITIONAL);
}

void FCSFilesDlg::ApplyEnabling() {
    for (const auto& row : kRows) {
        bool on = FCIsChecked(hwnd_, row.box);
        for (int id : {row.edit, row.browse, row.other}) {
            if (id)
                EnableWindow(GetDlgItem(hwnd_, id), on);
        }
    }
}

bool FCSFilesDlg::Load() {
    const FCDocument& document = GetDocument();
    bool known = FCLoadBindings(*this, kBindings, kBindingCount);
    SetDlgItemTextA(hwnd_, IDC_FILES_ADDITIONAL, FCJoinFileList(document.additional_files));
    SetDlgItemTextA(hwnd_, IDC_FILES_PLAYBACK, FCJoinFileList(document.playback_files));
    ApplyEnabling();
    return known;
}

bool FCSFilesDlg::Store() {
    FCStoreBindings(*this, kBindings, kBindingCount);
    const struct {
        int edit;
        FCStringList FCDocument::*list;
    } lists[] = {{IDC_FILES_ADDITIONAL, &FCDocument::additional_files},
                 {IDC_FILES_PLAYBACK, &FCDocument::playback_files}};
    for (const auto& l : lists) {
        FCStringList shown;
        if (!FCSplitFileList(FCControlText(hwnd_, l.edit), shown))
            return false;
        if (!FCSameFileList(shown, GetDocument().*l.list))
            FCCopyStringList(GetDocumentForWrite().*l.list, shown);
    }
    return true;
}

bool FCSFilesDlg::AskFileName(const char* filter, KZString& path) {
    return KZAskOpenFileName(GetAncestor(hwnd_, GA_ROOT), filter, path);
}

KZOpenFilesResult FCSFilesDlg::AskFileNames(const char* filter, KZTOArray<KZString>& paths) {
    return KZAskOpenFileNames(GetAncestor(hwnd_, GA_ROOT), filter, kSelectionBufferSize, paths);
}

void FCSFilesDlg::BrowseOne(int edit, const char* filter) {
    KZString path;
    if (!AskFileName(filter, path) || path.IsEmpty())
        return;
    SetDlgItemTextA(hwnd_, edit, path);
    Store();
}

void FCSFilesDlg::BrowseList(bool additional) {
    KZTOArray<KZString> paths;
    KZOpenFilesResult result =
        AskFileNames(additional ? kAdditionalFilter : kPlaybackFilter, paths);
    if (result == KZ_OPEN_FILES_TOO_MANY) {
        // The dialog closes on its own then: say why, rather than look cancelled.
        KZMessageBox(FCLoadText(IDS_TOO_MANY_FILES), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (result != KZ_OPEN_FILES_CHOSEN)
        return;
    FCStringList& list =
        additional ? GetDocumentForWrite().additional_files : GetDocumentForWrite().playback_files;
    FCCopyStringList(list, paths);
    SetDlgItemTextA(hwnd_, additional ? IDC_FILES_ADDITIONAL : IDC_FILES_PLAYBACK,
                    FCJoinFileList(paths));
    // Other pages show what follows from the list (the launch choices after setup).
    if (GetFrame())
        GetFrame()->RefreshAllPages();
    Store();
}

bool FCSFilesDlg::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (code != BN_CLICKED)
        return false;
    for (const auto& row : kRows) {
        if (id == row.box || (row.other && id == row.other)) {
            ApplyEnabling();
            Store();
            return true;
        }
    }
    switch (id) {
    case IDC_FILES_LICENSE_BROWSE:
        BrowseOne(IDC_FILES_LICENSE, kLicenseFilter);
        return true;
    case IDC_FILES_README_BROWSE:
        BrowseOne(IDC_FILES_README, kReadmeFilter);
        return true;
    case IDC_FILES_ADDITIONAL_BROWSE:
        BrowseList(true);
        return true;
    case IDC_FILES_PLAYBACK_BROWSE:
        BrowseList(false);
        return true;
    }
    return false;
}
