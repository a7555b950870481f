#include "builder/ui/frame/fc_step_list.h"

FCStepWnd::~FCStepWnd() {
    delete page_;
}

bool FCStepWnd::CreateStep(HWND view, const RECT& rect) {
    KZCreateArgs args;
    args.class_name = "FCStepWnd";
    args.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    args.parent = view;
    args.control_id = info_.command_id;
    args.x = rect.left;
    args.y = rect.top;
    args.width = rect.right - rect.left;
    args.height = rect.bottom - rect.top;
    args.background = (HBRUSH)(COLOR_BTNFACE + 1);
    args.title = info_.title;
    if (!Create(args))
        return false;
    if (!page_ || !page_->CreateModeless(hwnd_))
        return false;
    SetWindowPos(*page_, nullptr, 0, kHeaderOffset, args.width, args.height - kHeaderOffset,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(*page_, SW_SHOW);
    return true;
}

LRESULT FCStepWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SIZE && page_ && page_->GetHandle()) {
        int height = HIWORD(lparam) - kHeaderOffset;
        SetWindowPos(*page_, nullptr, 0, kHeaderOffset, LOWORD(lparam), height < 0 ? 0 : height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}

FCStepList::~FCStepList() {
    for (int i = 0; i < count_; ++i)
        delete steps_[i];
}

bool FCStepList::Build(FCDocument* document, FCStepPageFactory factory) {
    for (int i = 0; i < FC_STEP_COUNT; ++i) {
        FCStepDlg* page = factory(i, frame_, document, &header_bitmaps_);
        if (!page)
            return false;
        steps_[count_++] = new FCStepWnd(*FCGetStep(i), page);
    }
    return true;
}

bool FCStepList::CreateWindows(HWND view, const RECT& rect) {
    for (int i = 0; i < count_; ++i) {
        if (!steps_[i]->CreateStep(view, rect))
            return false;
    }
    return true;
}

bool FCStepList::Select(int index) {
    if (index < 0 || index >= count_ || index == current_)
        return false;
    if (current_ >= 0) {
        steps_[current_]->GetPage()->Store(); // leaving a page is never refused
        steps_[current_]->GetPage()->OnStepHidden();
    }
    current_ = index;
    for (int i = 0; i < count_; ++i) {
        if (i != index)
            ShowWindow(*steps_[i], SW_HIDE);
    }
    ShowWindow(*steps_[index], SW_SHOW);
    steps_[index]->GetPage()->OnStepShown();
    return true;
}

void FCStepList::MoveSteps(int x, int y, int width, int height) {
    for (int i = 0; i < count_; ++i)
        SetWindowPos(*steps_[i], nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FCStepList::LoadAll() {
    for (int i = 0; i < count_; ++i)
        steps_[i]->GetPage()->Load();
}
