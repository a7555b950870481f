#include "media/base/kz_thread.h"

#include <gtest/gtest.h>

namespace {

struct Shared {
    KZCriticalSection section;
    int counter = 0;
    int finished = 0;
};

unsigned Work(void* argument) {
    Shared* shared = static_cast<Shared*>(argument);
    for (int i = 0; i < 10000; ++i) {
        KZLock lock(shared->section);
        KZLock again(shared->section); // critical sections are re-entrant
        ++shared->counter;
    }
    KZLock lock(shared->section);
    ++shared->finished;
    return 7;
}

TEST(KZThread, ThreadsRunAndCriticalSectionsExclude) {
    Shared shared;
    shared.section = KZCreateCriticalSection();
    ASSERT_NE(shared.section, nullptr);
    for (int i = 0; i < 4; ++i)
        ASSERT_NE(StartThread(Work, &shared), nullptr);
    for (int wait = 0; wait < 1000; ++wait) {
        {
            KZLock lock(shared.section);
            if (shared.finished == 4)
                break;
        }
        KZSleep(10);
    }
    {
        KZLock lock(shared.section);
        EXPECT_EQ(shared.finished, 4);
        EXPECT_EQ(shared.counter, 40000);
    }
    // Give the threads time to free their records before the slot goes.
    KZSleep(50);
    KZDeleteCriticalSection(shared.section);
    EXPECT_EQ(StartThread(nullptr, nullptr), nullptr);
    EndThreads();
    EndThreads(); // twice is harmless
}

struct PingPong {
    KZEvent ping;
    KZEvent pong;
    KZEvent done;
    int counter = 0;
};

unsigned Answer(void* argument) {
    PingPong* p = static_cast<PingPong*>(argument);
    for (int i = 0; i < 1000; ++i) {
        KZWaitEvent(p->ping);
        ++p->counter;
        KZRaiseEvent(p->pong);
    }
    KZRaiseEvent(p->done);
    return 0;
}

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
    ASSERT_NE(StartThread(Answer, &p), nullptr);
    for (int i = 0; i < 1000; ++i) {
        KZRaiseEvent(p.ping);
        KZWaitEvent(p.pong);
        EXPECT_EQ(p.counter, i + 1);
    }
    KZWaitEvent(p.done);
    KZSleep(50); // the thread frees its record after its function returns
    KZDeleteEvent(p.ping);
    KZDeleteEvent(p.pong);
    KZDeleteEvent(p.done);
}

} // namespace
