// The page class of each step.
#pragma once

#include "builder/ui/pages/fc_step_dlg.h"

// The page for step `index` of the step table (not yet created as a window); null out of range.
FCStepDlg* FCCreateStepPage(int index, FCMainFrame* frame, FCDocument* document,
                            const FCHeaderBitmaps* header_bitmaps);
