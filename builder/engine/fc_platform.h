// What the engine's platform files supply, in one list: fc_platform_*.cpp (the program folder,
// replacing a file, the compiler's name), fc_shell_*.cpp (the shell's "open" verb),
// fc_resources_*.cpp (the program's own resources) and fc_console_runner_*.cpp
// (FCConsoleRunner's process, pipe and reader). fc_test_actions_win32.cpp exists on Windows only.
// Shared code asks these instead of testing the platform itself.
#pragma once

#include "media/base/kz_string.h"

class FCResources;

// Folder of the running program with a trailing separator; empty when the system does not say.
KZString FCProgramFolder();

// Moves `from` over `to`, replacing a file that is there, in one step where the system allows it.
// False when nothing was moved (then both files are as they were).
bool FCReplaceFile(const char* from, const char* to);

// The installer compiler under the builder folder: "setup\iscc.exe" on Windows, "setup/iscc" on
// POSIX.
const char* FCDefaultCompilerName();

// Opens a file with the shell's "open" verb in a normal window (Windows); false where there is
// no shell to ask.
bool FCShellOpen(const char* path);

// The resources of the running program's own module (Windows: scrkit.exe); null on POSIX, where
// scrkit-cli uses an FCResourceTable instead.
FCResources* FCCreateModuleResources();
