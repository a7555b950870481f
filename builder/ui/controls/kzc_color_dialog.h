// The colour dialog "Color Selection" (11012, or 11013 with an opacity field): a colour map and
// bar, a radio button per component choosing what the bar controls, and edits for hue,
// saturation, value, red, green, blue and the hexadecimal colour that follow each other as the
// user types.
#pragma once

#include "builder/ui/controls/kzc_color_dialog_model.h"
#include "builder/ui/controls/kzc_dialog.h"
#include "builder/ui/framework/kz_guards.h"

class KZCColorDialog;

// The map or the bar: a static of the dialog, painted and dragged here.
class KZCColorPlane : public KZCWnd {
public:
    void Attach(KZCColorDialog* dialog, HWND control, bool is_bar, int width, int height);
    void Refresh() { InvalidateRect(hwnd_, nullptr, FALSE); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Paint(HDC dc);
    void Track(LPARAM point);

    KZCColorDialog* dialog_ = nullptr;
    bool is_bar_ = false;
    int width_ = 0;
    int height_ = 0;
};

class KZCColorDialog : public KZCDialog {
public:
    explicit KZCColorDialog(KZCColor color, bool with_opacity = false);

    KZCColor GetColor() const { return color_; }
    // Percent, 0 to 100; only the dialog with the opacity field shows it.
    void SetOpacity(int percent) { opacity_ = percent; }
    int GetOpacity() const { return opacity_; }

    // For the map and the bar.
    KZCColorDialogModel& Model() { return model_; }
    KZCColorComponent BarComponent() const { return bar_; }
    // The map or the bar moved the colour: every edit follows.
    void PlaneChanged();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    // Writes the edits from the model, all but `except` (the one being typed in).
    void ShowFields(int except);
    void Redraw();

    KZCColor color_;
    int opacity_ = 100;
    bool with_opacity_;
    KZCColorDialogModel model_;
    KZCColorComponent bar_ = KZC_COMPONENT_HUE;
    KZCColorPlane map_;
    KZCColorPlane bar_plane_;
    bool updating_ = false; // set while the dialog writes its own edits
};
