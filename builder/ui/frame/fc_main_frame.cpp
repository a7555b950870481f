#include "builder/ui/frame/fc_main_frame.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_platform.h"
#include "builder/engine/fc_resources.h"
#include "builder/engine/fc_test_actions.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/frame/fc_main_view.h"
#include "builder/ui/frame/fc_resource_text.h"
#include "builder/ui/frame/fc_toolbar.h"
#include "builder/ui/frame/fc_window_host_win32.h"
#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/framework/kz_win_app.h"
#include "builder/ui/pages/fc_step_pages.h"

namespace {

const int kViewId = 0xE900; // the framework's first pane id
const UINT_PTR kIndicatorTimer = 1;

} // namespace

FCMainFrame::FCMainFrame(FCStepPageFactory factory)
    : factory_(factory ? factory : FCCreateStepPage), steps_(this) {
    resources_ = FCCreateModuleResources();
    document_ = new FCDocument(resources_);
}

FCMainFrame::~FCMainFrame() {
    // The windows go first, while every object bound to them is still alive.
    if (hwnd_)
        ::DestroyWindow(hwnd_);
    delete view_;
    delete toolbar_;
    delete document_; // before the resources it was made from
    delete resources_;
}

bool FCMainFrame::CreateFrame(const char* title, int dpi) {
    sizes_ = FCComputeFrameSizes(dpi);
    app_title_ = title;
    if (!steps_.Build(document_, factory_))
        return false;
    KZCreateArgs args;
    args.class_name = "FCMainFrame";
    args.title = title;
    args.style = (WS_OVERLAPPEDWINDOW & ~(WS_MAXIMIZEBOX | WS_THICKFRAME)) | WS_CLIPCHILDREN |
                 WS_CLIPSIBLINGS;
    args.ex_style = WS_EX_ACCEPTFILES;
    args.width = sizes_.frame_width;
    args.height = sizes_.frame_height;
    args.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    args.background = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!Create(args))
        return false;
    return view_ != nullptr; // WM_CREATE made every part or failed the creation
}

bool FCMainFrame::OnCreate() {
    HMENU system = GetSystemMenu(hwnd_, FALSE);
    if (system) {
        DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
        DeleteMenu(system, SC_MAXIMIZE, MF_BYCOMMAND);
    }
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, FCLoadText(IDS_READY),
                              WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, hwnd_,
                              (HMENU)(INT_PTR)0xE801, nullptr, nullptr);
    if (!status_)
        return false;
    SendMessageA(status_, WM_SETFONT, (WPARAM)KZGetGUIFont(), FALSE);
    view_ = new FCMainView(this, &steps_, sizes_.page_width, sizes_.page_height);
    if (!view_->CreateView(hwnd_, kViewId))
        return false;
    rebar_ = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                 RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                             0, 0, 0, 0, hwnd_, (HMENU)(INT_PTR)0xE81B, nullptr, nullptr);
    if (!rebar_)
        return false;
    toolbar_ = new FCToolbar;
    if (!toolbar_->CreateToolbar(rebar_, hwnd_))
        return false;
    SIZE ideal = toolbar_->GetIdealSize();
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask =
        RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE | RBBIM_IDEALSIZE | RBBIM_COLORS;
    band.clrFore = GetSysColor(COLOR_BTNTEXT);
    band.clrBack = GetSysColor(COLOR_BTNFACE);
    band.fStyle = RBBS_NOGRIPPER | RBBS_CHILDEDGE;
    band.hwndChild = *toolbar_;
    band.cxMinChild = ideal.cx;
    band.cyMinChild = ideal.cy;
    band.cx = band.cxIdeal = ideal.cx;
    if (!SendMessageA(rebar_, RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&band))
        return false;
    if (!steps_.BuildHeaderBitmaps())
        return false;
    toolbar_->CheckOnly(FCGetStep(steps_.GetCurrent())->command_id);
    RefreshAllPages();
    SetTimer(hwnd_, kIndicatorTimer, 500, nullptr);
    return true;
}

void FCMainFrame::LayoutBars(int cx, int cy) {
    if (!status_ || !rebar_ || !view_)
        return;
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT status_rect;
    GetWindowRect(status_, &status_rect);
    int status_height = status_rect.bottom - status_rect.top;
    // The message pane stretches; the three indicators keep the width of their texts.
    int widths[4];
    {
        KZWindowDC dc(status_);
        KZSelectObject font(dc, KZGetGUIFont());
        int right = cx;
        const int ids[3] = {IDS_INDICATOR_SCRL, IDS_INDICATOR_NUM, IDS_INDICATOR_CAPS};
        widths[3] = -1;
        for (int i = 0; i < 3; ++i) {
            KZString text = FCLoadText(ids[i]);
            SIZE size = {};
            GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
            if (i > 0)
                widths[3 - i] = right;
            right -= size.cx + 12;
        }
        widths[0] = right;
        widths[3] = -1;
    }
    SendMessageA(status_, SB_SETPARTS, 4, (LPARAM)widths);
    SendMessageA(rebar_, WM_SIZE, 0, 0);
    RECT rebar_rect;
    GetWindowRect(rebar_, &rebar_rect);
    int top = rebar_rect.bottom - rebar_rect.top;
    SetWindowPos(rebar_, nullptr, 0, 0, cx, top, SWP_NOZORDER | SWP_NOACTIVATE);
    int height = cy - top - status_height;
    SetWindowPos(*view_, nullptr, 0, top, cx, height < 0 ? 0 : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void FCMainFrame::UpdateIndicators() {
    if (!status_)
        return;
    const int keys[3] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
    const int ids[3] = {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i) {
        KZString text = (GetKeyState(keys[i]) & 1) ? FCLoadText(ids[i]) : KZString();
        char current[32] = "";
        if (LOWORD(SendMessageA(status_, SB_GETTEXTLENGTHA, i + 1, 0)) < sizeof(current))
            SendMessageA(status_, SB_GETTEXTA, i + 1, (LPARAM)current);
        if (text != current)
            SendMessageA(status_, SB_SETTEXTA, i + 1, (LPARAM)text.c_str());
    }
}

bool FCMainFrame::GoToStep(int command_id) {
    int index = FCFindStepByCommand(command_id);
    if (index < 0)
        return false;
    steps_.Select(index);
    AfterStepChange();
    return true;
}

void FCMainFrame::NextStep() {
    int current = steps_.GetCurrent();
    if (current < steps_.GetCount() - 1)
        steps_.Select(current + 1);
    AfterStepChange();
}

void FCMainFrame::PrevStep() {
    int current = steps_.GetCurrent();
    if (current > 0)
        steps_.Select(current - 1);
    AfterStepChange();
}

void FCMainFrame::AfterStepChange() {
    if (view_)
        view_->UpdateNavigation();
    if (toolbar_ && steps_.GetCurrent() >= 0)
        toolbar_->CheckOnly(FCGetStep(steps_.GetCurrent())->command_id);
    if (view_)
        view_->ShowHelp(steps_.GetCurrent());
}

void FCMainFrame::RefreshAllPages() {
    steps_.LoadAll();
}

void FCMainFrame::RefreshStartPage() {
    if (FCStepWnd* start = steps_.GetStep(0))
        start->GetPage()->Load();
}

void FCMainFrame::UpdateTitle() {
    KZString title = app_title_;
    if (!document_->path_name.IsEmpty()) {
        title += " - ";
        title += FCProjectDisplayName(document_->path_name);
        title += ".kpj";
    }
    SetWindowTextA(hwnd_, title);
}

void FCMainFrame::StoreCurrentPage() {
    if (FCStepWnd* step = steps_.GetStep(steps_.GetCurrent()))
        step->GetPage()->Store();
}

void FCMainFrame::RunTest(FCTestAction action) {
    StoreCurrentPage(); // a typed message or path is part of what is tried
    FCWindowHost host(hwnd_);
    FCTestActions actions(*document_, *resources_, reporter_, host);
    switch (action) {
    case FC_TEST_SETUP:
        actions.test_setup();
        break;
    case FC_TEST_SCR:
        actions.test_scr();
        break;
    case FC_TEST_SETTINGS:
        actions.test_settings();
        break;
    case FC_TEST_CONTROL_PANEL:
        actions.test_control_panel();
        break;
    }
}

bool FCMainFrame::AskSaveChanges(bool* cancelled) {
    if (cancelled)
        *cancelled = false;
    // An edit still holding the focus has not stored its text: without this, closing or saving
    // right after typing would lose it.
    StoreCurrentPage();
    if (!document_->modified)
        return true;
    KZString question;
    question.Format(FCLoadText(IDS_SAVE_CHANGES),
                    FCProjectDisplayName(document_->path_name).c_str());
    int answer = KZMessageBox(question, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL) {
        if (cancelled)
            *cancelled = true;
        return false;
    }
    if (answer == IDNO)
        return true;
    // A file dialog closed with Cancel is the user's cancel too: going on would throw away the
    // changes the user just said to keep.
    bool dialog_cancelled = false;
    bool saved = Save(&dialog_cancelled);
    if (!saved && dialog_cancelled && cancelled)
        *cancelled = true;
    return saved;
}

bool FCMainFrame::Save(bool* cancelled) {
    if (cancelled)
        *cancelled = false;
    StoreCurrentPage();
    if (document_->path_name.IsEmpty())
        return SaveWithDialog(cancelled);
    KZString path = document_->path_name;
    if (!document_->save(path)) {
        KZMessageBox(FCLoadText(IDS_SAVE_FAILED), MB_OK | MB_ICONSTOP);
        return false;
    }
    AfterSave(path);
    return true;
}

bool FCMainFrame::SaveWithDialog(bool* cancelled) {
    if (cancelled)
        *cancelled = false;
    StoreCurrentPage();
    KZString name = FCProjectDisplayName(document_->path_name);
    if (!document_->path_name.IsEmpty())
        name += ".kpj";
    if (!AskSaveFileName(name)) {
        if (cancelled)
            *cancelled = true;
        return false;
    }
    KZString path = FCWithProjectExtension(name);
    if (!document_->save(path)) {
        KZMessageBox(FCLoadText(IDS_SAVE_FAILED), MB_OK | MB_ICONSTOP);
        return false;
    }
    AfterSave(path);
    return true;
}

void FCMainFrame::AfterSave(const char* path) {
    document_->path_name = path;
    document_->modified = false;
    if (KZCWinApp* app = KZCWinApp::Get())
        app->AddToRecentFileList(path);
    RefreshAllPages();
    UpdateTitle();
}

bool FCMainFrame::AskSaveFileName(KZString& path) {
    return KZAskSaveFileName(hwnd_, FCLoadText(IDS_SAVE_FILTER), "*.wdx", path);
}

bool FCMainFrame::AskOpenFileName(KZString& path) {
    return KZAskOpenFileName(hwnd_, FCLoadText(IDS_OPEN_FILTER), path);
}

bool FCMainFrame::OpenWithDialog() {
    bool cancelled = false;
    if (!AskSaveChanges(&cancelled))
        return false;
    KZString path;
    if (!AskOpenFileName(path))
        return false;
    return OpenProject(path);
}

bool FCMainFrame::OpenProject(const char* path) {
    bool opened = document_->open_project(path, reporter_);
    if (opened && FCIsProjectPath(path)) {
        if (KZCWinApp* app = KZCWinApp::Get())
            app->AddToRecentFileList(path);
    }
    // Shown either way: a failed opening leaves a fresh project.
    RefreshAllPages();
    UpdateTitle();
    return opened;
}

void FCMainFrame::OpenRecentProject(int index) {
    KZCWinApp* app = KZCWinApp::Get();
    const KZRecentFileList* list = app ? app->GetRecentFileList() : nullptr;
    if (!list || index < 0 || index >= list->GetCount())
        return;
    KZString path = list->Get(index);
    bool cancelled = false;
    if (!AskSaveChanges(&cancelled))
        return;
    if (OpenProject(path))
        return;
    // The entry may have moved while the question was up: remove it by its path.
    for (int i = 0; i < list->GetCount(); ++i) {
        if (list->Get(i).CompareNoCase(path) == 0) {
            app->RemoveFromRecentFileList(i);
            break;
        }
    }
    RefreshStartPage();
}

void FCMainFrame::OpenDroppedFiles(const KZString* paths, int count) {
    int chosen = FCChooseDroppedProject(paths, count);
    if (chosen < 0)
        return;
    SetForegroundWindow(hwnd_);
    bool cancelled = false;
    if (!AskSaveChanges(&cancelled))
        return;
    OpenProject(paths[chosen]);
}

void FCMainFrame::OnDropFiles(HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    KZString* paths = count ? new KZString[count] : nullptr;
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        char* buffer = paths[i].SetLength((int)length);
        if (buffer)
            DragQueryFileA(drop, i, buffer, length + 1);
    }
    DragFinish(drop);
    OpenDroppedFiles(paths, (int)count);
    delete[] paths;
}

void FCMainFrame::WritePlacement() {
    if (IsIconic(hwnd_))
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(hwnd_, &placement))
        return;
    FCPlacementValues values = {(int)placement.flags,
                                (int)placement.showCmd,
                                placement.ptMinPosition.x,
                                placement.ptMinPosition.y,
                                placement.ptMaxPosition.x,
                                placement.ptMaxPosition.y,
                                placement.rcNormalPosition.left,
                                placement.rcNormalPosition.top,
                                placement.rcNormalPosition.right,
                                placement.rcNormalPosition.bottom};
    if (KZCWinApp* app = KZCWinApp::Get())
        app->WriteProfileString("Settings", "WindowPlacement", FCFormatPlacement(values));
}

void FCMainFrame::OnClose() {
    bool cancelled = false;
    AskSaveChanges(&cancelled);
    // Only the user's Cancel keeps the window; a failed save still closes it.
    if (cancelled)
        return;
    WritePlacement();
    ::DestroyWindow(hwnd_);
}

bool FCMainFrame::OnCommand(int id) {
    if (id >= FC_STEP_COMMAND_FIRST && id <= FC_STEP_COMMAND_LAST) {
        GoToStep(id);
        return true;
    }
    if (id >= FC_ID_RECENT_FIRST && id <= FC_ID_RECENT_LAST) {
        OpenRecentProject(id - FC_ID_RECENT_FIRST);
        return true;
    }
    switch (id) {
    case FC_ID_APP_ABOUT:
        if (about_action_)
            about_action_(about_context_);
        return true;
    case FC_ID_FILE_OPEN:
        OpenWithDialog();
        return true;
    case FC_ID_FILE_SAVE:
        Save();
        return true;
    case FC_ID_FILE_SAVE_AS:
        SaveWithDialog();
        return true;
    }
    return false;
}

LRESULT FCMainFrame::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED)
            LayoutBars(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY: {
        KillTimer(hwnd_, kIndicatorTimer);
        KZCWinApp* app = KZCWinApp::Get();
        if (app && app->GetMainWindow() == this)
            PostQuitMessage(0);
        break;
    }
    case WM_TIMER:
        if (wparam == kIndicatorTimer) {
            UpdateIndicators();
            return 0;
        }
        break;
    case WM_DROPFILES:
        OnDropFiles((HDROP)wparam);
        return 0;
    case WM_COMMAND: {
        LRESULT result = 0;
        if (ReflectToChild(message, wparam, lparam, &result))
            return result;
        if (OnCommand(LOWORD(wparam)))
            return 0;
        break;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (ReflectToChild(message, wparam, lparam, &result))
            return result;
        NMHDR* header = reinterpret_cast<NMHDR*>(lparam);
        if (header->code == TTN_GETDISPINFOA) {
            NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(lparam);
            static KZString tip; // must outlive this message
            tip = FCStepTooltip((int)header->idFrom);
            info->lpszText = const_cast<char*>(tip.c_str());
            return 0;
        }
        break;
    }
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}
