// scrkit-cli's side of the engine's reporting: messages go to stderr, questions are answered from
// the command line (--yes), and the wait cursor has nothing to show.
#pragma once

#include <string>

#include "media/base/kz_reporter.h"

class FCDocument;

class CliReporter : public KZReporter {
public:
    int ShowMessage(const char* text, unsigned type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    bool answer_yes = false;
    int message_count = 0;
    // Terminal text printed on a line of its own after each message while it is set: the file
    // that the engine's message is about when the engine does not name it.
    std::string subject;
};

// Opens a project; on failure the engine's message is printed and followed by the path.
bool CliOpenProject(FCDocument& document, const char* path, CliReporter& reporter);
