// Critical sections over pthreads.
#include "media/base/kz_thread.h"

#include <ctime>
#include <new>
#include <pthread.h>

struct KZCriticalSectionData {
    pthread_mutex_t mutex;
};

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
