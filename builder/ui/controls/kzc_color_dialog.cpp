#include "builder/ui/controls/kzc_color_dialog.h"

#include <cstring>
#include <vector>

#include "builder/resources/kzc_color_dialog_ids.h"

namespace {

const int kMapWidth = 170;
const int kMapHeight = 159;
const int kBarWidth = 17;

const int kRadioIds[KZC_COMPONENT_COUNT] = {IDC_COLOR_RADIO_HUE,   IDC_COLOR_RADIO_SATURATION,
                                            IDC_COLOR_RADIO_VALUE, IDC_COLOR_RADIO_RED,
                                            IDC_COLOR_RADIO_GREEN, IDC_COLOR_RADIO_BLUE};
const int kEditIds[KZC_FIELD_COUNT] = {
    IDC_COLOR_EDIT_HUE,   IDC_COLOR_EDIT_SATURATION, IDC_COLOR_EDIT_VALUE, IDC_COLOR_EDIT_RED,
    IDC_COLOR_EDIT_GREEN, IDC_COLOR_EDIT_BLUE,       IDC_COLOR_EDIT_HEX};
const int kEditLimits[KZC_FIELD_COUNT] = {6, 3, 3, 3, 3, 3, 7};

int FieldOfEdit(int id) {
    for (int i = 0; i < KZC_FIELD_COUNT; ++i) {
        if (kEditIds[i] == id)
            return i;
    }
    return -1;
}

int ScreenDpi() {
    KZWindowDC screen(nullptr);
    return GetDeviceCaps(screen, LOGPIXELSX);
}

// A top-down 32-bit DIB section over `pixels`, drawn at (x, y).
void DrawPixels(HDC dc, int x, int y, int width, int height, const std::vector<uint32_t>& pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, width, height, 0, 0, 0, height, pixels.data(), &info,
                      DIB_RGB_COLORS);
}

uint32_t DibPixel(KZCColor c) {
    return (uint32_t)KZCBlue(c) | ((uint32_t)KZCGreen(c) << 8) | ((uint32_t)KZCRed(c) << 16);
}

} // namespace

void KZCColorPlane::Attach(KZCColorDialog* dialog, HWND control, bool is_bar, int width,
                           int height) {
    dialog_ = dialog;
    is_bar_ = is_bar;
    width_ = width;
    height_ = height;
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    Subclass(control);
}

void KZCColorPlane::Paint(HDC dc) {
    const KZCColorDialogModel& model = dialog_->Model();
    KZCColorComponent bar = dialog_->BarComponent();
    std::vector<uint32_t> pixels((size_t)width_ * height_);
    if (is_bar_) {
        for (int y = 0; y < height_; ++y) {
            uint32_t p = DibPixel(KZCBarColorAt(model, bar, y, height_));
            for (int x = 0; x < width_; ++x)
                pixels[(size_t)y * width_ + x] = p;
        }
        // The marker: a black and a white line across the bar.
        int at = KZCBarPoint(model, bar, height_);
        for (int x = 0; x < width_; ++x) {
            if (at > 0)
                pixels[(size_t)(at - 1) * width_ + x] = 0x000000;
            if (at + 1 < height_)
                pixels[(size_t)(at + 1) * width_ + x] = 0xFFFFFF;
        }
    } else {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x)
                pixels[(size_t)y * width_ + x] =
                    DibPixel(KZCMapColorAt(model, bar, x, y, width_, height_));
        }
        // The marker: a small ring, black outside and white inside.
        int mx, my;
        KZCMapPoint(model, bar, width_, height_, &mx, &my);
        for (int dy = -5; dy <= 5; ++dy) {
            for (int dx = -5; dx <= 5; ++dx) {
                int d = dx * dx + dy * dy;
                int x = mx + dx, y = my + dy;
                if (x < 0 || y < 0 || x >= width_ || y >= height_)
                    continue;
                if (d >= 16 && d <= 25)
                    pixels[(size_t)y * width_ + x] = 0x000000;
                else if (d >= 9 && d < 16)
                    pixels[(size_t)y * width_ + x] = 0xFFFFFF;
            }
        }
    }
    DrawPixels(dc, 0, 0, width_, height_, pixels);
}

void KZCColorPlane::Track(LPARAM point) {
    int x = (short)LOWORD(point), y = (short)HIWORD(point);
    KZCColorDialogModel& model = dialog_->Model();
    if (is_bar_)
        KZCSetBarPoint(&model, dialog_->BarComponent(), y, height_);
    else
        KZCSetMapPoint(&model, dialog_->BarComponent(), x, y, width_, height_);
    dialog_->PlaneChanged();
}

LRESULT KZCColorPlane::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        KZPaintDC dc(hwnd_);
        Paint(dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd_);
        Track(lparam);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd_)
            Track(lparam);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        return 0;
    default:
        break;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}

KZCColorDialog::KZCColorDialog(KZCColor color, bool with_opacity)
    : KZCDialog(with_opacity ? IDD_COLOR_DIALOG_OPACITY : IDD_COLOR_DIALOG), color_(color),
      with_opacity_(with_opacity) {
    model_.SetColor(color);
}

BOOL KZCColorDialog::OnInitDialog() {
    int dpi = ScreenDpi();
    map_.Attach(this, GetDlgItem(hwnd_, IDC_COLOR_MAP), false, MulDiv(kMapWidth, dpi, 96),
                MulDiv(kMapHeight, dpi, 96));
    bar_plane_.Attach(this, GetDlgItem(hwnd_, IDC_COLOR_BAR), true, MulDiv(kBarWidth, dpi, 96),
                      MulDiv(kMapHeight, dpi, 96));
    // The bar keeps its distance to the map at any resolution.
    RECT map_rect;
    GetWindowRect(map_, &map_rect);
    MapWindowPoints(nullptr, hwnd_, (POINT*)&map_rect, 2);
    SetWindowPos(bar_plane_, nullptr, map_rect.right + MulDiv(6, dpi, 96), map_rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    for (int i = 0; i < KZC_FIELD_COUNT; ++i)
        SendDlgItemMessageA(hwnd_, kEditIds[i], EM_SETLIMITTEXT, (WPARAM)kEditLimits[i], 0);
    CheckRadioButton(hwnd_, kRadioIds[0], kRadioIds[KZC_COMPONENT_COUNT - 1], kRadioIds[bar_]);
    if (with_opacity_) {
        SendDlgItemMessageA(hwnd_, IDC_COLOR_EDIT_OPACITY, EM_SETLIMITTEXT, 3, 0);
        SetDlgItemInt(hwnd_, IDC_COLOR_EDIT_OPACITY, (UINT)opacity_, FALSE);
    }
    ShowFields(-1);
    KZCDialog::OnInitDialog();
    return TRUE;
}

void KZCColorDialog::ShowFields(int except) {
    updating_ = true;
    for (int i = 0; i < KZC_FIELD_COUNT; ++i) {
        if (i == except)
            continue;
        char text[16];
        model_.FieldText((KZCColorField)i, text, sizeof text);
        SetDlgItemTextA(hwnd_, kEditIds[i], text);
    }
    updating_ = false;
}

void KZCColorDialog::Redraw() {
    map_.Refresh();
    bar_plane_.Refresh();
    InvalidateRect(GetDlgItem(hwnd_, IDC_COLOR_PREVIEW), nullptr, TRUE);
}

void KZCColorDialog::PlaneChanged() {
    ShowFields(-1);
    Redraw();
}

bool KZCColorDialog::OnCommand(int id, int code, HWND control) {
    for (int i = 0; i < KZC_COMPONENT_COUNT; ++i) {
        if (id == kRadioIds[i] && code == BN_CLICKED) {
            bar_ = (KZCColorComponent)i;
            CheckRadioButton(hwnd_, kRadioIds[0], kRadioIds[KZC_COMPONENT_COUNT - 1], id);
            Redraw();
            return true;
        }
    }
    int field = FieldOfEdit(id);
    if (field < 0)
        return false;
    if (code == EN_CHANGE && !updating_) {
        char text[32];
        GetDlgItemTextA(hwnd_, id, text, sizeof text);
        model_.ApplyTypedText((KZCColorField)field, text);
        // The edit being typed in keeps its text until the user leaves it.
        ShowFields(field);
        Redraw();
        return true;
    }
    if (code == EN_KILLFOCUS) {
        char typed[32], shown[16];
        GetDlgItemTextA(hwnd_, id, typed, sizeof typed);
        model_.FieldText((KZCColorField)field, shown, sizeof shown);
        if (std::strcmp(typed, shown) != 0) {
            updating_ = true;
            SetDlgItemTextA(hwnd_, id, shown);
            updating_ = false;
        }
        return true;
    }
    return false;
}

void KZCColorDialog::OnOK() {
    color_ = model_.Color();
    if (with_opacity_) {
        char text[16];
        GetDlgItemTextA(hwnd_, IDC_COLOR_EDIT_OPACITY, text, sizeof text);
        opacity_ = KZCReadLimitedInteger(text, 0, 100);
    }
    KZCDialog::OnOK();
}

LRESULT KZCColorDialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DRAWITEM && wparam == IDC_COLOR_PREVIEW) {
        // The new colour on the left half, the one the dialog opened with on the right.
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        RECT left = item->rcItem, right = item->rcItem;
        left.right = right.left = (item->rcItem.left + item->rcItem.right) / 2;
        KZBrush now(CreateSolidBrush(model_.Color()));
        KZBrush before(CreateSolidBrush(color_));
        FillRect(item->hDC, &left, now);
        FillRect(item->hDC, &right, before);
        return TRUE;
    }
    return KZCDialogBase::WindowProc(message, wparam, lparam);
}
