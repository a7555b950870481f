#include "builder/ui/controls/kzc_picture_static.h"

#include "builder/ui/controls/kz_picture_bitmap.h"
#include "media/picture/kz_picture.h"

KZCPictureStatic::~KZCPictureStatic() {
    DropPicture();
}

void KZCPictureStatic::DropPicture() {
    if (picture_ && owned_)
        picture_->Release();
    picture_ = nullptr;
    owned_ = false;
    bitmap_.Reset();
}

void KZCPictureStatic::SetPicture(KZPicture* picture, bool owned) {
    DropPicture();
    picture_ = picture;
    owned_ = owned;
    if (picture_)
        bitmap_.Reset(KZCreateBitmapFromPicture(picture_, GetSysColor(COLOR_BTNFACE)));
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void KZCPictureStatic::Paint() {
    KZPaintDC dc(hwnd_);
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!bitmap_.Get() || !picture_)
        return;
    int width = picture_->Width();
    int height = picture_->Height();
    int area_w = client.right - client.left;
    int area_h = client.bottom - client.top;
    // Shrink to fit, keeping the proportions; never enlarge.
    int draw_w = width;
    int draw_h = height;
    if (draw_w > area_w || draw_h > area_h) {
        if ((long long)width * area_h > (long long)height * area_w) {
            draw_w = area_w;
            draw_h = int((long long)height * area_w / width);
        } else {
            draw_h = area_h;
            draw_w = int((long long)width * area_h / height);
        }
    }
    KZMemoryDC memory(dc);
    KZSelectObject select(memory, bitmap_.Get());
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, (area_w - draw_w) / 2, (area_h - draw_h) / 2, draw_w, draw_h, memory, 0, 0,
               width, height, SRCCOPY);
}

LRESULT KZCPictureStatic::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SYSCOLORCHANGE:
        if (picture_)
            bitmap_.Reset(KZCreateBitmapFromPicture(picture_, GetSysColor(COLOR_BTNFACE)));
        break;
    }
    return KZStaticWnd::WindowProc(message, wparam, lparam);
}
