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

void KZSleep(unsigned milliseconds) {
    struct timespec ts;
    ts.tv_sec = milliseconds / 1000;
    ts.tv_nsec = long(milliseconds % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0) {
    }
}
