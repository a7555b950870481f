// The colour button's pop-up: a borderless window of 156 colour cells, the title "Pick a Color"
// and the choice "More Colors...", which opens the colour dialog. It captures the mouse while
// open and, when it closes, sends its button KZC_WM_COLOR_POPUP_CLOSED (accepted flag, colour).
#pragma once

#include "builder/ui/controls/kzc_color_popup_layout.h"
#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/framework/kz_window.h"
#include "media/base/kz_string.h"

// From the pop-up to its button: wparam 1 when a colour was accepted, lparam the colour.
const UINT KZC_WM_COLOR_POPUP_CLOSED = WM_USER + 161; // 1185

class KZCColorPopup : public KZCWnd {
public:
    // Opens at (x, y) on the screen (moved inside the monitor when it would leave it) with
    // `color` highlighted when the palette holds it. False when the window cannot be created.
    bool Open(HWND button, int x, int y, KZCColor color, const char* more_text,
              const char* title_text);
    bool IsOpen() const { return hwnd_ != nullptr; }
    // A key the button received while the pop-up is open; true when the pop-up used it.
    bool HandleKey(WPARAM key);
    // Closes without accepting (the button lost the focus), unless the colour dialog is up.
    void Cancel();

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Paint(HDC dc);
    void DrawItem(HDC dc, int item);
    void SetHover(int item);
    void SetHighlight(int item);
    void ShowTip(int item);
    void Choose(int item);
    void Close(bool accepted, KZCColor color);
    void InvalidateItem(int item);

    HWND button_ = nullptr;
    KZCColor initial_color_ = 0;
    int highlighted_ = KZC_POPUP_NONE;
    int hovered_ = KZC_POPUP_NONE;
    KZFont font_;
    KZCColorPopupLayout layout_{13, 96};
    uint32_t opened_at_ = 0;
    KZString more_text_;
    KZString title_text_;
    HWND tooltip_ = nullptr;
    int tip_item_ = KZC_POPUP_NONE;
    bool closing_ = false;
    bool in_dialog_ = false;
};
