#include "builder/ui/frame/qvrt_app.h"

#include <commctrl.h>
#include <ole2.h>

#include "builder/engine/fc_document.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/controls/kz_gui_string_table.h"
#include "builder/ui/controls/kz_message_box_rules.h"
#include "builder/ui/controls/kz_picture_bitmap.h"
#include "builder/ui/controls/kzc_message_box.h"
#include "builder/ui/frame/fc_about_dlg.h"
#include "builder/ui/frame/fc_resource_text.h"
#include "media/picture/kz_picture.h"

namespace {

const char kCompany[] = "Marqon Technologies";
const int kMinimumSplashMs = 1000;

// "SetWindowTheme" of uxtheme.dll when the system has it; the controls run without it.
typedef HRESULT(WINAPI* SetWindowThemeFunction)(HWND, LPCWSTR, LPCWSTR);
SetWindowThemeFunction g_set_window_theme = nullptr;

void ShowAboutAction(void* app) {
    static_cast<QVRTApp*>(app)->ShowAbout();
}

} // namespace

QVRTApp::~QVRTApp() {
    delete frame_;
    delete locale_;
}

bool QVRTApp::InitInstance() {
    // Hosting of ActiveX controls (the help panel's browser).
    com_started_ = SUCCEEDED(OleInitialize(nullptr));

    char title[128] = "Tarvo Saver";
    LoadStringA(instance_, IDS_APPLICATION_TITLE, title, sizeof(title));
    SetAppName(title);
    locale_ = new KZCLocale(kCompany, title);
    KZGUIStringTable::SetLanguage(locale_->Choose(" "));

    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (HMODULE uxtheme = LoadLibraryA("uxtheme.dll"))
        g_set_window_theme = reinterpret_cast<SetWindowThemeFunction>(
            reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
    if (!KZCreateGUIResources())
        return false;

    {
        HDC screen = GetDC(nullptr);
        int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        ReleaseDC(nullptr, screen);
        if (bits <= 15) {
            KZMessageBox(FCLoadText(IDS_COLOR_DEPTH), MB_OK);
            return false;
        }
    }

    SetRegistryKey(kCompany);

    if (KZPicture* picture = KZLoadPngResource(IDB_SPLASH_PNG)) {
        HBITMAP bitmap = KZCreateBitmapFromPicture(picture, GetSysColor(COLOR_BTNFACE));
        picture->Release();
        KZString version;
        version.Format(FCLoadText(IDS_VERSION_FORMAT), (int)kVersionMajor, (int)kVersionMinor);
        RECT text_rect = {20, 94, 220, 294};
        if (bitmap)
            splash_.Show(bitmap, version, text_rect);
    }

    LoadRecentFileList(kRecentLimit);

    frame_ = new FCMainFrame();
    frame_->SetAboutAction(ShowAboutAction, this);
    int dpi = 96;
    {
        HDC screen = GetDC(nullptr);
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (!frame_->CreateFrame(app_name_, dpi)) {
        splash_.Close(0);
        return false;
    }
    SetMainWindow(frame_);

    splash_.Close(kMinimumSplashMs);

    RestorePlacement();
    UpdateWindow(*frame_);

    KZString file = FCCommandLineFile(GetCommandLineA());
    if (!file.IsEmpty() && FCIsProjectPath(file)) {
        frame_->OpenProject(file);
        frame_->GoToStep(201); // Setup Parameters, whether or not it opened
    }
    return true;
}

void QVRTApp::RestorePlacement() {
    FCPlacementValues saved;
    if (!FCParsePlacement(GetProfileString("Settings", "WindowPlacement"), &saved)) {
        ShowWindow(*frame_, show_command_);
        return;
    }
    // The position only: the frame keeps the size it chose for this screen.
    RECT current;
    GetWindowRect(*frame_, &current);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    placement.flags = (UINT)saved.flags;
    placement.showCmd = (UINT)saved.show_command;
    placement.ptMinPosition = {saved.min_x, saved.min_y};
    placement.ptMaxPosition = {saved.max_x, saved.max_y};
    placement.rcNormalPosition = {saved.left, saved.top,
                                  saved.left + (current.right - current.left),
                                  saved.top + (current.bottom - current.top)};
    SetWindowPlacement(*frame_, &placement);
    ShowWindow(*frame_, saved.show_command);
}

int QVRTApp::ExitInstance() {
    int code = KZCWinApp::ExitInstance();
    SaveRecentFileList();
    delete frame_;
    frame_ = nullptr;
    KZReleaseGUIResources();
    delete locale_;
    locale_ = nullptr;
    if (com_started_)
        OleUninitialize();
    return code;
}

int QVRTApp::DoMessageBox(const char* text, unsigned type, unsigned help_id) {
    (void)help_id; // no help file: the prompt id would be offset by 0x30000
    HWND owner = GetActiveWindow();
    if (!owner && main_window_)
        owner = *main_window_;
    // No box may hide behind the splash screen.
    bool splash = splash_.IsShown();
    if (splash)
        splash_.Hide();
    // The box is modal to its owner, which keeps the frame and its pages from input meanwhile.
    KZCMessageBox box(text, app_name_, KZAddDefaultMessageBoxIcon(type));
    int answer = box.Show(owner);
    if (splash)
        splash_.Restore();
    return answer;
}

void QVRTApp::OpenRecentProject(int index) {
    if (frame_)
        frame_->OpenRecentProject(index);
}

void QVRTApp::ShowAbout() {
    FCAboutDlg about;
    about.DoModal(frame_ ? frame_->GetHandle() : nullptr);
}

void QVRTApp::OpenWebPage(const char* url) {
    if (url && *url)
        ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
}
