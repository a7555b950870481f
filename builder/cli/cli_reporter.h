// scrkit-cli's side of the engine's reporting: messages go to stderr and the wait cursor has
// nothing to show. No command of scrkit-cli asks a question; one asked all the same is answered
// No (or Cancel), so that nothing is overwritten unasked.
#pragma once

#include "builder/engine/fc_host.h"
#include "media/base/kz_reporter.h"

class CliReporter : public KZReporter {
public:
    int ShowMessage(const char* text, unsigned type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

// scrkit-cli has no window to hide or keep painted.
class CliHost : public FCHost {
public:
    void hide_window() override {}
    void show_window() override {}
    void keep_painted() override {}
};
