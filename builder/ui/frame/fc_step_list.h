// The nine steps: each step window (a child of the view) holds its page dialog; the list knows
// the current step and the underline bitmaps shared by every page's section headers.
#pragma once

#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/framework/kz_window.h"
#include "builder/ui/pages/fc_helper.h"
#include "builder/ui/pages/fc_step_dlg.h"
#include "media/base/kz_string.h"

class FCDocument;
class FCMainFrame;

// Makes the page of step `index`; the frame passes FCCreateStepPage, tests their own pages.
typedef FCStepDlg* (*FCStepPageFactory)(int index, FCMainFrame* frame, FCDocument* document,
                                        const FCHeaderBitmaps* header_bitmaps);

class FCStepWnd : public KZCWnd {
public:
    // Header offset: the page starts this far below the step window's top.
    enum { kHeaderOffset = 0 };

    FCStepWnd(const FCStepInfo& info, FCStepDlg* page) : info_(info), page_(page) {}
    ~FCStepWnd() override;

    bool CreateStep(HWND view, const RECT& rect);
    const FCStepInfo& GetInfo() const { return info_; }
    FCStepDlg* GetPage() const { return page_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    FCStepInfo info_;
    FCStepDlg* page_; // owned
};

class FCStepList {
public:
    explicit FCStepList(FCMainFrame* frame) : frame_(frame) {}
    ~FCStepList();
    FCStepList(const FCStepList&) = delete;
    FCStepList& operator=(const FCStepList&) = delete;

    // The step table with one page each (no windows yet).
    bool Build(FCDocument* document, FCStepPageFactory factory);
    // The step windows and their pages, as children of the view, hidden.
    bool CreateWindows(HWND view, const RECT& rect);
    bool BuildHeaderBitmaps() { return header_bitmaps_.Build(); }
    const FCHeaderBitmaps* GetHeaderBitmaps() const { return &header_bitmaps_; }

    // Refuses (false) out of range or when already current; otherwise stores the page being
    // left, whatever it answers, and shows step i alone.
    bool Select(int index);
    int GetCurrent() const { return current_; }
    int GetCount() const { return count_; }
    FCStepWnd* GetStep(int index) const {
        return index >= 0 && index < count_ ? steps_[index] : nullptr;
    }
    void MoveSteps(int x, int y, int width, int height);
    void LoadAll();

private:
    FCMainFrame* frame_;
    FCStepWnd* steps_[FC_STEP_COUNT] = {};
    int count_ = 0;
    int current_ = -1;
    FCHeaderBitmaps header_bitmaps_;
};
