// A page's section header: FCHelper binds a static of the page (by id) to an FCHelperTitleWnd.
// Text mode paints the text in the shared bold font over the button face with a gradient line
// below it; line mode is a 3-pixel separator showing only the second gradient.
#pragma once

#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/framework/kz_window.h"

// The three underline gradients shared by the headers of all pages (owned by the step list).
class FCHeaderBitmaps {
public:
    enum { kWidth = 1024, kHeight = 2 };
    // Builds them from the current shared colours; false when GDI refused.
    bool Build();
    HBITMAP Get(int index) const {
        return index >= 0 && index < 3 ? bitmaps_[index].Get() : nullptr;
    }

private:
    KZBitmap bitmaps_[3];
};

enum FCHelperMode { FC_HELPER_TEXT = 0, FC_HELPER_LINE = 1 };

class FCHelperTitleWnd : public KZCWnd {
public:
    void SetMode(FCHelperMode mode, const FCHeaderBitmaps* bitmaps);
    FCHelperMode GetMode() const { return mode_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Paint();
    void DrawGradient(HDC dc, int index, int y, int width);

    FCHelperMode mode_ = FC_HELPER_TEXT;
    const FCHeaderBitmaps* bitmaps_ = nullptr;
};

class FCHelper {
public:
    // Subclasses static `id` of `dialog`; false when there is none.
    bool Bind(HWND dialog, int id, FCHelperMode mode, const FCHeaderBitmaps* bitmaps);
    FCHelperTitleWnd& GetWindow() { return title_; }

private:
    FCHelperTitleWnd title_;
};
