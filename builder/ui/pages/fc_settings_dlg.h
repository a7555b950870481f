// The Screensaver Settings page: what the screensaver's settings dialog shows (an image or movie,
// or a message) and what the Display Properties preview shows (a colour, the main movie, the
// settings movie or a file of its own), with the two buttons that try them.
#pragma once

#include "builder/ui/controls/kzc_scolor_button.h"
#include "builder/ui/pages/fc_step_dlg.h"
#include "media/base/kz_string.h"

class FCSSettingsDlg : public FCStepDlg {
public:
    FCSSettingsDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;
    bool Store() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The open-file dialog of both Browse buttons; true with the chosen path.
    virtual bool AskMovieOrPictureFileName(KZString& path);

private:
    void ApplyStates();
    void Browse(int edit);
    void RunTest(bool control_panel);

    KZCSColorButton color_;
    bool loading_ = false;
};
