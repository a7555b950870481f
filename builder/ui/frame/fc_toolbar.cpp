#include "builder/ui/frame/fc_toolbar.h"

#include <initializer_list>

#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/controls/kz_picture_bitmap.h"
#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/frame/fc_resource_text.h"
#include "builder/ui/framework/kz_guards.h"
#include "media/picture/kz_picture.h"

namespace {

// A picture's pixels as a bitmap over `background`, brightened (hot) or greyed (disabled).
enum ImageKind { kNormal, kHot, kDisabled };

HBITMAP StepBitmap(const KZPicture* picture, COLORREF background, ImageKind kind) {
    HBITMAP bitmap = KZCreateBitmapFromPicture(picture, background);
    if (!bitmap || kind == kNormal)
        return bitmap;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    if (!info.bmBits || info.bmBitsPixel != 24)
        return bitmap;
    for (int y = 0; y < info.bmHeight; ++y) {
        BYTE* row = (BYTE*)info.bmBits + (size_t)y * info.bmWidthBytes;
        for (int x = 0; x < info.bmWidth; ++x) {
            BYTE* p = row + x * 3;
            if (kind == kHot) {
                for (int c = 0; c < 3; ++c)
                    p[c] = (BYTE)(p[c] + (255 - p[c]) / 5);
            } else {
                BYTE grey = (BYTE)((p[0] * 11 + p[1] * 59 + p[2] * 30) / 100);
                grey = (BYTE)(grey / 2 + 96);
                p[0] = p[1] = p[2] = grey;
            }
        }
    }
    return bitmap;
}

} // namespace

FCToolbar::~FCToolbar() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
    for (HIMAGELIST list : {normal_, hot_, disabled_}) {
        if (list)
            ImageList_Destroy(list);
    }
}

bool FCToolbar::CreateToolbar(HWND parent, HWND owner) {
    KZCreateArgs args;
    args.class_name = TOOLBARCLASSNAMEA;
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                 TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    args.parent = parent;
    args.control_id = 0xE800; // the framework's toolbar id
    args.x = args.y = 0;
    args.width = 100;
    args.height = 60;
    if (!Create(args))
        return false;
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    Send(TB_SETPARENT, (WPARAM)owner);
    Send(WM_SETFONT, (WPARAM)KZGetGUIFont(), FALSE);

    normal_ = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24, FC_STEP_COUNT, 0);
    hot_ = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24, FC_STEP_COUNT, 0);
    disabled_ = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24, FC_STEP_COUNT, 0);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < FC_STEP_COUNT; ++i) {
        KZPicture* picture = KZLoadPngResource(FCGetStep(i)->image_id);
        const ImageKind kinds[3] = {kNormal, kHot, kDisabled};
        HIMAGELIST lists[3] = {normal_, hot_, disabled_};
        for (int k = 0; k < 3; ++k) {
            KZBitmap bitmap(picture ? StepBitmap(picture, face, kinds[k]) : nullptr);
            if (!bitmap.Get()) {
                // A missing picture keeps the buttons' order: an empty image in its place.
                KZWindowDC screen(nullptr);
                bitmap.Reset(CreateCompatibleBitmap(screen, kImageSize, kImageSize));
            }
            ImageList_Add(lists[k], bitmap, nullptr);
        }
        if (picture)
            picture->Release();
    }
    Send(TB_SETIMAGELIST, 0, (LPARAM)normal_);
    Send(TB_SETHOTIMAGELIST, 0, (LPARAM)hot_);
    Send(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)disabled_);
    Send(TB_SETBUTTONWIDTH, 0, MAKELPARAM(50, 150));

    // The labels live as long as the toolbar: kept in the resource texts' cache.
    TBBUTTON buttons[FC_STEP_COUNT] = {};
    for (int i = 0; i < FC_STEP_COUNT; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = FCGetStep(i)->command_id;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_CHECKGROUP;
        buttons[i].iString = (INT_PTR)FCStepShortName(i);
    }
    if (!Send(TB_ADDBUTTONSA, FC_STEP_COUNT, (LPARAM)buttons))
        return false;
    Send(TB_AUTOSIZE);
    return true;
}

void FCToolbar::CheckOnly(int command_id) {
    for (int i = 0; i < FC_STEP_COUNT; ++i) {
        int id = FCGetStep(i)->command_id;
        Send(TB_CHECKBUTTON, (WPARAM)id, MAKELPARAM(id == command_id, 0));
    }
}

SIZE FCToolbar::GetIdealSize() const {
    SIZE size = {};
    Send(TB_GETMAXSIZE, 0, (LPARAM)&size);
    if (size.cx <= 0 || size.cy <= 0) {
        DWORD button = (DWORD)Send(TB_GETBUTTONSIZE);
        size.cx = LOWORD(button) * FC_STEP_COUNT;
        size.cy = HIWORD(button);
    }
    return size;
}

bool FCToolbar::OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    if (message != WM_NOTIFY)
        return false;
    NMHDR* header = reinterpret_cast<NMHDR*>(lparam);
    if (header->code != NM_CUSTOMDRAW)
        return false;
    *result = CustomDraw(reinterpret_cast<NMTBCUSTOMDRAW*>(lparam));
    return true;
}

LRESULT FCToolbar::CustomDraw(NMTBCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !(draw->nmcd.uItemState & CDIS_CHECKED))
        return CDRF_DODEFAULT;
    HDC dc = draw->nmcd.hdc;
    RECT rect = draw->nmcd.rc;
    KZBrush fill(CreateSolidBrush(KZGetGUIResources().half_highlight));
    FillRect(dc, &rect, fill);
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    int index = FCFindStepByCommand((int)draw->nmcd.dwItemSpec);
    if (index >= 0) {
        int x = rect.left + (rect.right - rect.left - kImageSize) / 2;
        ImageList_Draw(normal_, index, dc, x, rect.top + 3, ILD_NORMAL);
        KZSelectObject font(dc, KZGetGUIFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT text = rect;
        text.bottom -= 3;
        DrawTextA(dc, FCStepShortName(index), -1, &text,
                  DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    }
    return CDRF_SKIPDEFAULT;
}
