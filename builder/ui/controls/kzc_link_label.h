// A static text that acts as a link: underlined in the link colour, its own cursor (the hand by
// default) and a click that calls its action with its target.
#pragma once

#include "builder/ui/framework/kz_control_wnd.h"
#include "builder/ui/framework/kz_guards.h"
#include "media/base/kz_string.h"

typedef void (*KZLinkAction)(const char* target, void* context);

class KZCLinkLabel : public KZStaticWnd {
public:
    // Binds to an existing static (SS_NOTIFY is added so that clicks arrive).
    bool Attach(HWND dialog, int id);
    void SetLink(bool is_link, const char* target, KZLinkAction action, void* context = nullptr);
    void SetLinkCursor(HCURSOR cursor) { cursor_ = cursor; }
    void SetBackgroundColor(COLORREF color);
    const KZString& GetTarget() const { return target_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    bool is_link_ = true;
    KZString target_;
    KZLinkAction action_ = nullptr;
    void* context_ = nullptr;
    HCURSOR cursor_ = nullptr;
    KZBrush background_;
    COLORREF background_color_ = 0;
};

// The action of the About box's link: open the target in the default browser.
void KZOpenLinkInBrowser(const char* target, void* context);
