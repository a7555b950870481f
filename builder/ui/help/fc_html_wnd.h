// The help panel's browser: the page of the current step from the resource module, and the
// external object that page scripts reach the wizard through.
#pragma once

#include "builder/ui/help/kz_html_wnd.h"

class CImpIDispatch;
class FCMainView;

class FCHTMLWnd : public KZHTMLWnd {
public:
    explicit FCHTMLWnd(FCMainView* view) : view_(view) {}
    ~FCHTMLWnd() override;

    // Navigates to the page of the 0-based step `index`, unless that page is already shown.
    void ShowStepPage(int index);
    int GetShownStep() const { return shown_step_; }
    // Created on first request; the window keeps one reference until it is destroyed.
    IDispatch* GetExternalObject() override;
    // The first page the browser shows tells the view that it can show pages at all.
    void OnNavigateComplete2(const char* url) override;
    bool HasShownAPage() const { return shown_a_page_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void ReleaseExternal();

    FCMainView* view_;
    CImpIDispatch* external_ = nullptr;
    int shown_step_ = -1;
    bool shown_a_page_ = false;
};
