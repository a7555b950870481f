#include "builder/ui/pages/fc_settings_dlg.h"

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_field_table.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/pages/fc_field_binding.h"
#include "builder/ui/pages/fc_playback_rules.h"
#include "builder/ui/pages/fc_settings_rules.h"
#include "media/picture/kz_picture.h"

namespace {

const int kMessageLimit = 511;

// The group B buttons in the order of the modes they stand for.
const int kModeButtons[] = {IDC_SETTINGS_UNIFORM, IDC_SETTINGS_MAIN_MOVIE,
                            IDC_SETTINGS_SETTINGS_MOVIE, IDC_SETTINGS_SPECIFIC};

void Enable(HWND dialog, int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog, id), enabled);
}

} // namespace

FCSSettingsDlg::FCSSettingsDlg(FCMainFrame* frame, FCDocument* document,
                               const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_SETTINGS, frame, document, header_bitmaps) {}

void FCSSettingsDlg::CreateControls() {
    AddHeader(IDC_HEADER_SETTINGS_DIALOG);
    SendDlgItemMessageA(hwnd_, IDC_SETTINGS_MESSAGE, EM_SETLIMITTEXT, kMessageLimit, 0);
    color_.Attach(IDC_SETTINGS_COLOR, hwnd_);
}

void FCSSettingsDlg::ApplyStates() {
    int32_t mode = GetDocument().preview_mode;
    bool show_movie = FCIsChecked(hwnd_, IDC_SETTINGS_SHOW_MOVIE);
    FCSettingsControlStates states =
        FCSettingsStates(mode, show_movie, FCControlText(hwnd_, IDC_SETTINGS_MOVIE_PATH));
    Enable(hwnd_, IDC_SETTINGS_MOVIE_PATH, states.movie_controls);
    Enable(hwnd_, IDC_SETTINGS_MOVIE_BROWSE, states.movie_controls);
    Enable(hwnd_, IDC_SETTINGS_MESSAGE, states.message);
    Enable(hwnd_, IDC_SETTINGS_SETTINGS_MOVIE, states.settings_preview);
    Enable(hwnd_, IDC_SETTINGS_COLOR, states.color);
    ShowWindow(GetDlgItem(hwnd_, IDC_SETTINGS_COLOR), states.color ? SW_SHOW : SW_HIDE);
    Enable(hwnd_, IDC_SETTINGS_SPECIFIC_PATH, states.specific_file);
    Enable(hwnd_, IDC_SETTINGS_SPECIFIC_BROWSE, states.specific_file);
}

bool FCSSettingsDlg::Load() {
    // Setting the texts and buttons notifies: nothing is stored meanwhile.
    loading_ = true;
    const FCDocument& document = GetDocument();
    SetDlgItemTextA(hwnd_, IDC_SETTINGS_MOVIE_PATH, document.settings_movie_file);
    SetDlgItemTextA(hwnd_, IDC_SETTINGS_MESSAGE, document.settings_message);
    FCStoreNumber(*this, "preview_mode",
                  FCCorrectPreviewMode(document.preview_mode, document.settings_show_movie,
                                       document.settings_movie_file));
    int32_t mode = document.preview_mode;
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(hwnd_, kModeButtons[i], i == mode ? BST_CHECKED : BST_UNCHECKED);
    // Whatever the mode, so that choosing Uniform later starts from the stored colour.
    color_.SetColor(FCColorToColorRef(document.preview_color), false);
    SetDlgItemTextA(hwnd_, IDC_SETTINGS_SPECIFIC_PATH, document.preview_file);
    CheckDlgButton(hwnd_, IDC_SETTINGS_SHOW_MOVIE,
                   document.settings_show_movie ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_SETTINGS_SHOW_MESSAGE,
                   document.settings_show_movie ? BST_UNCHECKED : BST_CHECKED);
    ApplyStates();
    loading_ = false;
    return true;
}

bool FCSSettingsDlg::Store() {
    FCStoreText(*this, "settings_movie_file", FCControlText(hwnd_, IDC_SETTINGS_MOVIE_PATH));
    FCStoreText(*this, "settings_message", FCControlText(hwnd_, IDC_SETTINGS_MESSAGE));
    bool show_movie = FCIsChecked(hwnd_, IDC_SETTINGS_SHOW_MOVIE);
    FCStoreFlag(*this, "settings_show_movie", show_movie);
    int32_t mode = GetDocument().preview_mode; // kept when no button is selected
    for (int i = 0; i < 4; ++i) {
        if (FCIsChecked(hwnd_, kModeButtons[i]))
            mode = i;
    }
    int32_t corrected = FCCorrectPreviewMode(mode, show_movie, GetDocument().settings_movie_file);
    if (corrected != mode) {
        for (int i = 0; i < 4; ++i)
            CheckDlgButton(hwnd_, kModeButtons[i], i == corrected ? BST_CHECKED : BST_UNCHECKED);
        mode = corrected;
    }
    FCStoreNumber(*this, "preview_mode", mode);
    if (mode == 0) {
        // Compared as the button's value: a colour read back would differ in its last bits.
        uint32_t shown = color_.GetColor();
        if (FCColorToColorRef(GetDocument().preview_color) != shown)
            GetDocumentForWrite().preview_color = FCColorFromColorRef(shown);
    }
    if (mode == 3)
        FCStoreText(*this, "preview_file", FCControlText(hwnd_, IDC_SETTINGS_SPECIFIC_PATH));
    ApplyStates();
    return true;
}

bool FCSSettingsDlg::AskMovieOrPictureFileName(KZString& path) {
    KZString all;
    KZString formats = GetFileDialogFilter(&all);
    return KZAskOpenFileName(GetAncestor(hwnd_, GA_ROOT), FCMovieOrPictureFilter(all, formats),
                             path);
}

void FCSSettingsDlg::Browse(int edit) {
    KZString path;
    if (!AskMovieOrPictureFileName(path) || path.IsEmpty())
        return;
    SetDlgItemTextA(hwnd_, edit, path);
    Store();
}

void FCSSettingsDlg::RunTest(bool control_panel) {
    FCMainFrame* frame = GetFrame();
    if (!frame)
        return;
    frame->RunTest(control_panel ? FC_TEST_CONTROL_PANEL : FC_TEST_SETTINGS);
}

bool FCSSettingsDlg::OnCommand(int id, int code, HWND control) {
    if (loading_)
        return false;
    switch (id) {
    case IDC_SETTINGS_SHOW_MOVIE:
    case IDC_SETTINGS_SHOW_MESSAGE:
    case IDC_SETTINGS_UNIFORM:
    case IDC_SETTINGS_MAIN_MOVIE:
    case IDC_SETTINGS_SETTINGS_MOVIE:
    case IDC_SETTINGS_SPECIFIC:
        // The preview switch is the store, which applies the enabling afterwards.
        if (code == BN_CLICKED)
            Store();
        return code == BN_CLICKED;
    case IDC_SETTINGS_MOVIE_PATH:
    case IDC_SETTINGS_MESSAGE:
    case IDC_SETTINGS_SPECIFIC_PATH:
        if (code == EN_KILLFOCUS)
            Store();
        return code == EN_KILLFOCUS;
    case IDC_SETTINGS_MOVIE_BROWSE:
    case IDC_SETTINGS_SPECIFIC_BROWSE:
        if (code == BN_CLICKED)
            Browse(id == IDC_SETTINGS_MOVIE_BROWSE ? IDC_SETTINGS_MOVIE_PATH
                                                   : IDC_SETTINGS_SPECIFIC_PATH);
        return code == BN_CLICKED;
    case IDC_SETTINGS_TEST_DIALOG:
    case IDC_SETTINGS_DISPLAY_NOW:
        if (code == BN_CLICKED)
            RunTest(id == IDC_SETTINGS_DISPLAY_NOW);
        return code == BN_CLICKED;
    }
    return false;
}

LRESULT FCSSettingsDlg::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == KZC_WM_COLOR_CHANGED) {
        if (!loading_)
            Store();
        return 0;
    }
    return FCStepDlg::WindowProc(message, wparam, lparam);
}
