#include "builder/ui/frame/fc_main_view.h"

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/frame/fc_resource_text.h"
#include "builder/ui/frame/fc_step_list.h"

namespace {

const int kPageLeft = 220, kPageTop = 2;
const int kButtonWidth = 74, kButtonHeight = 22;
const int kHelpLeft = 2, kHelpTop = 7, kHelpWidth = 216;
// Dialog mode, no help menu, no 3-D border, no scroll bars.
const DWORD kHelpHostFlags = 0xF;

} // namespace

bool FCMainView::CreateView(HWND frame, int id) {
    KZCreateArgs args;
    args.class_name = "FCMainView";
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    args.parent = frame;
    args.control_id = id;
    args.x = args.y = 0;
    args.width = page_width_ + kPageLeft;
    args.height = page_height_;
    args.background = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!Create(args))
        return false;

    HWND line = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, page_width_, 3, hwnd_,
                                (HMENU)(INT_PTR)IDC_VIEW_SEPARATOR, nullptr, nullptr);
    if (!line || !separator_.Subclass(line))
        return false;
    separator_.SetMode(FC_HELPER_LINE, steps_->GetHeaderBitmaps());
    if (!prev_.CreateButton(hwnd_, IDC_PREV_STEP, FCLoadText(IDS_PREV_STEP),
                            BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 0, kButtonWidth,
                            kButtonHeight) ||
        !next_.CreateButton(hwnd_, IDC_NEXT_STEP, FCLoadText(IDS_NEXT_STEP),
                            BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 0, kButtonWidth,
                            kButtonHeight))
        return false;
    prev_.Send(WM_SETFONT, (WPARAM)KZGetGUIFont());
    next_.Send(WM_SETFONT, (WPARAM)KZGetGUIFont());
    // A help panel in plain controls stands in for a browser that cannot be made or cannot show
    // pages (one without its HTML engine stays blank), so that the wizard starts and helps
    // without one. The browser takes its place once it has shown a page.
    RECT help = {kHelpLeft, kHelpTop, kHelpLeft + kHelpWidth, kHelpTop + page_height_ - 10};
    if (html_.CreateBrowser(hwnd_, help, IDC_HELP_PANEL)) {
        html_.SetHostFlags(kHelpHostFlags);
        if (!html_.HasShownAPage())
            ShowWindow(html_, SW_HIDE);
    }
    if (!fallback_.CreatePanel(hwnd_, help, IDC_HELP_FALLBACK))
        return false;
    if (html_.HasShownAPage())
        ShowWindow(fallback_, SW_HIDE);
    RECT page = {kPageLeft, kPageTop, kPageLeft + page_width_, kPageTop + page_height_};
    if (!steps_->CreateWindows(hwnd_, page))
        return false;
    steps_->Select(0);
    UpdateNavigation();
    ShowHelp(0);
    return true;
}

void FCMainView::ShowHelp(int index) {
    if (html_.GetHandle())
        html_.ShowStepPage(index);
    if (fallback_.GetHandle())
        fallback_.ShowStep(index);
}

void FCMainView::OnHelpBrowserReady() {
    if (!html_.GetHandle() || !fallback_.GetHandle())
        return;
    ShowWindow(html_, SW_SHOW);
    ShowWindow(fallback_, SW_HIDE);
}

void FCMainView::UpdateNavigation() {
    int current = steps_->GetCurrent();
    EnableWindow(prev_, current > 0);
    EnableWindow(next_, current < steps_->GetCount() - 1);
}

void FCMainView::Layout(int cx, int cy) {
    steps_->MoveSteps(kPageLeft, kPageTop, page_width_, page_height_);
    SetWindowPos(prev_, nullptr, cx - 168, cy - 31, kButtonWidth, kButtonHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(next_, nullptr, cx - 94, cy - 31, kButtonWidth, kButtonHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(separator_, nullptr, 236, cy - 42, page_width_, 3, SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND help : {html_.GetHandle(), fallback_.GetHandle()}) {
        if (help)
            SetWindowPos(help, nullptr, kHelpLeft, kHelpTop, kHelpWidth, cy > 10 ? cy - 10 : 0,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FCMainView::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client;
    GetClientRect(hwnd_, &client);
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ previous = SelectObject(dc, shadow);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
    SelectObject(dc, highlight);
    MoveToEx(dc, 0, 1, nullptr);
    LineTo(dc, client.right, 1);
    SelectObject(dc, previous);
    DeleteObject(shadow);
    DeleteObject(highlight);
    RECT help = {0, client.top + 5, 220, client.bottom - 1};
    DrawEdge(dc, &help, EDGE_ETCHED, BF_RECT);
    EndPaint(hwnd_, &paint);
}

LRESULT FCMainView::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        Layout(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDC_PREV_STEP && HIWORD(wparam) == BN_CLICKED) {
            frame_->PrevStep();
            return 0;
        }
        if (LOWORD(wparam) == IDC_NEXT_STEP && HIWORD(wparam) == BN_CLICKED) {
            frame_->NextStep();
            return 0;
        }
        break;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}
