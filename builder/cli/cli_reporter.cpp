#include "builder/cli/cli_reporter.h"

#include <cstdio>

#include "builder/cli/cli_text.h"

int CliReporter::ShowMessage(const char* text, unsigned type) {
    std::string shown = CliAnsiToTerminal(text ? text : "");
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
