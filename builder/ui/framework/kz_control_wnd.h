// Thin bases for the standard controls: a control object subclasses a dialog's control by id (or
// creates one) and reads or sets it with the standard messages. They own nothing else.
#pragma once

#include "builder/ui/framework/kz_window.h"
#include "media/base/kz_string.h"

class KZButtonWnd : public KZCWnd {
public:
    // A child "BUTTON" with the given style (BS_PUSHBUTTON, BS_OWNERDRAW ...).
    bool CreateButton(HWND parent, int id, const char* text, DWORD style, int x, int y, int width,
                      int height);
    int GetCheck() const { return (int)Send(BM_GETCHECK); }
    void SetCheck(int state) { Send(BM_SETCHECK, (WPARAM)state); }
};

class KZEditWnd : public KZCWnd {
public:
    bool CreateEdit(HWND parent, int id, DWORD style, int x, int y, int width, int height);
    KZString GetText() const;
    void SetText(const char* text) { SetWindowTextA(hwnd_, text); }
    void SetLimit(int characters) { Send(EM_SETLIMITTEXT, (WPARAM)characters); }
};

class KZStaticWnd : public KZCWnd {
public:
    bool CreateStatic(HWND parent, int id, const char* text, DWORD style, int x, int y, int width,
                      int height);
};
