// Entry of the screensaver stub: no C runtime, so the process starts here.
#include <windows.h>

#include "runtime_heap.h"

extern "C" void SaverEntry() {
    HeapInitialize();
    ExitProcess(0);
}
