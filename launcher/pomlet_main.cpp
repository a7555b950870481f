// Entry of the launcher: starts the rest of its own command line as a new process and ends. No C
// runtime, so that the program stays within 2,048 bytes.
#include <windows.h>

extern "C" void PomletEntry() {
    char* line = GetCommandLineA();
    if (*line == '"') {
        ++line;
        while (*line && *line != '"')
            ++line;
        // Without a closing quote nothing trustworthy follows the launcher's own name.
        if (*line != '"')
            ExitProcess(0);
        ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
        if (*line)
            ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;

    STARTUPINFOA startup;
    startup.dwFlags = 0;
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION process;
    // The handles are left to the process exit; the target runs on its own.
    CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    ExitProcess(0);
}
