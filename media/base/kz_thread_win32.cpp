// Critical sections on Windows.
#include "media/base/kz_thread.h"

#include <windows.h>

#include "media/base/kz_memory.h"

struct KZCriticalSectionData {
    CRITICAL_SECTION section;
};

KZCriticalSection KZCreateCriticalSection() {
    KZCriticalSectionData* data =
        static_cast<KZCriticalSectionData*>(KZMalloc(sizeof(KZCriticalSectionData)));
    if (!data)
        return nullptr;
    InitializeCriticalSection(&data->section);
    return data;
}

void KZEnterCriticalSection(KZCriticalSection section) {
    if (section)
        EnterCriticalSection(&section->section);
}

void KZLeaveCriticalSection(KZCriticalSection section) {
    if (section)
        LeaveCriticalSection(&section->section);
}

void KZDeleteCriticalSection(KZCriticalSection section) {
    if (!section)
        return;
    DeleteCriticalSection(&section->section);
    KZFree(section);
}

void KZSleep(unsigned milliseconds) {
    Sleep(milliseconds);
}
