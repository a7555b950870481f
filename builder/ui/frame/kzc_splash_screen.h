// The splash screen on a user-interface thread of its own: shown while the main window is
// built, at least one second, hidden around message boxes so that none appears behind it.
#pragma once

#include <windows.h>

#include "media/base/kz_string.h"

class KZCSplashWnd;

class KZCSplashScreen {
public:
    KZCSplashScreen() = default;
    ~KZCSplashScreen();
    KZCSplashScreen(const KZCSplashScreen&) = delete;
    KZCSplashScreen& operator=(const KZCSplashScreen&) = delete;

    // Takes the bitmap; false (no splash) when the thread or its window did not come within
    // `wait_ms`.
    bool Show(HBITMAP bitmap, const char* text, const RECT& text_rect, DWORD wait_ms = 10000);
    bool IsShown() const { return window_ != nullptr; }
    // Around a message box.
    void Hide();
    void Restore();
    // Sleeps what remains of `minimum_ms` since it appeared, then closes it.
    void Close(DWORD minimum_ms = 1000);
    DWORD GetShownTick() const { return shown_tick_; }

private:
    static DWORD WINAPI ThreadMain(void* self);

    HBITMAP bitmap_ = nullptr; // handed to the window on its thread
    KZString text_;
    RECT text_rect_ = {};
    HANDLE thread_ = nullptr;
    DWORD thread_id_ = 0;
    HANDLE ready_ = nullptr;
    CRITICAL_SECTION lock_;
    bool lock_made_ = false;
    HWND window_ = nullptr;
    RECT place_ = {};
    DWORD shown_tick_ = 0;
};
