// The Setup Style page: the setup wizard's two pictures, custom or built in, each with its
// path, Browse button and preview. A preview redraws only when what it shows changed: another
// file, the same file written again, or the switch to or from the built-in picture.
#pragma once

#include "builder/ui/controls/kzc_picture_static.h"
#include "builder/ui/pages/fc_step_dlg.h"
#include "media/base/kz_string.h"

#include <cstdint>

class FCSStyleDlg : public FCStepDlg {
public:
    FCSStyleDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;
    bool Store() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    // The picture's open-file dialog; true with the chosen path.
    virtual bool AskPictureFileName(KZString& path);

private:
    // One of the two pictures: its controls and the key of what its preview shows.
    struct Slot {
        int box, path, browse;
        bool small;
        KZCPictureStatic preview;
        KZString key;
    };
    void ShowSlot(Slot& slot);
    void Switch(Slot& slot);
    void Browse(Slot& slot);

    Slot large_;
    Slot small_;
};

// What a preview shows, as its key: "<std>" for the built-in picture, else the path and the
// file's last-write time (a file that cannot be read has time 0).
KZString FCPreviewKey(bool custom, const char* path, uint64_t write_time);
