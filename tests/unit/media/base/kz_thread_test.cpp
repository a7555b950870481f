#include "media/base/kz_thread.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {

struct Shared {
    KZCriticalSection section;
    int counter = 0;
};

void Work(Shared* shared) {
    for (int i = 0; i < 10000; ++i) {
        KZLock lock(shared->section);
        KZLock again(shared->section); // critical sections are re-entrant
        int seen = shared->counter;
        if (i % 1000 == 0)
            KZSleep(0); // another thread would get in here if the section were open
        shared->counter = seen + 1;
    }
}

// The platform's own threads: the MinGW build's C++ library has no std::thread.
#ifdef _WIN32
DWORD WINAPI ThreadMain(void* shared) {
    Work(static_cast<Shared*>(shared));
    return 0;
}
#else
void* ThreadMain(void* shared) {
    Work(static_cast<Shared*>(shared));
    return nullptr;
}
#endif

TEST(KZCriticalSection, ExcludesOtherThreadsAndIsReentrant) {
    Shared shared;
    shared.section = KZCreateCriticalSection();
    ASSERT_NE(shared.section, nullptr);
#ifdef _WIN32
    HANDLE threads[4];
    for (HANDLE& thread : threads)
        ASSERT_NE(thread = CreateThread(nullptr, 0, ThreadMain, &shared, 0, nullptr), nullptr);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);
#else
    pthread_t threads[4];
    for (pthread_t& thread : threads)
        ASSERT_EQ(pthread_create(&thread, nullptr, ThreadMain, &shared), 0);
    for (pthread_t thread : threads)
        pthread_join(thread, nullptr);
#endif
    EXPECT_EQ(shared.counter, 40000);
    KZDeleteCriticalSection(shared.section);
    KZDeleteCriticalSection(nullptr); // ignored
}

struct PingPong {
    KZEvent ping;
    KZEvent pong;
    KZEvent done;
    int counter = 0;
};

void Answer(PingPong* p) {
    for (int i = 0; i < 1000; ++i) {
        KZWaitEvent(p->ping);
        ++p->counter;
        KZRaiseEvent(p->pong);
    }
    KZRaiseEvent(p->done);
}

#ifdef _WIN32
DWORD WINAPI AnswerMain(void* p) {
    Answer(static_cast<PingPong*>(p));
    return 0;
}
#else
void* AnswerMain(void* p) {
    Answer(static_cast<PingPong*>(p));
    return nullptr;
}
#endif

TEST(KZEvent, ARaiseBeforeTheWaitIsKeptAndEachWaitTakesOne) {
    KZEvent early = KZCreateEvent();
    ASSERT_NE(early, nullptr);
    KZRaiseEvent(early);
    KZWaitEvent(early); // returns at once: the raise came first
    KZDeleteEvent(early);
    KZDeleteEvent(nullptr);

    // A thousand round trips between two threads: a raise lost between a check and the wait
    // would hang here.
    PingPong p;
    p.ping = KZCreateEvent();
    p.pong = KZCreateEvent();
    p.done = KZCreateEvent();
    ASSERT_TRUE(p.ping && p.pong && p.done);
#ifdef _WIN32
    HANDLE thread = CreateThread(nullptr, 0, AnswerMain, &p, 0, nullptr);
    ASSERT_NE(thread, nullptr);
#else
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, nullptr, AnswerMain, &p), 0);
#endif
    for (int i = 0; i < 1000; ++i) {
        KZRaiseEvent(p.ping);
        KZWaitEvent(p.pong);
        EXPECT_EQ(p.counter, i + 1);
    }
    KZWaitEvent(p.done);
#ifdef _WIN32
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
#else
    pthread_join(thread, nullptr);
#endif
    KZDeleteEvent(p.ping);
    KZDeleteEvent(p.pong);
    KZDeleteEvent(p.done);
}

} // namespace
