// Force-included into GoogleTest and every Windows test program (tests/CMakeLists.txt).
// MinGW's GCC 12 with the win32 thread model has no std::mutex or std::condition_variable, which
// GoogleTest's own Notification is made of; this one waits on an atomic flag instead. GoogleTest
// uses it only to release the threads of its thread helpers, so a yielding wait is enough.
#pragma once
#ifdef __cplusplus
#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1
namespace testing {
namespace internal {
extern "C" __declspec(dllimport) unsigned long __stdcall SleepEx(unsigned long, int);

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { notified_.store(true, std::memory_order_release); }
    void WaitForNotification() {
        while (!notified_.load(std::memory_order_acquire))
            SleepEx(1, 0);
    }

private:
    std::atomic<bool> notified_{false};
};
} // namespace internal
} // namespace testing
#endif
