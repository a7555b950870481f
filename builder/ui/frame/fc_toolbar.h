// The step toolbar: one check-group button per step (command = step command id, label = short
// name, picture = the step's PNG), flat, labels below the pictures. The checked button is drawn
// here (half-highlight fill, sunken edge, picture and label); the others by the system.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "builder/ui/framework/kz_window.h"

class FCToolbar : public KZCWnd {
public:
    ~FCToolbar() override;
    // Creates the toolbar as a child of `parent` with its commands and notifications going to
    // `owner` (the frame, also while a rebar carries it).
    bool CreateToolbar(HWND parent, HWND owner);
    // Checks exactly the button of `command_id` (none for 0).
    void CheckOnly(int command_id);
    SIZE GetIdealSize() const;

protected:
    bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    LRESULT CustomDraw(NMTBCUSTOMDRAW* draw);

    HIMAGELIST normal_ = nullptr;
    HIMAGELIST hot_ = nullptr;
    HIMAGELIST disabled_ = nullptr;
    enum { kImageSize = 32 };
};
