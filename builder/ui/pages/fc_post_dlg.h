// The Post-Setup Actions page: what the setup offers to do when it ends (display the readme,
// open the screen properties, launch a file), each asked with a message or done without asking.
// The file to launch is one of the additional files or a path typed by the author.
#pragma once

#include "builder/ui/pages/fc_step_dlg.h"

class FCSEndDlg : public FCStepDlg {
public:
    FCSEndDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;
    bool Store() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;

private:
    void ApplyEnabling();
    void FillLaunchChoices();
    void StoreLaunchChoice();

    bool loading_ = false;
};
