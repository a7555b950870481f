// A thin thread wrapper, critical sections and events.
//
// A started thread runs on its own: it closes its handle when its function returns, so the handle
// returned by StartThread says only that the thread was started; wait for a thread's work through
// a critical section or the caller's own means.
#pragma once

typedef unsigned (*KZThreadFunction)(void* argument);
struct KZThreadRecord;
typedef KZThreadRecord* KZThread;

// Runs function(argument) on a new thread. Null when the thread-local slot, the start record or
// the thread cannot be had.
KZThread StartThread(KZThreadFunction function, void* argument);
// Frees the calling thread's record (if it has one) and the thread-local slot; called at exit.
void EndThreads();

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
