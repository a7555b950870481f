// A static control that paints a picture, scaled to fit and centred, over the button face.
#pragma once

#include "builder/ui/framework/kz_control_wnd.h"
#include "builder/ui/framework/kz_guards.h"

class KZPicture;

class KZCPictureStatic : public KZStaticWnd {
public:
    ~KZCPictureStatic() override;
    // Shows the picture (null shows nothing); with `owned` the control releases it when done.
    void SetPicture(KZPicture* picture, bool owned);
    KZPicture* GetPicture() const { return picture_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Paint();
    void DropPicture();

    KZPicture* picture_ = nullptr;
    bool owned_ = false;
    KZBitmap bitmap_;
};
