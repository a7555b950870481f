// The Start Menu Items page: the Start-menu entries the setup creates, each a box enabling its
// caption (and for URL Link and Custom its target), the custom icon and the additional folder
// level. Readme and License can be chosen only while the setup installs a readme or shows a
// licence; an unchecked entry keeps its last texts in the project.
#pragma once

#include "builder/ui/controls/kzc_edit.h"
#include "builder/ui/pages/fc_step_dlg.h"
#include "media/base/kz_string.h"

class FCSMenuDlg : public FCStepDlg {
public:
    FCSMenuDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;
    bool Store() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    // The icon's open-file dialog; true with the chosen path.
    virtual bool AskIconFileName(KZString& path);

private:
    void ApplyEnabling();
    void BrowseIcon();

    enum { kGuardedEdits = 8 };
    KZCExcludeCharsEdit guarded_[kGuardedEdits];
};
