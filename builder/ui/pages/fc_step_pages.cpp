#include "builder/ui/pages/fc_step_pages.h"

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/pages/fc_files_dlg.h"
#include "builder/ui/pages/fc_finish_dlg.h"
#include "builder/ui/pages/fc_menu_dlg.h"
#include "builder/ui/pages/fc_playback_dlg.h"
#include "builder/ui/pages/fc_post_dlg.h"
#include "builder/ui/pages/fc_settings_dlg.h"
#include "builder/ui/pages/fc_setup_dlg.h"
#include "builder/ui/pages/fc_start_dlg.h"
#include "builder/ui/pages/fc_style_dlg.h"

namespace {

// The section headers of each step's template, 0-terminated.
const int kHeaders[FC_STEP_COUNT][7] = {
    {IDC_HEADER_START, 0},
    {IDC_HEADER_TITLES, IDC_HEADER_INSTALL_DIR, IDC_HEADER_MISC, 0},
    {IDC_HEADER_STYLE, 0},
    {IDC_HEADER_SWF_MOVIE, IDC_HEADER_SOUND, IDC_HEADER_QUALITY, IDC_HEADER_BACKGROUND,
     IDC_HEADER_SIZE, IDC_HEADER_WAKE_UP, 0},
    {IDC_HEADER_SETTINGS_DIALOG, 0},
    {IDC_HEADER_LICENSE, IDC_HEADER_README, IDC_HEADER_ADDITIONAL, 0},
    {0},
    {IDC_HEADER_SETUP_END, 0},
    {IDC_HEADER_TESTING, IDC_HEADER_EXPORTING, IDC_HEADER_SAVING, 0},
};

class FCHeadersOnlyPage : public FCStepDlg {
public:
    FCHeadersOnlyPage(int index, FCMainFrame* frame, FCDocument* document,
                      const FCHeaderBitmaps* bitmaps)
        : FCStepDlg(FCGetStep(index)->dialog_id, frame, document, bitmaps), index_(index) {}

    void CreateControls() override {
        for (const int* id = kHeaders[index_]; *id; ++id)
            AddHeader(*id);
    }

private:
    int index_;
};

} // namespace

FCStepDlg* FCCreateStepPage(int index, FCMainFrame* frame, FCDocument* document,
                            const FCHeaderBitmaps* header_bitmaps) {
    if (!FCGetStep(index))
        return nullptr;
    if (index == 0)
        return new FCSStartDlg(frame, document, header_bitmaps);
    if (index == 1)
        return new FCSSetupDlg(frame, document, header_bitmaps);
    if (index == 2)
        return new FCSStyleDlg(frame, document, header_bitmaps);
    if (index == 3)
        return new FCSPlaybackDlg(frame, document, header_bitmaps);
    if (index == 4)
        return new FCSSettingsDlg(frame, document, header_bitmaps);
    if (index == 5)
        return new FCSFilesDlg(frame, document, header_bitmaps);
    if (index == 6)
        return new FCSMenuDlg(frame, document, header_bitmaps);
    if (index == 7)
        return new FCSEndDlg(frame, document, header_bitmaps);
    if (index == 8)
        return new FCSFinishDlg(frame, document, header_bitmaps);
    return new FCHeadersOnlyPage(index, frame, document, header_bitmaps);
}
