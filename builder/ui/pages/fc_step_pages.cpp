#include "builder/ui/pages/fc_step_pages.h"

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

FCStepDlg* FCCreateStepPage(int index, FCMainFrame* frame, FCDocument* document,
                            const FCHeaderBitmaps* header_bitmaps) {
    if (!FCGetStep(index))
        return nullptr;
    switch (index) {
    case 0:
        return new FCSStartDlg(frame, document, header_bitmaps);
    case 1:
        return new FCSSetupDlg(frame, document, header_bitmaps);
    case 2:
        return new FCSStyleDlg(frame, document, header_bitmaps);
    case 3:
        return new FCSPlaybackDlg(frame, document, header_bitmaps);
    case 4:
        return new FCSSettingsDlg(frame, document, header_bitmaps);
    case 5:
        return new FCSFilesDlg(frame, document, header_bitmaps);
    case 6:
        return new FCSMenuDlg(frame, document, header_bitmaps);
    case 7:
        return new FCSEndDlg(frame, document, header_bitmaps);
    case 8:
        return new FCSFinishDlg(frame, document, header_bitmaps);
    }
    return nullptr;
}
