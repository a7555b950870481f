#include "builder/ui/pages/fc_playback_dlg.h"

#include <initializer_list>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_project_file.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/pages/fc_field_binding.h"
#include "builder/ui/pages/fc_playback_rules.h"

namespace {

const FCFieldBinding kBindings[] = {
    {IDC_PLAYBACK_MOVIE, "movie_file"},
    {IDC_PLAYBACK_MUTE, "mute_sound"},
    {IDC_PLAYBACK_USER_MUTE, "user_can_mute"},
    {IDC_PLAYBACK_USER_QUALITY, "user_can_set_quality"},
    {IDC_PLAYBACK_CUSTOM_BACKGROUND, "custom_background"},
    {IDC_PLAYBACK_WAKE_LEFT, "wake_on_left_click"},
    {IDC_PLAYBACK_WAKE_RIGHT, "wake_on_right_click"},
    {IDC_PLAYBACK_WAKE_MOVE, "wake_on_mouse_move"},
    {IDC_PLAYBACK_WAKE_KEY, "wake_on_key"},
    {IDC_PLAYBACK_HIDE_CURSOR, "hide_cursor"},
};
const int kBindingCount = sizeof(kBindings) / sizeof(kBindings[0]);

const char kMovieFilter[] = "Adobe Flash (*.swf)|*.swf||";

} // namespace

FCSPlaybackDlg::FCSPlaybackDlg(FCMainFrame* frame, FCDocument* document,
                               const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_PLAYBACK, frame, document, header_bitmaps) {}

void FCSPlaybackDlg::CreateControls() {
    for (int id : {IDC_HEADER_SWF_MOVIE, IDC_HEADER_SOUND, IDC_HEADER_QUALITY,
                   IDC_HEADER_BACKGROUND, IDC_HEADER_SIZE, IDC_HEADER_WAKE_UP})
        AddHeader(id);
    for (int i = 0; i < FC_QUALITY_COUNT; ++i)
        SendDlgItemMessageA(hwnd_, IDC_PLAYBACK_QUALITY, CB_ADDSTRING, 0, (LPARAM)FCQualityText(i));
    for (int i = 0; i < FC_SIZE_MODE_COUNT; ++i)
        SendDlgItemMessageA(hwnd_, IDC_PLAYBACK_SIZE, CB_ADDSTRING, 0, (LPARAM)FCSizeModeText(i));
    color_.Attach(IDC_PLAYBACK_COLOR, hwnd_);
}

bool FCSPlaybackDlg::Load() {
    loading_ = true;
    const FCDocument& document = GetDocument();
    bool known = FCLoadBindings(*this, kBindings, kBindingCount);
    SendDlgItemMessageA(hwnd_, IDC_PLAYBACK_QUALITY, CB_SETCURSEL, (WPARAM)document.quality, 0);
    SendDlgItemMessageA(hwnd_, IDC_PLAYBACK_SIZE, CB_SETCURSEL, (WPARAM)document.size_mode, 0);
    color_.SetColor(FCColorToColorRef(document.background_color), false);
    EnableWindow(color_, document.custom_background);
    loading_ = false;
    return known;
}

bool FCSPlaybackDlg::Store() {
    if (loading_)
        return false;
    bool changed = FCStoreBindings(*this, kBindings, kBindingCount);
    // Nothing selected (-1) is outside the fields' ranges and keeps the stored value.
    changed |=
        FCStoreNumber(*this, "quality",
                      (int)SendDlgItemMessageA(hwnd_, IDC_PLAYBACK_QUALITY, CB_GETCURSEL, 0, 0));
    changed |= FCStoreNumber(
        *this, "size_mode", (int)SendDlgItemMessageA(hwnd_, IDC_PLAYBACK_SIZE, CB_GETCURSEL, 0, 0));
    changed |= FCStoreColor(*this, "background_color", FCColorFromColorRef(color_.GetColor()));
    return changed;
}

void FCSPlaybackDlg::ShowMovieColor() {
    color_.SetColor(FCColorToColorRef(GetDocument().movie_background_color), false);
}

bool FCSPlaybackDlg::AskMovieFileName(KZString& path) {
    return KZAskOpenFileName(GetAncestor(hwnd_, GA_ROOT), kMovieFilter, path);
}

void FCSPlaybackDlg::Browse() {
    KZString path;
    if (!AskMovieFileName(path) || path.IsEmpty())
        return;
    // A movie whose header cannot be read is still taken; only its colour is not refreshed.
    FCColor movie_color = GetDocument().movie_background_color;
    if (FCReadMovieBackgroundColor(path, movie_color)) {
        FCStoreColor(*this, "movie_background_color", movie_color);
        if (!FCIsChecked(hwnd_, IDC_PLAYBACK_CUSTOM_BACKGROUND))
            ShowMovieColor();
    }
    SetDlgItemTextA(hwnd_, IDC_PLAYBACK_MOVIE, path);
    Store();
}

void FCSPlaybackDlg::SwitchBackground() {
    bool custom = FCIsChecked(hwnd_, IDC_PLAYBACK_CUSTOM_BACKGROUND);
    EnableWindow(color_, custom);
    // Not custom: the author's colour yields to the movie's own.
    if (!custom)
        ShowMovieColor();
    Store();
}

LRESULT FCSPlaybackDlg::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == KZC_WM_COLOR_CHANGED) {
        Store();
        return 0;
    }
    return FCStepDlg::WindowProc(message, wparam, lparam);
}

bool FCSPlaybackDlg::OnCommand(int id, int code, HWND control) {
    if (loading_)
        return false;
    switch (id) {
    case IDC_PLAYBACK_BROWSE:
        if (code == BN_CLICKED)
            Browse();
        return code == BN_CLICKED;
    case IDC_PLAYBACK_CUSTOM_BACKGROUND:
        if (code == BN_CLICKED)
            SwitchBackground();
        return code == BN_CLICKED;
    case IDC_PLAYBACK_MUTE:
    case IDC_PLAYBACK_USER_MUTE:
    case IDC_PLAYBACK_USER_QUALITY:
    case IDC_PLAYBACK_WAKE_LEFT:
    case IDC_PLAYBACK_WAKE_RIGHT:
    case IDC_PLAYBACK_WAKE_MOVE:
    case IDC_PLAYBACK_WAKE_KEY:
    case IDC_PLAYBACK_HIDE_CURSOR:
        if (code == BN_CLICKED)
            Store();
        return code == BN_CLICKED;
    case IDC_PLAYBACK_QUALITY:
    case IDC_PLAYBACK_SIZE:
        if (code == CBN_SELCHANGE)
            Store();
        return code == CBN_SELCHANGE;
    case IDC_PLAYBACK_MOVIE:
        if (code == EN_KILLFOCUS)
            Store();
        return code == EN_KILLFOCUS;
    }
    return false;
}
