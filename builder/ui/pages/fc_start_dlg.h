// The Start page: how the work begins. Open a saved project, reopen a recent one (the Reopen
// button's menu), start from a Flash movie (its background colour taken, the rest of the project
// kept) or start an empty project.
#pragma once

#include "builder/ui/controls/kzc_big_button.h"
#include "builder/ui/controls/kzc_menu_button.h"
#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/pages/fc_step_dlg.h"

class FCSStartDlg : public FCStepDlg {
public:
    FCSStartDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;

    // The menu button's menu (for tests): rebuilt by each load.
    HMENU GetRecentMenu() const { return reopen_.GetMenu(); }

protected:
    bool OnCommand(int id, int code, HWND control) override;
    // The movie's open-file dialog; true with the chosen path.
    virtual bool AskMovieFileName(KZString& path);

private:
    void OpenProject();
    void StartFromMovie();
    void NewProject();

    KZCBigButton project_;
    KZCBigButton movie_;
    KZCBigButton blank_;
    KZCMenuButton reopen_;
    KZFont title_font_;
    KZFont caption_font_;
};

// The name shown for a recent file: the part after `folder` when the file lies in it (compared
// without ASCII case), else the whole path; `folder` ends with a backslash.
KZString FCRecentDisplayName(const char* path, const char* folder);
