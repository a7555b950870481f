// The Movie & Playback page: the main movie, sound, quality, background colour, size mode, the
// events that wake the screen and the cursor. While the background is not custom the colour
// button shows the movie's own background colour.
#pragma once

#include "builder/ui/controls/kzc_scolor_button.h"
#include "builder/ui/pages/fc_step_dlg.h"
#include "media/base/kz_string.h"

class FCSPlaybackDlg : public FCStepDlg {
public:
    FCSPlaybackDlg(FCMainFrame* frame, FCDocument* document, const FCHeaderBitmaps* header_bitmaps);

    void CreateControls() override;
    bool Load() override;
    bool Store() override;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The movie's open-file dialog; true with the chosen path.
    virtual bool AskMovieFileName(KZString& path);

private:
    void Browse();
    void SwitchBackground();
    void ShowMovieColor();

    KZCSColorButton color_;
    bool loading_ = false;
};
