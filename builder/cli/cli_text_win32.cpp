// Terminal text on Windows: the console takes the ANSI code page as it is.
#include "builder/cli/cli_text.h"

#include "media/base/kz_text.h"

bool CliArgumentToAnsi(const char* argument, KZString& out) {
    out = argument;
    return !out.IsError();
}

std::string CliAnsiToTerminal(const char* ansi) {
    return ansi ? ansi : "";
}

std::string CliUtf16ToTerminal(const uint16_t* units, size_t count) {
    KZString ansi;
    if (count && !Utf16ToAnsiString(reinterpret_cast<const char16_t*>(units), int(count), ansi))
        return std::string();
    return ansi.c_str();
}

std::string CliUnnamedTempFolder() {
    // Windows names its temporary folder in the ANSI code page itself.
    return std::string();
}

std::string CliUnnamedProgramFolder() {
    return std::string();
}
