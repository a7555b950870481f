// Critical sections, events and sleeping. The programs that need a thread of their own create it
// with the platform's call where they need it (the console runners).
#pragma once

struct KZCriticalSectionData;
typedef KZCriticalSectionData* KZCriticalSection;

KZCriticalSection KZCreateCriticalSection(); // null on failure
void KZEnterCriticalSection(KZCriticalSection section);
void KZLeaveCriticalSection(KZCriticalSection section);
void KZDeleteCriticalSection(KZCriticalSection section); // null is ignored

// Holds a critical section for a scope.
class KZLock {
public:
    explicit KZLock(KZCriticalSection s) : section(s) { KZEnterCriticalSection(section); }
    ~KZLock() { KZLeaveCriticalSection(section); }
    KZLock(const KZLock&) = delete;
    KZLock& operator=(const KZLock&) = delete;

private:
    KZCriticalSection section;
};

// A signal that one thread waits for and others raise. It stays raised until a wait takes it,
// so a raise just before the wait is not lost.
struct KZEventData;
typedef KZEventData* KZEvent;

KZEvent KZCreateEvent(); // null on failure
void KZRaiseEvent(KZEvent event);
void KZWaitEvent(KZEvent event);
void KZDeleteEvent(KZEvent event); // null is ignored

// Sleeps the calling thread.
void KZSleep(unsigned milliseconds);
