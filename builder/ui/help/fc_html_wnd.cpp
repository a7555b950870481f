#include "builder/ui/help/fc_html_wnd.h"

#include "builder/ui/frame/fc_main_view.h"
#include "builder/ui/help/c_imp_idispatch.h"
#include "builder/ui/help/fc_help_rules.h"

FCHTMLWnd::~FCHTMLWnd() {
    ReleaseExternal();
}

void FCHTMLWnd::ShowStepPage(int index) {
    if (index == shown_step_)
        return;
    shown_step_ = index;
    char module[MAX_PATH] = "";
    KZGetResourcePath(module, sizeof(module));
    Navigate(FCHelpPageUrl(module, index));
}

IDispatch* FCHTMLWnd::GetExternalObject() {
    if (!external_) {
        external_ = new CImpIDispatch(view_);
        external_->AddRef(); // the window's
    }
    external_->AddRef(); // the caller's
    return external_;
}

void FCHTMLWnd::OnNavigateComplete2(const char*) {
    if (shown_a_page_)
        return;
    shown_a_page_ = true;
    if (view_)
        view_->OnHelpBrowserReady();
}

void FCHTMLWnd::ReleaseExternal() {
    if (!external_)
        return;
    external_->Detach();
    external_->Release();
    external_ = nullptr;
}

LRESULT FCHTMLWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        LRESULT result = KZHTMLWnd::WindowProc(message, wparam, lparam);
        ReleaseExternal();
        return result;
    }
    return KZHTMLWnd::WindowProc(message, wparam, lparam);
}
