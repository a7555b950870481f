// The Installation Files page: the licence shown by the setup, the readme, the additional files
// installed with the screensaver and the files its movie loads while playing. Each row is a box
// enabling its read-only edit and Browse button; the two lists show their entries joined by ";".
#pragma once

#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/pages/fc_step_dlg.h"

class FCSFilesDlg : public FCStepDlg {
public:
    FCSFilesDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;
    bool Store() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    // The file dialogs; tests may answer them without a dialog.
    virtual bool AskFileName(const char* filter, KZString& path);
    virtual KZOpenFilesResult AskFileNames(const char* filter, KZTOArray<KZString>& paths);

private:
    void ApplyEnabling();
    void BrowseOne(int edit, const char* filter);
    void BrowseList(bool additional);
};
