#include "builder/ui/controls/kzc_big_button.h"

#include <cstring>

#include "builder/ui/controls/kz_picture_bitmap.h"
#include "media/picture/kz_picture.h"

namespace {

const int kPictureTop = 6;

} // namespace

bool KZCBigButton::Attach(int id, HWND dialog) {
    if (!SubclassDlgItem(id, dialog))
        return false;
    LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    Send(BM_SETSTYLE, (WPARAM)((style & ~(LONG_PTR)BS_TYPEMASK) | BS_OWNERDRAW), TRUE);
    char text[256];
    GetWindowTextA(hwnd_, text, sizeof text);
    if (caption_.IsEmpty())
        caption_ = text;
    return true;
}

bool KZCBigButton::SetPicture(int png_id, int width, int height, KZCColor transparent) {
    KZPicture* picture = KZLoadPngResource(png_id);
    if (!picture)
        return false;
    KZPicture* rgb = picture->ToRGB();
    picture->Release();
    bool fits = rgb && rgb->Width() == width && rgb->Height() == height;
    if (fits) {
        source_.resize((size_t)width * height * 3);
        for (int y = 0; y < height; ++y)
            std::memcpy(&source_[(size_t)y * width * 3], rgb->Row(height - 1 - y), width * 3);
        width_ = width;
        height_ = height;
        transparent_ = transparent;
        MakeBitmaps();
    }
    if (rgb)
        rgb->Release();
    return fits;
}

void KZCBigButton::SetCaption(const char* caption) {
    caption_ = caption;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void KZCBigButton::MakeBitmaps() {
    face_ = GetSysColor(COLOR_BTNFACE);
    light_ = GetSysColor(COLOR_BTNHIGHLIGHT);
    dark_ = GetSysColor(COLOR_BTNSHADOW);
    KZCBigButtonImages images;
    if (source_.empty() || !KZCMakeBigButtonImages(source_.data(), width_, height_, width_ * 3,
                                                   false, transparent_, face_, &images))
        return;
    for (int s = 0; s < KZC_BIG_STATE_COUNT; ++s)
        bitmaps_[s].Reset(KZCreateBitmapFromRGB(images.pixels[s].data(), width_, height_));
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void KZCBigButton::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    KZBrush face(CreateSolidBrush(face_));
    FillRect(dc, &r, face);
    int state = disabled  ? KZC_BIG_DISABLED
                : pressed ? KZC_BIG_PRESSED
                : hot_    ? KZC_BIG_HOT
                          : KZC_BIG_NORMAL;
    int shift = pressed ? 1 : 0;
    int left = r.left + (r.right - r.left - width_) / 2 + shift;
    int top = r.top + kPictureTop + shift;
    if (bitmaps_[state]) {
        KZMemoryDC memory(dc);
        KZSelectObject select(memory, bitmaps_[state].Get());
        BitBlt(dc, left, top, width_, height_, memory, 0, 0, SRCCOPY);
    }
    // Two one-pixel lines, light above and left, dark below and right; reversed while pressed.
    KZPen light(CreatePen(PS_SOLID, 1, pressed ? dark_ : light_));
    KZPen dark(CreatePen(PS_SOLID, 1, pressed ? light_ : dark_));
    {
        KZSelectObject select(dc, light.Get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
    }
    {
        KZSelectObject select(dc, dark.Get());
        MoveToEx(dc, r.right - 1, r.top, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left - 1, r.bottom - 1);
    }
    KZSelectObject font(dc, font_ ? (HGDIOBJ)font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT text = r;
    text.top = top + height_ + 2;
    text.left += 2 + shift;
    text.right -= 2 - shift;
    text.bottom -= 2;
    DrawTextA(dc, caption_.c_str(), -1, &text, DT_CENTER | DT_TOP | DT_WORDBREAK);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

bool KZCBigButton::OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    if (message != WM_DRAWITEM)
        return false;
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    *result = TRUE;
    return true;
}

LRESULT KZCBigButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        hot_ = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    case WM_SYSCOLORCHANGE:
        MakeBitmaps();
        break;
    default:
        break;
    }
    return KZButtonWnd::WindowProc(message, wparam, lparam);
}
