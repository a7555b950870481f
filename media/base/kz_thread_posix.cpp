// Threads and critical sections over pthreads. Threads are detached: like the Windows version
// they clean up after themselves when their function returns.
#include "media/base/kz_thread.h"

#include <cstdint>
#include <ctime>
#include <new>
#include <pthread.h>

#include "media/base/kz_memory.h"

struct KZThreadRecord {
    pthread_t thread;
    KZThreadFunction function;
    void* argument;
};

struct KZCriticalSectionData {
    pthread_mutex_t mutex;
};

namespace {
pthread_key_t slot;
bool have_slot = false;

void* ThreadMain(void* data) {
    KZThreadRecord* record = static_cast<KZThreadRecord*>(data);
    pthread_setspecific(slot, record);
    unsigned result = record->function(record->argument);
    pthread_setspecific(slot, nullptr);
    KZFree(record);
    return reinterpret_cast<void*>(uintptr_t(result));
}
} // namespace

KZThread StartThread(KZThreadFunction function, void* argument) {
    if (!function)
        return nullptr;
    if (!have_slot) {
        if (pthread_key_create(&slot, nullptr) != 0)
            return nullptr;
        have_slot = true;
    }
    KZThreadRecord* record = static_cast<KZThreadRecord*>(KZMalloc(sizeof(KZThreadRecord)));
    if (!record)
        return nullptr;
    record->function = function;
    record->argument = argument;
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    int rc = pthread_create(&thread, &attr, ThreadMain, record);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        KZFree(record);
        return nullptr;
    }
    // The record may already be gone: the pointer only tells the caller that the thread started.
    return reinterpret_cast<KZThread>(record);
}

void EndThreads() {
    if (!have_slot)
        return;
    KZThreadRecord* record = static_cast<KZThreadRecord*>(pthread_getspecific(slot));
    if (record) {
        pthread_setspecific(slot, nullptr);
        KZFree(record);
    }
    pthread_key_delete(slot);
    have_slot = false;
}

KZCriticalSection KZCreateCriticalSection() {
    KZCriticalSectionData* section = new (std::nothrow) KZCriticalSectionData;
    if (!section)
        return nullptr;
    // Recursive, like a Windows critical section.
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    int rc = pthread_mutex_init(&section->mutex, &attr);
    pthread_mutexattr_destroy(&attr);
    if (rc != 0) {
        delete section;
        return nullptr;
    }
    return section;
}

void KZEnterCriticalSection(KZCriticalSection section) {
    if (section)
        pthread_mutex_lock(&section->mutex);
}

void KZLeaveCriticalSection(KZCriticalSection section) {
    if (section)
        pthread_mutex_unlock(&section->mutex);
}

void KZDeleteCriticalSection(KZCriticalSection section) {
    if (!section)
        return;
    pthread_mutex_destroy(&section->mutex);
    delete section;
}

struct KZEventData {
    pthread_mutex_t mutex;
    pthread_cond_t raised_cond;
    bool raised;
};

KZEvent KZCreateEvent() {
    KZEventData* event = new (std::nothrow) KZEventData;
    if (!event)
        return nullptr;
    event->raised = false;
    if (pthread_mutex_init(&event->mutex, nullptr) != 0) {
        delete event;
        return nullptr;
    }
    if (pthread_cond_init(&event->raised_cond, nullptr) != 0) {
        pthread_mutex_destroy(&event->mutex);
        delete event;
        return nullptr;
    }
    return event;
}

void KZRaiseEvent(KZEvent event) {
    pthread_mutex_lock(&event->mutex);
    event->raised = true;
    pthread_cond_signal(&event->raised_cond);
    pthread_mutex_unlock(&event->mutex);
}

void KZWaitEvent(KZEvent event) {
    pthread_mutex_lock(&event->mutex);
    while (!event->raised)
        pthread_cond_wait(&event->raised_cond, &event->mutex);
    event->raised = false;
    pthread_mutex_unlock(&event->mutex);
}

void KZDeleteEvent(KZEvent event) {
    if (!event)
        return;
    pthread_cond_destroy(&event->raised_cond);
    pthread_mutex_destroy(&event->mutex);
    delete event;
}

void KZSleep(unsigned milliseconds) {
    struct timespec ts;
    ts.tv_sec = milliseconds / 1000;
    ts.tv_nsec = long(milliseconds % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0) {
    }
}
