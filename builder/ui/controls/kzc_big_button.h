// The big picture button: a picture for each state (normal, hot while the pointer is over it,
// pressed, disabled) centred 6 pixels from the top, a two-line 3-D frame and the caption below
// the picture in the GUI font.
#pragma once

#include "builder/ui/controls/kzc_big_button_images.h"
#include "builder/ui/framework/kz_control_wnd.h"
#include "builder/ui/framework/kz_guards.h"

class KZCBigButton : public KZButtonWnd {
public:
    // Makes a dialog's button owner-drawn and takes it over.
    bool Attach(int id, HWND dialog);
    // The picture from a "PNG" resource, `width` x `height`, `transparent` showing the face.
    // False when the resource cannot be read or has another size.
    bool SetPicture(int png_id, int width, int height, KZCColor transparent);
    void SetCaption(const char* caption);
    void SetFont(HFONT font) { font_ = font; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    void MakeBitmaps();
    void Draw(const DRAWITEMSTRUCT& item);

    std::vector<uint8_t> source_; // the picture, RGB rows top first
    int width_ = 0;
    int height_ = 0;
    KZCColor transparent_ = 0;
    KZBitmap bitmaps_[KZC_BIG_STATE_COUNT];
    COLORREF face_ = 0;
    COLORREF light_ = 0;
    COLORREF dark_ = 0;
    KZString caption_;
    HFONT font_ = nullptr; // not owned; the GUI font when null
    bool hot_ = false;
};
