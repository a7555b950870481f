// The Setup Parameters page: names, version, company, copyright, installation folder, the
// setup's pages, language and password. The folder, its preview and the copyright follow the
// company and long name while they are not custom.
#pragma once

#include "builder/ui/controls/kzc_edit.h"
#include "builder/ui/pages/fc_step_dlg.h"

class FCSSetupDlg : public FCStepDlg {
public:
    FCSSetupDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;
    bool Store() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;

private:
    void RefreshDerivedTexts();
    void ShowFolderPreview();
    void OnCustomBox(int box, int edit);
    void TestUrl();

    enum { kGuardedEdits = 5 };
    KZCExcludeCharsEdit guarded_[kGuardedEdits];
    bool loading_ = false;
    bool refreshing_ = false;
};
