// Threads and critical sections on Windows.
#include "media/base/kz_thread.h"

#include <windows.h>

#include "media/base/kz_memory.h"

struct KZThreadRecord {
    HANDLE handle;
    KZThreadFunction function;
    void* argument;
};

struct KZCriticalSectionData {
    CRITICAL_SECTION section;
};

namespace {
DWORD slot = TLS_OUT_OF_INDEXES;

DWORD WINAPI ThreadMain(LPVOID data) {
    KZThreadRecord* record = static_cast<KZThreadRecord*>(data);
    TlsSetValue(slot, record);
    unsigned result = record->function(record->argument);
    TlsSetValue(slot, nullptr);
    HANDLE handle = record->handle;
    KZFree(record);
    CloseHandle(handle);
    return DWORD(result);
}
} // namespace

KZThread StartThread(KZThreadFunction function, void* argument) {
    if (!function)
        return nullptr;
    if (slot == TLS_OUT_OF_INDEXES) {
        slot = TlsAlloc();
        if (slot == TLS_OUT_OF_INDEXES)
            return nullptr;
    }
    KZThreadRecord* record = static_cast<KZThreadRecord*>(KZMalloc(sizeof(KZThreadRecord)));
    if (!record)
        return nullptr;
    record->function = function;
    record->argument = argument;
    // Suspended, so that the record holds the handle before the thread can close it.
    DWORD id = 0;
    HANDLE handle = CreateThread(nullptr, 0, ThreadMain, record, CREATE_SUSPENDED, &id);
    if (!handle) {
        KZFree(record);
        return nullptr;
    }
    record->handle = handle;
    ResumeThread(handle);
    // The handle closes itself when the thread ends: the pointer only says the thread started.
    return reinterpret_cast<KZThread>(handle);
}

void EndThreads() {
    if (slot == TLS_OUT_OF_INDEXES)
        return;
    KZThreadRecord* record = static_cast<KZThreadRecord*>(TlsGetValue(slot));
    if (record) {
        TlsSetValue(slot, nullptr);
        CloseHandle(record->handle);
        KZFree(record);
    }
    TlsFree(slot);
    slot = TLS_OUT_OF_INDEXES;
}

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
