// scrkit-cli's side of the engine's reporting: messages go to stderr and the wait cursor has
// nothing to show. No command of scrkit-cli asks a question; one asked all the same is answered
// No (or Cancel), so that nothing is overwritten unasked.
#pragma once

#include <string>

#include "builder/engine/fc_host.h"
#include "media/base/kz_reporter.h"

class FCDocument;

class CliReporter : public KZReporter {
public:
    int ShowMessage(const char* text, unsigned type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    // Terminal text printed on a line of its own after each message while it is set: the file
    // that the engine's message is about when the engine does not name it.
    std::string subject;
};

// scrkit-cli has no window to hide or keep painted.
class CliHost : public FCHost {
public:
    void hide_window() override {}
    void show_window() override {}
    void keep_painted() override {}
};

// Opens a project; on failure the engine's message is printed and followed by the path.
bool CliOpenProject(FCDocument& document, const char* path, CliReporter& reporter);
