// The splash window: a borderless pop-up showing the splash bitmap with a text in a rectangle of
// the image; a left click closes it.
#pragma once

#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/framework/kz_window.h"
#include "media/base/kz_string.h"

class KZCSplashWnd : public KZCWnd {
public:
    // Takes the bitmap; centres the window on the screen at the bitmap's size.
    bool CreateSplash(HBITMAP bitmap, const char* text, const RECT& text_rect);

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Paint();

    KZBitmap bitmap_;
    KZString text_;
    RECT text_rect_ = {};
};
