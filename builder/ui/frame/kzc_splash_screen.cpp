#include "builder/ui/frame/kzc_splash_screen.h"

#include "builder/ui/controls/kzc_splash_wnd.h"

namespace {

// Sent to the splash thread's window: let the capture go (capture belongs to a thread).
const UINT kReleaseCapture = WM_APP + 1;

class SplashWindow : public KZCSplashWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
        case kReleaseCapture:
            ReleaseCapture();
            SetCursor(LoadCursor(nullptr, IDC_ARROW));
            return 0;
        case WM_SETCURSOR:
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        case WM_NCDESTROY:
            PostQuitMessage(0);
            break;
        }
        return KZCSplashWnd::WindowProc(message, wparam, lparam);
    }
};

} // namespace

KZCSplashScreen::~KZCSplashScreen() {
    Close(0);
    if (bitmap_)
        DeleteObject(bitmap_);
    if (ready_)
        CloseHandle(ready_);
    if (lock_made_)
        DeleteCriticalSection(&lock_);
}

DWORD WINAPI KZCSplashScreen::ThreadMain(void* parameter) {
    KZCSplashScreen* self = static_cast<KZCSplashScreen*>(parameter);
    SplashWindow window;
    EnterCriticalSection(&self->lock_);
    HBITMAP bitmap = self->bitmap_;
    self->bitmap_ = nullptr; // the window owns it now
    bool created = window.CreateSplash(bitmap, self->text_, self->text_rect_);
    if (created) {
        UpdateWindow(window);
        SetCapture(window);
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        self->window_ = window;
        GetWindowRect(window, &self->place_);
        self->shown_tick_ = GetTickCount();
    }
    LeaveCriticalSection(&self->lock_);
    SetEvent(self->ready_);
    if (!created)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

bool KZCSplashScreen::Show(HBITMAP bitmap, const char* text, const RECT& text_rect, DWORD wait_ms) {
    if (thread_ || !bitmap) {
        if (bitmap)
            DeleteObject(bitmap);
        return false;
    }
    InitializeCriticalSection(&lock_);
    lock_made_ = true;
    bitmap_ = bitmap;
    text_ = text;
    text_rect_ = text_rect;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!ready_)
        return false;
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, &thread_id_);
    if (!thread_)
        return false;
    ResumeThread(thread_);
    bool came = WaitForSingleObject(ready_, wait_ms) == WAIT_OBJECT_0;
    EnterCriticalSection(&lock_);
    bool shown = came && window_ != nullptr;
    LeaveCriticalSection(&lock_);
    if (!shown) {
        // Given up: the thread ends by itself if it ever makes its window.
        CloseHandle(thread_);
        thread_ = nullptr;
        window_ = nullptr;
    }
    return shown;
}

void KZCSplashScreen::Hide() {
    if (!window_ || !IsWindow(window_))
        return;
    SendMessageA(window_, kReleaseCapture, 0, 0);
    ShowWindow(window_, SW_HIDE);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void KZCSplashScreen::Restore() {
    if (!window_ || !IsWindow(window_))
        return;
    SetWindowPos(window_, HWND_TOPMOST, place_.left, place_.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void KZCSplashScreen::Close(DWORD minimum_ms) {
    if (!thread_)
        return;
    DWORD elapsed = GetTickCount() - shown_tick_;
    if (window_ && elapsed < minimum_ms)
        Sleep(minimum_ms - elapsed);
    if (window_ && IsWindow(window_)) {
        SendMessageA(window_, kReleaseCapture, 0, 0);
        PostMessageA(window_, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    thread_ = nullptr;
    window_ = nullptr;
}
