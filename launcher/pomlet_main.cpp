// Entry of the launcher: no C runtime.
#include <windows.h>

extern "C" void PomletEntry() {
    ExitProcess(0);
}
