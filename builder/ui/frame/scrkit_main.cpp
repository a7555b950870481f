// scrkit.exe until the real start-up lands: the application object opens one plain main window
// titled with the application name; closing it ends the program.
#include <windows.h>
#include <commctrl.h>

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/controls/kz_message_box_rules.h"
#include "builder/ui/controls/kzc_message_box.h"
#include "builder/ui/framework/kz_win_app.h"
#include "builder/ui/framework/kz_window.h"

namespace {

class PlainFrame : public KZCWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return KZCWnd::WindowProc(message, wparam, lparam);
    }
};

class PlainApp : public KZCWinApp {
public:
    bool InitInstance() override {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        if (!KZCreateGUIResources())
            return false;
        char title[128] = "Tarvo Saver";
        LoadStringA(instance_, IDS_APPLICATION_TITLE, title, sizeof(title));
        SetAppName(title);
        SetRegistryKey("Marqon Technologies");
        LoadRecentFileList(8);

        KZCreateArgs args;
        args.class_name = "TarvoSaverFrame";
        args.title = title;
        args.width = 680;
        args.height = 540;
        args.icon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
        args.background = (HBRUSH)(COLOR_BTNFACE + 1);
        if (!frame_.Create(args))
            return false;
        SetMainWindow(&frame_);
        ShowWindow(frame_, show_command_);
        UpdateWindow(frame_);
        return true;
    }

    int ExitInstance() override {
        KZReleaseGUIResources();
        return KZCWinApp::ExitInstance();
    }

    int DoMessageBox(const char* text, unsigned type, unsigned help_id) override {
        KZCMessageBox box(text, app_name_, KZAddDefaultMessageBoxIcon(type));
        return box.Show(GetActiveWindow());
    }

private:
    PlainFrame frame_;
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    PlainApp app;
    return app.Main(instance, show);
}
