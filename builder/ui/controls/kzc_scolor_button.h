// The colour button: shows its colour as a swatch, opens the palette pop-up when pressed, pastes
// a colour from the clipboard on Shift + click, and tells its parent of every new colour with
// KZC_WM_COLOR_CHANGED (control id, colour).
#pragma once

#include "builder/ui/controls/kzc_color_popup.h"
#include "builder/ui/framework/kz_control_wnd.h"

// From the colour button to its parent: wparam the button's control id, lparam the colour.
const UINT KZC_WM_COLOR_CHANGED = WM_USER + 151; // 1175

class KZCSColorButton : public KZButtonWnd {
public:
    KZCSColorButton();

    // Makes a dialog's button owner-drawn and takes it over.
    bool Attach(int id, HWND dialog);
    void SetColor(KZCColor color, bool notify);
    KZCColor GetColor() const { return color_; }
    void SetTexts(const char* more_colors, const char* pick_a_color);

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    void Draw(const DRAWITEMSTRUCT& item);
    void OpenPopup();
    void PasteColor();

    KZCColor color_ = 0;
    KZCColorPopup popup_;
    KZString more_text_ = "More Colors...";
    KZString title_text_ = "Pick a Color";
    uint32_t popup_closed_at_;
    bool first_message_seen_ = false;
};
