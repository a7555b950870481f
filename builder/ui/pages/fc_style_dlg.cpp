#include "builder/ui/pages/fc_style_dlg.h"

#include <initializer_list>

#include "builder/engine/fc_document.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/pages/fc_field_binding.h"
#include "media/picture/kz_picture.h"

namespace {

const char kBuiltinKey[] = "<std>";

// Last-write time of a file, 0 when it cannot be read.
uint64_t WriteTime(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!*path || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return 0;
    return ((uint64_t)data.ftLastWriteTime.dwHighDateTime << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// "All supported types|ALL|" and each format's description and patterns, then the closing "|".
KZString PictureFilter() {
    KZString all;
    KZString formats = GetFileDialogFilter(&all);
    KZString filter("All supported types|");
    filter += all;
    filter += "|";
    filter += formats;
    filter += "|";
    return filter;
}

} // namespace

KZString FCPreviewKey(bool custom, const char* path, uint64_t write_time) {
    if (!custom)
        return KZString(kBuiltinKey);
    KZString key;
    key.Format("%s|%llu", path, (unsigned long long)write_time);
    return key;
}

FCSStyleDlg::FCSStyleDlg(FCMainFrame* frame, FCDocument* document,
                         const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_STYLE, frame, document, header_bitmaps) {
    large_.box = IDC_STYLE_CUSTOM;
    large_.path = IDC_STYLE_PATH;
    large_.browse = IDC_STYLE_BROWSE;
    large_.small = false;
    small_.box = IDC_STYLE_CUSTOM_SMALL;
    small_.path = IDC_STYLE_SMALL_PATH;
    small_.browse = IDC_STYLE_SMALL_BROWSE;
    small_.small = true;
}

void FCSStyleDlg::CreateControls() {
    AddHeader(IDC_HEADER_STYLE);
    // The previews are one pixel of frame larger than the pictures, whatever the resolution.
    const struct {
        Slot* slot;
        int id, width, height;
    } previews[] = {{&large_, IDC_STYLE_PREVIEW, 166, 316},
                    {&small_, IDC_STYLE_SMALL_PREVIEW, 57, 57}};
    for (const auto& p : previews) {
        if (!p.slot->preview.SubclassDlgItem(p.id, hwnd_))
            continue;
        SetWindowPos(p.slot->preview, nullptr, 0, 0, p.width, p.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FCSStyleDlg::ShowSlot(Slot& slot) {
    const FCDocument& document = GetDocument();
    bool custom = slot.small ? document.custom_wizard_small_image : document.custom_wizard_image;
    const KZString& path =
        slot.small ? document.wizard_small_image_file : document.wizard_image_file;
    KZString key = FCPreviewKey(custom, path, custom ? WriteTime(path) : 0);
    if (key == slot.key && !slot.key.IsEmpty())
        return;
    slot.key = key;
    // A custom picture that did not load shows nothing; the box stays as it is.
    KZPicture* custom_picture = slot.small ? document.wizard_small_image : document.wizard_image;
    KZPicture* builtin =
        slot.small ? document.default_wizard_small_image : document.default_wizard_image;
    KZPicture* shown = custom ? custom_picture : builtin;
    // The preview keeps its own reference: the document replaces its pictures when reloading.
    if (shown)
        shown->AddRef();
    slot.preview.SetPicture(shown, true);
}

bool FCSStyleDlg::Load() {
    const FCDocument& document = GetDocument();
    for (Slot* slot : {&large_, &small_}) {
        bool custom =
            slot->small ? document.custom_wizard_small_image : document.custom_wizard_image;
        CheckDlgButton(hwnd_, slot->box, custom ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemTextA(hwnd_, slot->path,
                        slot->small ? document.wizard_small_image_file
                                    : document.wizard_image_file);
        EnableWindow(GetDlgItem(hwnd_, slot->path), custom);
        EnableWindow(GetDlgItem(hwnd_, slot->browse), custom);
        ShowSlot(*slot);
    }
    return true;
}

bool FCSStyleDlg::Store() {
    FCStoreFlag(*this, "custom_wizard_image", FCIsChecked(hwnd_, IDC_STYLE_CUSTOM));
    FCStoreText(*this, "wizard_image_file", FCControlText(hwnd_, IDC_STYLE_PATH));
    FCStoreFlag(*this, "custom_wizard_small_image", FCIsChecked(hwnd_, IDC_STYLE_CUSTOM_SMALL));
    FCStoreText(*this, "wizard_small_image_file", FCControlText(hwnd_, IDC_STYLE_SMALL_PATH));
    return true;
}

void FCSStyleDlg::Switch(Slot& slot) {
    bool custom = FCIsChecked(hwnd_, slot.box);
    EnableWindow(GetDlgItem(hwnd_, slot.path), custom);
    EnableWindow(GetDlgItem(hwnd_, slot.browse), custom);
    // The flag and the path first, so that the picture is read from what the page shows.
    Store();
    FCDocument& document = GetFrame()->GetDocument();
    if (slot.small)
        document.load_wizard_small_image();
    else
        document.load_wizard_image();
    ShowSlot(slot);
}

bool FCSStyleDlg::AskPictureFileName(KZString& path) {
    return KZAskOpenFileName(GetAncestor(hwnd_, GA_ROOT), PictureFilter(), path);
}

void FCSStyleDlg::Browse(Slot& slot) {
    KZString path;
    if (!AskPictureFileName(path) || path.IsEmpty())
        return;
    SetDlgItemTextA(hwnd_, slot.path, path);
    Switch(slot);
}

bool FCSStyleDlg::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED)
        return false;
    for (Slot* slot : {&large_, &small_}) {
        if (id == slot->box) {
            Switch(*slot);
            return true;
        }
        if (id == slot->browse) {
            Browse(*slot);
            return true;
        }
    }
    return false;
}
