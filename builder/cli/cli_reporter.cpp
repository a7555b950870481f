#include "builder/cli/cli_reporter.h"

#include <cstdio>

#include "builder/cli/cli_text.h"
#include "builder/engine/fc_document.h"

int CliReporter::ShowMessage(const char* text, unsigned type) {
    std::string shown = CliAnsiToTerminal(text ? text : "");
    if (!subject.empty()) {
        if (!shown.empty() && shown.back() != '\n')
            shown += '\n';
        shown += subject;
    }
    fputs(shown.c_str(), stderr);
    if (shown.empty() || shown.back() != '\n')
        fputc('\n', stderr);
    switch (type & KZ_MB_TYPEMASK) {
    case KZ_MB_YESNO:
    case KZ_MB_YESNOCANCEL:
        return KZ_IDNO;
    case KZ_MB_OKCANCEL:
    case KZ_MB_RETRYCANCEL:
        return KZ_IDCANCEL;
    default:
        return KZ_IDOK;
    }
}

bool CliOpenProject(FCDocument& document, const char* path, CliReporter& reporter) {
    // The engine's message gives only the reason, as the wizard's box does; a terminal shows no
    // file dialog beside it, so the path follows.
    reporter.subject = CliAnsiToTerminal(path);
    bool opened = document.open_project(path, reporter);
    reporter.subject.clear();
    return opened;
}
