// The main view: from left to right the help panel and the page area with the step windows,
// and "< Prev" and "Next >" at the bottom right below a separator line.
#pragma once

#include "builder/ui/framework/kz_control_wnd.h"
#include "builder/ui/framework/kz_window.h"
#include "builder/ui/help/fc_help_fallback_wnd.h"
#include "builder/ui/help/fc_html_wnd.h"
#include "builder/ui/pages/fc_helper.h"

class FCMainFrame;
class FCStepList;

class FCMainView : public KZCWnd {
public:
    FCMainView(FCMainFrame* frame, FCStepList* steps, int page_width, int page_height)
        : frame_(frame), steps_(steps), page_width_(page_width), page_height_(page_height),
          html_(this) {}

    // Creates the view, its buttons, separator, help panel and step windows, and shows step 0.
    bool CreateView(HWND frame, int id);
    void UpdateNavigation();
    // The help panel shows the page of the 0-based step `index`.
    void ShowHelp(int index);
    // The browser has shown its first page: it takes the plain panel's place.
    void OnHelpBrowserReady();
    FCMainFrame* GetFrame() const { return frame_; }
    // The browser help panel; null when none could be made.
    FCHTMLWnd* GetHelpBrowser() { return html_.GetHandle() ? &html_ : nullptr; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Layout(int cx, int cy);
    void Paint();

    FCMainFrame* frame_;
    FCStepList* steps_;
    int page_width_, page_height_;
    FCHelperTitleWnd separator_;
    KZButtonWnd prev_;
    KZButtonWnd next_;
    FCHTMLWnd html_;
    FCHelpFallbackWnd fallback_;
};
