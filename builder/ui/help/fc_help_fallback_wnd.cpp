#include "builder/ui/help/fc_help_fallback_wnd.h"

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/frame/fc_resource_text.h"

namespace {

const int kMargin = 8;
const int kTitleHeight = 20;

} // namespace

bool FCHelpFallbackWnd::CreatePanel(HWND parent, const RECT& rect, int id) {
    KZCreateArgs args;
    args.class_name = "FCHelpFallbackWnd";
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    args.parent = parent;
    args.control_id = id;
    args.x = rect.left;
    args.y = rect.top;
    args.width = rect.right - rect.left;
    args.height = rect.bottom - rect.top;
    args.background = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!Create(args))
        return false;
    if (!title_.CreateStatic(hwnd_, IDC_HELP_FALLBACK_TITLE, "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                             0, 0, 0, 0) ||
        !hint_.CreateStatic(hwnd_, IDC_HELP_FALLBACK_HINT, "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                            0, 0, 0, 0))
        return false;
    LOGFONTA font = {};
    if (GetObjectA(KZGetGUIFont(), sizeof(font), &font)) {
        font.lfWeight = FW_BOLD;
        title_font_.Reset(CreateFontIndirectA(&font));
    }
    title_.Send(WM_SETFONT, (WPARAM)(title_font_ ? title_font_.Get() : KZGetGUIFont()));
    hint_.Send(WM_SETFONT, (WPARAM)KZGetGUIFont());
    Layout(args.width, args.height);
    return true;
}

void FCHelpFallbackWnd::ShowStep(int index) {
    const FCStepInfo* step = FCGetStep(index);
    if (!step)
        return;
    SetWindowTextA(title_, FCStepTooltip(step->command_id));
    SetWindowTextA(hint_, FCLoadText(IDS_HELP_HINT_FIRST + index));
}

void FCHelpFallbackWnd::Layout(int cx, int cy) {
    int width = cx - 2 * kMargin;
    SetWindowPos(title_, nullptr, kMargin, kMargin, width, kTitleHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hint_, nullptr, kMargin, kMargin + kTitleHeight + 4, width,
                 cy - 2 * kMargin - kTitleHeight - 4, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT FCHelpFallbackWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SIZE) {
        Layout(LOWORD(lparam), HIWORD(lparam));
        return 0;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}
