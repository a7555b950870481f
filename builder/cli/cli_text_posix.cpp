// Terminal text on POSIX: the terminal speaks UTF-8, the document Windows-1252.
#include "builder/cli/cli_text.h"

#include <cstdlib>
#include <unistd.h>

#include "builder/engine/fc_platform.h"

#include "media/base/kz_folder.h"
#include "media/base/kz_text.h"

bool CliArgumentToAnsi(const char* argument, KZString& out) {
    return KZUtf8ToAnsi(argument, out);
}

std::string CliAnsiToTerminal(const char* ansi) {
    KZString text;
    return KZAnsiToUtf8(ansi, text) ? std::string(text.c_str()) : std::string();
}

std::string CliUtf16ToTerminal(const uint16_t* units, size_t count) {
    KZString text;
    if (!KZUtf16ToUtf8(reinterpret_cast<const char16_t*>(units), int(count), text))
        return std::string();
    return text.c_str();
}

std::string CliUnnamedTempFolder() {
    if (!GetTempFolder().IsEmpty())
        return std::string();
    const char* folder = getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

std::string CliUnnamedProgramFolder() {
    if (!FCProgramFolder().IsEmpty())
        return std::string();
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::string(); // the system does not say: nothing to name
    std::string folder(buffer, size_t(n));
    return folder.substr(0, folder.find_last_of('/') + 1);
}
