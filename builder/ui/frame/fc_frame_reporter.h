// The engine's reporter in the wizard: messages go through the program's message box (the
// application's hook), the wait cursor is the system's.
#pragma once

#include <windows.h>

#include "media/base/kz_reporter.h"

class FCFrameReporter : public KZReporter {
public:
    int ShowMessage(const char* text, unsigned type) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    HCURSOR previous_ = nullptr;
    int depth_ = 0;
};
