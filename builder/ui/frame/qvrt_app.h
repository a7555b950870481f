// The application object of scrkit.exe: start-up in its fixed order (control containment, the
// language, the controls' shared resources, the colour-depth check, the company key, the splash
// screen, the recent list, the main frame, the placement, the command-line project), the
// message-box hook, the About box and exit.
#pragma once

#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/frame/kzc_locale.h"
#include "builder/ui/frame/kzc_splash_screen.h"
#include "builder/ui/framework/kz_win_app.h"

class QVRTApp : public KZCWinApp {
public:
    enum { kVersionMajor = 2, kVersionMinor = 4, kRecentLimit = 8 };

    QVRTApp() = default;
    ~QVRTApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    int DoMessageBox(const char* text, unsigned type, unsigned help_id) override;

    void OpenRecentProject(int index);
    void ShowAbout();
    // Asks the shell to open a web page; nothing for an empty address.
    static void OpenWebPage(const char* url);

private:
    void RestorePlacement();

    KZCLocale* locale_ = nullptr;
    KZCSplashScreen splash_;
    FCMainFrame* frame_ = nullptr;
    bool com_started_ = false;
};
