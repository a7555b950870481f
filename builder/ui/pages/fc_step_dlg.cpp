#include "builder/ui/pages/fc_step_dlg.h"

#include "builder/engine/fc_document.h"

namespace {

// Bitmaps already recoloured; shared by all pages, since pages may show the same bitmap.
const int kMaxRecolored = 512;
HBITMAP g_recolored[kMaxRecolored];
int g_recolored_count = 0;

bool AlreadyRecolored(HBITMAP bitmap) {
    for (int i = 0; i < g_recolored_count; ++i) {
        if (g_recolored[i] == bitmap)
            return true;
    }
    return false;
}

void RecolorBitmap(HBITMAP bitmap, COLORREF face) {
    BITMAP info = {};
    if (!GetObjectA(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    size_t count = (size_t)info.bmWidth * (size_t)info.bmHeight;
    DWORD* pixels = new DWORD[count];
    KZWindowDC screen(nullptr);
    if (GetDIBits(screen, bitmap, 0, info.bmHeight, pixels, &format, DIB_RGB_COLORS)) {
        // DIB pixels are 0x00RRGGBB.
        const DWORD grey = 0xC0C0C0;
        const DWORD to =
            ((DWORD)GetRValue(face) << 16) | ((DWORD)GetGValue(face) << 8) | GetBValue(face);
        for (size_t i = 0; i < count; ++i) {
            if ((pixels[i] & 0xFFFFFF) == grey)
                pixels[i] = to;
        }
        SetDIBits(screen, bitmap, 0, info.bmHeight, pixels, &format, DIB_RGB_COLORS);
    }
    delete[] pixels;
}

struct RecolorContext {
    COLORREF face;
};

BOOL CALLBACK RecolorChild(HWND child, LPARAM context) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof(name));
    if (lstrcmpiA(name, "Static") != 0)
        return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
        return TRUE;
    HBITMAP bitmap = (HBITMAP)SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0);
    if (!bitmap || AlreadyRecolored(bitmap) || g_recolored_count >= kMaxRecolored)
        return TRUE;
    g_recolored[g_recolored_count++] = bitmap;
    RecolorBitmap(bitmap, reinterpret_cast<RecolorContext*>(context)->face);
    InvalidateRect(child, nullptr, TRUE);
    return TRUE;
}

} // namespace

void FCRecolorDialogBitmaps(HWND dialog, COLORREF face) {
    if ((face & 0xFFFFFF) == RGB(192, 192, 192))
        return;
    RecolorContext context = {face};
    EnumChildWindows(dialog, RecolorChild, (LPARAM)&context);
}

FCStepDlg::FCStepDlg(int template_id, FCMainFrame* frame, FCDocument* document,
                     const FCHeaderBitmaps* header_bitmaps)
    : KZCDialog(template_id), frame_(frame), document_(document), header_bitmaps_(header_bitmaps) {}

FCStepDlg::~FCStepDlg() {
    // The dialog goes first, so that the headers give back their statics to a live window.
    if (hwnd_)
        ::DestroyWindow(hwnd_);
    for (int i = 0; i < header_count_; ++i)
        delete headers_[i];
}

FCDocument& FCStepDlg::GetDocumentForWrite() {
    document_->modified = true;
    return *document_;
}

bool FCStepDlg::AddHeader(int id, FCHelperMode mode) {
    if (header_count_ >= kMaxHeaders)
        return false;
    FCHelper* header = new FCHelper;
    if (!header->Bind(hwnd_, id, mode, header_bitmaps_)) {
        delete header;
        return false;
    }
    headers_[header_count_++] = header;
    return true;
}

BOOL FCStepDlg::OnInitDialog() {
    BOOL result = KZCDialog::OnInitDialog();
    FCRecolorDialogBitmaps(hwnd_, GetSysColor(COLOR_BTNFACE));
    CreateControls();
    Load();
    return result;
}

void FCStepDlg::OnOK() {
    Store();
    Load();
}
