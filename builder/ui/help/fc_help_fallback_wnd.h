// The help panel where no browser control can be made, or while the one made has shown no page:
// the step's title and a one-line hint in plain controls.
#pragma once

#include "builder/ui/framework/kz_control_wnd.h"
#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/framework/kz_window.h"

class FCHelpFallbackWnd : public KZCWnd {
public:
    bool CreatePanel(HWND parent, const RECT& rect, int id);
    // The title and hint of the 0-based step `index`.
    void ShowStep(int index);

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Layout(int cx, int cy);

    KZStaticWnd title_;
    KZStaticWnd hint_;
    KZFont title_font_;
};
