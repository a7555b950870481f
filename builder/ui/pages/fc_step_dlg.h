// The base of the nine wizard pages: a child dialog of its step window that copies document
// fields into its controls (load) and back (store). Opening runs the dialog base, recolours
// the grey of its bitmaps to the button face, creates its controls and loads. Enter stores and
// loads again; Escape does nothing, since a page never closes.
#pragma once

#include "builder/ui/controls/kzc_dialog.h"
#include "builder/ui/pages/fc_helper.h"

class FCDocument;
class FCMainFrame;

class FCStepDlg : public KZCDialog {
public:
    FCStepDlg(int template_id, FCMainFrame* frame, FCDocument* document,
              const FCHeaderBitmaps* header_bitmaps);
    ~FCStepDlg() override;

    // One-time set-up of the controls (combo lists and the like).
    virtual void CreateControls() {}
    // Document fields into the controls, enabled states.
    virtual bool Load() { return true; }
    // Controls into the document.
    virtual bool Store() { return true; }
    // Two hooks a page may use; nothing by default.
    virtual void OnStepShown() {}
    virtual void OnStepHidden() {}

    FCMainFrame* GetFrame() const { return frame_; }
    const FCDocument& GetDocument() const { return *document_; }
    // For writing: marks the document modified.
    FCDocument& GetDocumentForWrite();

    // Binds a static of the page as a section header (owned by the page).
    bool AddHeader(int id, FCHelperMode mode = FC_HELPER_TEXT);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override {}

private:
    FCMainFrame* frame_;
    FCDocument* document_;
    const FCHeaderBitmaps* header_bitmaps_;
    enum { kMaxHeaders = 16 };
    FCHelper* headers_[kMaxHeaders] = {};
    int header_count_ = 0;
};

// Repaints the pixels of colour RGB(192,192,192) of every bitmap shown by a static of `dialog`
// in `face`; each bitmap once (up to 512 remembered); nothing when face is that grey itself.
void FCRecolorDialogBitmaps(HWND dialog, COLORREF face);
