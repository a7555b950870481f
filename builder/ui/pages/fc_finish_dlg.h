// The Finish page: the three tests, the two exports (a setup program, a bare screensaver file)
// and the project's save with a file dialog. It shows no field of the project.
#pragma once

#include "builder/ui/pages/fc_step_dlg.h"
#include "media/base/kz_string.h"

class FCSFinishDlg : public FCStepDlg {
public:
    FCSFinishDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;

private:
    void RunTest(int button);
    void Export(bool setup);
};
