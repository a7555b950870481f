// The dialog base: a dialog from a resource (or an in-memory template), modal or modeless, as a
// top-level window or as a child of another window, bound to its object at WM_INITDIALOG.
//
// Enter and Escape arrive as the commands IDOK and IDCANCEL and go to OnOK and OnCancel; a page
// overrides them (a page stores on Enter and never closes on Escape).
#pragma once

#include "builder/ui/framework/kz_window.h"
#include "media/base/kz_string.h"

// One pass of data exchange between the controls and the members of a dialog.
struct KZDataExchange {
    HWND dialog;
    bool save; // true: controls -> members; false: members -> controls
};

void KZExchangeText(KZDataExchange& dx, int id, KZString& value);
void KZExchangeInt(KZDataExchange& dx, int id, int& value); // a non-number saves as 0
void KZExchangeCheck(KZDataExchange& dx, int id, bool& value);
// Radio buttons of one group, first_id and the buttons after it up to the next WS_GROUP: index
// of the checked one, -1 when none.
void KZExchangeRadio(KZDataExchange& dx, int first_id, int& index);
void KZExchangeComboIndex(KZDataExchange& dx, int id, int& index); // -1 when nothing selected
void KZExchangeComboText(KZDataExchange& dx, int id, KZString& value);

KZString KZGetWindowText(HWND window);

class KZCDialogBase : public KZCWnd {
public:
    explicit KZCDialogBase(int template_id = 0) : template_id_(template_id) {}
    ~KZCDialogBase() override;

    // Modal: returns the EndDialog result, -1 when the dialog could not be created.
    INT_PTR DoModal(HWND parent);
    INT_PTR DoModalIndirect(const DLGTEMPLATE* dialog_template, HWND parent);
    // Modeless (a child dialog when the template has WS_CHILD); destroyed with DestroyWindow or
    // with this object.
    bool CreateModeless(HWND parent);
    bool CreateModelessIndirect(const DLGTEMPLATE* dialog_template, HWND parent);

    bool IsModal() const { return modal_; }
    void EndDialog(INT_PTR result);
    // Runs DoDataExchange; false would mean a control refused its value (none does yet).
    bool UpdateData(bool save);

    bool PreTranslateMessage(MSG* message) override;

    int GetTemplateId() const { return template_id_; }

protected:
    // Called at WM_INITDIALOG: exchanges the members into the controls; TRUE lets the system set
    // the focus.
    virtual BOOL OnInitDialog();
    // WM_COMMAND from a menu, an accelerator or a control that no control object handled.
    virtual bool OnCommand(int id, int code, HWND control) { return false; }
    // Enter (IDOK): stores the controls and ends a modal dialog with IDOK.
    virtual void OnOK();
    // Escape (IDCANCEL): ends a modal dialog with IDCANCEL, destroys a modeless one.
    virtual void OnCancel();
    virtual void DoDataExchange(KZDataExchange& dx) {}

    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) override;

    int template_id_;
    bool modal_ = false;

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam);
    // Set by DefaultProc so that the dialog procedure answers FALSE (not handled).
    bool* default_called_ = nullptr;
};
