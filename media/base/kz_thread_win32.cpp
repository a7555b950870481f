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

// An auto-reset event: a wait takes the raised state with it.
KZEvent KZCreateEvent() {
    return reinterpret_cast<KZEvent>(CreateEventA(nullptr, FALSE, FALSE, nullptr));
}

void KZRaiseEvent(KZEvent event) {
    SetEvent(reinterpret_cast<HANDLE>(event));
}

void KZWaitEvent(KZEvent event) {
    WaitForSingleObject(reinterpret_cast<HANDLE>(event), INFINITE);
}

void KZDeleteEvent(KZEvent event) {
    if (event)
        CloseHandle(reinterpret_cast<HANDLE>(event));
}

void KZSleep(unsigned milliseconds) {
    Sleep(milliseconds);
}
