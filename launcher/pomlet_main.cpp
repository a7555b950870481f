// Entry of the launcher: starts the rest of its own command line as a new process and ends. No C
// runtime, so that the program stays within 2,048 bytes.
#include <windows.h>

#include "runtime/core/qvrk_command_line.h"

extern "C" void PomletEntry() {
    // An unclosed quote leaves nothing behind the name: the empty rest then starts nothing.
    char* line = (char*)qvrk_skip_program_name(GetCommandLineA(), 1);

    STARTUPINFOA startup;
    startup.dwFlags = 0;
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION process;
    // The handles are left to the process exit; the target runs on its own.
    CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    ExitProcess(0);
}
