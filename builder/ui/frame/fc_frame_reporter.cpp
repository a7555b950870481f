#include "builder/ui/frame/fc_frame_reporter.h"

#include "builder/ui/framework/kz_win_app.h"

int FCFrameReporter::ShowMessage(const char* text, unsigned type) {
    // A box while the wait cursor is up shows the arrow.
    if (depth_ > 0)
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    int answer = KZMessageBox(text, type);
    if (depth_ > 0)
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return answer;
}

void FCFrameReporter::BeginWaitCursor() {
    if (depth_++ == 0)
        previous_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void FCFrameReporter::EndWaitCursor() {
    if (depth_ > 0 && --depth_ == 0)
        SetCursor(previous_);
}
