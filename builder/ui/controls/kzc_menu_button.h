// A push button that shows a pop-up menu below itself when pressed; the menu's commands go to the
// command window (the program's main window, by default the button's top-level owner).
#pragma once

#include "builder/ui/framework/kz_control_wnd.h"

class KZCMenuButton : public KZButtonWnd {
public:
    ~KZCMenuButton() override;

    // Makes a dialog's button owner-drawn and takes it over.
    bool Attach(int id, HWND dialog);
    // The pop-up menu to show; destroyed with the button (or the next menu) when `owned`.
    void SetMenu(HMENU menu, bool owned);
    HMENU GetMenu() const { return menu_; }
    void SetCommandWindow(HWND window) { command_window_ = window; }
    // Shows the menu below the button and returns once it closed.
    void ShowMenu();

protected:
    bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    void Draw(const DRAWITEMSTRUCT& item);

    HMENU menu_ = nullptr;
    bool owned_ = false;
    bool showing_ = false;
    HWND command_window_ = nullptr;
};
