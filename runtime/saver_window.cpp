// The screensaver and preview windows and the rules for which input ends the screensaver.
#include "runtime/saver_window.h"

#include "runtime/movie_host.h"
#include "runtime/payload_loader.h"
#include "runtime/runtime_config.h"
#include "runtime/system_hooks.h"

namespace {

const char kWindowClass[] = "_qvrt_class";

MovieHost* g_main_host;
int g_movie_area_height;

bool IsPreview() {
    return g_config->run_mode == QVRK_RUN_PREVIEW;
}
bool IsScreensaver() {
    return g_config->run_mode == QVRK_RUN_SCREENSAVER;
}
// The preview window shows only its colour when the payload has no preview movie.
bool PreviewWithoutFile() {
    return IsPreview() && !g_config->preview_file;
}

int Distance(int a, int b) {
    return a > b ? a - b : b - a;
}

// The close rule of the full-screen window: only a requested close ends it, and past the grace
// time only after the password was verified.
void CloseScreensaver(HWND window) {
    SaverSession* session = g_session;
    if (!session->close_requested || session->password_dialog_active)
        return;
    if (GetTickCount() - session->start_tick > (DWORD)session->password_grace * 1000) {
        session->password_dialog_active = true;
        if (g_config->hide_cursor)
            SendMessageA(window, WM_SETCURSOR, 0, 0);
        bool verified = VerifySaverPassword(window);
        session->password_dialog_active = false;
        if (g_config->hide_cursor)
            SendMessageA(window, WM_SETCURSOR, 0, 0);
        GetCursorPos(&session->cursor_origin);
        // A failed password keeps close requested, so the next waking input asks again.
        if (!verified)
            return;
    }
    DestroyWindow(window);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    SaverSession* session = g_session;
    bool handled = false;
    WakeFilter(session, message, wparam, lparam, &handled);
    if (handled)
        return 0;
    switch (message) {
    case WM_CREATE:
        session->main_window = window;
        GetCursorPos(&session->cursor_origin);
        session->start_tick = GetTickCount();
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        area.bottom = g_movie_area_height;
        SetBkColor(dc, PreviewWithoutFile() ? g_config->preview_color : g_config->background_color);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, "", 0, nullptr);
        EndPaint(window, &paint);
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE: {
        bool inactive = message == WM_ACTIVATE ? LOWORD(wparam) == WA_INACTIVE : wparam == 0;
        if (IsScreensaver() && !session->password_dialog_active && inactive &&
            window == session->main_window)
            RequestClose(session);
        break;
    }
    case WM_CLOSE:
        if (!IsScreensaver())
            break;
        CloseScreensaver(window);
        return 0;
    case WM_SYSCOMMAND: {
        UINT command = wparam & 0xFFF0;
        if (IsScreensaver() && (command == SC_SCREENSAVE || command == SC_CLOSE))
            return 0;
        break;
    }
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

SaverSession* CreateSaverSession() {
    return new SaverSession();
}

void DestroySaverSession(SaverSession* session) {
    delete session;
}

void RequestClose(SaverSession* session) {
    session->close_requested = true;
    if (session->main_window)
        PostMessageA(session->main_window, WM_CLOSE, 0, 0);
}

LRESULT WakeFilter(void* user, UINT message, WPARAM wparam, LPARAM lparam, bool* handled) {
    SaverSession* session = (SaverSession*)user;
    const RuntimeConfig* config = g_config;
    bool active = IsScreensaver() && !session->password_dialog_active;
    switch (message) {
    case WM_SETCURSOR:
        if (config->hide_cursor && active) {
            SetCursor(nullptr);
            *handled = true;
        }
        break;
    case WM_KEYDOWN:
        if (IsPreview())
            break;
        if (wparam == VK_ESCAPE || (active && config->wake_on_key))
            RequestClose(session);
        break;
    case WM_MOUSEMOVE:
        if (GetTickCount() - session->start_tick > 1000 && active && config->wake_on_mouse_move) {
            POINT cursor;
            GetCursorPos(&cursor);
            if (Distance(cursor.x, session->cursor_origin.x) > session->mouse_threshold ||
                Distance(cursor.y, session->cursor_origin.y) > session->mouse_threshold)
                RequestClose(session);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (active && config->wake_on_button)
            RequestClose(session);
        break;
    case WM_RBUTTONDOWN:
        if (active && config->wake_on_right_button)
            RequestClose(session);
        break;
    }
    return 0;
}

int RunMovieWindow(HWND parent) {
    RuntimeConfig* config = g_config;
    bool preview = IsPreview();
    bool screensaver = IsScreensaver();

    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = SaverWindowProc;
    window_class.hInstance = g_instance;
    window_class.hbrBackground = PreviewWithoutFile() ? CreateSolidBrush(config->preview_color)
                                                      : (HBRUSH)GetStockObject(BLACK_BRUSH);
    window_class.lpszClassName = kWindowClass;
    if (!RegisterClassA(&window_class))
        return -1;

    HWND window;
    if (preview) {
        RECT area = {};
        GetWindowRect(parent, &area);
        window = CreateWindowExA(0, kWindowClass, "Tarvo Screensaver", WS_CHILD | WS_VISIBLE, 0, 0,
                                 area.right - area.left, area.bottom - area.top, parent, nullptr,
                                 g_instance, nullptr);
    } else {
        window =
            CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWindowClass, "Tarvo Screensaver",
                            WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, g_instance, nullptr);
    }
    if (!window)
        return -1;

    if (!PreviewWithoutFile()) {
        RECT area;
        GetWindowRect(window, &area);
        g_movie_area_height = area.bottom - area.top;
        GetClientRect(window, &area);
        MovieHost* host = new MovieHost(g_instance, window);
        if (!host)
            return -1;
        g_main_host = host;
        host->filter = WakeFilter;
        host->filter_user = g_session;
        host->draw_notice = screensaver;
        if (!host->CreateHostWindow(kWindowClass, 0, 0, area.right, area.bottom))
            return -1;
        if (host->control)
            ConnectFlashEventSink(host->control, &g_session->event_target);

        EmbeddedItem* movie = preview                  ? config->preview_file
                              : config->slot_count > 0 ? config->slots[0]
                                                       : nullptr;
        if (ExtractAllItems(config) && movie) {
            int mode = movie->size_mode;
            if (preview && (mode == 0 || mode == 3))
                mode = 1; // the small preview area always shows the whole movie
            host->ShowMovie(movie->extracted_path, movie->width, movie->height,
                            config->background_color, mode,
                            config->quality >= 0 ? config->quality : movie->quality);
        }
    }

    if (screensaver)
        SetSaverRunningFlag(true);
    bool muted = false, was_muted = false;
    if (config->sound == 0)
        muted = SetMasterMute(true, &was_muted);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    if (muted && !was_muted)
        SetMasterMute(false, nullptr);
    if (screensaver)
        SetSaverRunningFlag(false);
    delete g_main_host;
    g_main_host = nullptr;
    return 0;
}
