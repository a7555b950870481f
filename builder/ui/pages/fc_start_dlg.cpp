#include "builder/ui/pages/fc_start_dlg.h"

#include "builder/engine/fc_document.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/frame/fc_resource_text.h"
#include "builder/ui/frame/qvrt_app.h"
#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/pages/fc_setup_rules.h"

namespace {

const int kPictureWidth = 74;
const int kPictureHeight = 64;
const KZCColor kTransparent = RGB(255, 0, 255);

bool IsLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

HFONT MakeFont(int height, int weight) {
    LOGFONTA font = {};
    GetObjectA(KZGetGUIFont(), sizeof(font), &font);
    if (height)
        font.lfHeight = height;
    font.lfWeight = weight;
    return CreateFontIndirectA(&font);
}

} // namespace

KZString FCRecentDisplayName(const char* path, const char* folder) {
    int length = lstrlenA(folder);
    KZString start(path, lstrlenA(path) < length ? lstrlenA(path) : length);
    if (length > 0 && start.CompareNoCase(folder) == 0 && path[length])
        return KZString(path + length);
    return KZString(path);
}

FCSStartDlg::FCSStartDlg(FCMainFrame* frame, FCDocument* document,
                         const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_START, frame, document, header_bitmaps) {}

void FCSStartDlg::CreateControls() {
    AddHeader(IDC_HEADER_START);
    const struct {
        KZCBigButton* button;
        int id;
        int picture;
    } buttons[] = {{&project_, IDC_START_PROJECT, IDB_BIG_OPEN_PNG},
                   {&movie_, IDC_START_MOVIE, IDB_BIG_MOVIE_PNG},
                   {&blank_, IDC_START_BLANK, IDB_BIG_NEW_PNG}};
    for (const auto& b : buttons) {
        if (b.button->Attach(b.id, hwnd_))
            b.button->SetPicture(b.picture, kPictureWidth, kPictureHeight, kTransparent);
    }
    reopen_.Attach(IDC_START_REOPEN, hwnd_);
    reopen_.SetMenu(CreatePopupMenu(), true);

    KZString title;
    title.Format(FCLoadText(IDS_START_TITLE), (int)QVRTApp::kVersionMajor,
                 (int)QVRTApp::kVersionMinor);
    SetDlgItemTextA(hwnd_, IDC_START_TITLE, title);
    title_font_.Reset(MakeFont(-24, FW_BOLD));
    caption_font_.Reset(MakeFont(0, FW_BOLD));
    SendDlgItemMessageA(hwnd_, IDC_START_TITLE, WM_SETFONT, (WPARAM)title_font_.Get(), TRUE);
    for (int id = IDC_START_CAPTION_FIRST; id <= IDC_START_CAPTION_LAST; ++id)
        SendDlgItemMessageA(hwnd_, id, WM_SETFONT, (WPARAM)caption_font_.Get(), TRUE);
}

bool FCSStartDlg::Load() {
    HMENU menu = reopen_.GetMenu();
    if (!menu)
        return false;
    while (GetMenuItemCount(menu) > 0)
        DeleteMenu(menu, 0, MF_BYPOSITION);
    char folder[MAX_PATH + 1] = "";
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length > 0 && length < MAX_PATH && folder[length - 1] != '\\')
        lstrcatA(folder, "\\");
    KZCWinApp* app = KZCWinApp::Get();
    const KZRecentFileList* list = app ? app->GetRecentFileList() : nullptr;
    for (int i = 0; list && i < list->GetCount(); ++i) {
        KZString path = list->Get(i);
        if (path.IsEmpty())
            break;
        KZString name = FCDoubleAmpersands(FCRecentDisplayName(path, folder), IsLeadByte);
        AppendMenuA(menu, MF_STRING, FC_ID_RECENT_FIRST + i, name);
    }
    EnableWindow(reopen_, GetMenuItemCount(menu) > 0);
    return true;
}

bool FCSStartDlg::AskMovieFileName(KZString& path) {
    return KZAskOpenFileName(GetAncestor(hwnd_, GA_ROOT), "Adobe Flash (*.swf)|*.swf||", path);
}

void FCSStartDlg::OpenProject() {
    if (GetFrame()->OpenWithDialog())
        GetFrame()->GoToStep(FC_STEP_COMMAND_FIRST + 1);
}

void FCSStartDlg::StartFromMovie() {
    bool cancelled = false;
    if (!GetFrame()->AskSaveChanges(&cancelled))
        return;
    KZString path;
    if (!AskMovieFileName(path))
        return;
    // Not a movie: not taken, nothing said, and the project stays unmodified.
    if (GetFrame()->GetDocument().read_movie_background(path)) {
        FCDocument& document = GetDocumentForWrite();
        document.movie_file = path;
        if (!document.custom_background)
            document.background_color = document.movie_background_color;
    }
    GetFrame()->RefreshAllPages();
    GetFrame()->GoToStep(FC_STEP_COMMAND_FIRST + 1);
}

void FCSStartDlg::NewProject() {
    bool cancelled = false;
    if (!GetFrame()->AskSaveChanges(&cancelled))
        return;
    FCDocument& document = GetDocumentForWrite();
    document.reset();
    document.path_name.Empty();
    GetFrame()->RefreshAllPages();
    GetFrame()->UpdateTitle();
    GetFrame()->GoToStep(FC_STEP_COMMAND_FIRST + 1);
}

bool FCSStartDlg::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_START_PROJECT:
        OpenProject();
        return true;
    case IDC_START_MOVIE:
        StartFromMovie();
        return true;
    case IDC_START_BLANK:
        NewProject();
        return true;
    }
    return false;
}
