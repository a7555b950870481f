// scrkit-cli's side of the engine's reporting: messages go to stderr, questions are answered from
// the command line (--yes), and the wait cursor has nothing to show.
#pragma once

#include "media/base/kz_reporter.h"

class CliReporter : public KZReporter {
public:
    int ShowMessage(const char* text, unsigned type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    bool answer_yes = false;
    int message_count = 0;
};
