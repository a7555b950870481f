// Critical sections, and sleeping. The programs that need a thread of their own create it with
// the platform's call where they need it (the console runners).
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

// Sleeps the calling thread.
void KZSleep(unsigned milliseconds);
