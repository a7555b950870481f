#include "builder/ui/pages/fc_field_binding.h"

#include "builder/engine/fc_field_table.h"
#include "builder/ui/framework/kz_dialog_base.h"
#include "builder/ui/pages/fc_step_dlg.h"

KZString FCControlText(HWND dialog, int id) {
    return KZGetWindowText(GetDlgItem(dialog, id));
}

bool FCIsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool FCLoadBindings(FCStepDlg& page, const FCFieldBinding* bindings, int count) {
    bool known = true;
    for (int i = 0; i < count; ++i) {
        const FCField* field = FCFindField(bindings[i].field);
        if (field && field->is_text()) {
            SetDlgItemTextA(page.GetHandle(), bindings[i].control_id,
                            field->text_of(page.GetDocument()));
        } else if (field && field->kind == FC_FIELD_BOOL) {
            CheckDlgButton(page.GetHandle(), bindings[i].control_id,
                           field->flag_of(page.GetDocument()) ? BST_CHECKED : BST_UNCHECKED);
        } else {
            known = false;
        }
    }
    return known;
}

bool FCStoreBindings(FCStepDlg& page, const FCFieldBinding* bindings, int count) {
    bool changed = false;
    for (int i = 0; i < count; ++i) {
        const FCField* field = FCFindField(bindings[i].field);
        if (field && field->is_text())
            changed |= FCStoreText(page, bindings[i].field,
                                   FCControlText(page.GetHandle(), bindings[i].control_id));
        else if (field && field->kind == FC_FIELD_BOOL)
            changed |= FCStoreFlag(page, bindings[i].field,
                                   FCIsChecked(page.GetHandle(), bindings[i].control_id));
    }
    return changed;
}

bool FCStoreText(FCStepDlg& page, const char* name, const char* value) {
    const FCField* field = FCFindField(name);
    if (!field || !field->is_text() || field->text_of(page.GetDocument()) == value)
        return false;
    field->text_of(page.GetDocumentForWrite()) = value;
    return true;
}

bool FCStoreFlag(FCStepDlg& page, const char* name, bool value) {
    const FCField* field = FCFindField(name);
    if (!field || field->kind != FC_FIELD_BOOL || field->flag_of(page.GetDocument()) == value)
        return false;
    field->flag_of(page.GetDocumentForWrite()) = value;
    return true;
}

bool FCStoreNumber(FCStepDlg& page, const char* name, int32_t value) {
    const FCField* field = FCFindField(name);
    if (!field || field->kind != FC_FIELD_INT || !field->in_range(value) ||
        field->number_of(page.GetDocument()) == value)
        return false;
    field->number_of(page.GetDocumentForWrite()) = value;
    return true;
}

bool FCStoreColor(FCStepDlg& page, const char* name, const FCColor& value) {
    const FCField* field = FCFindField(name);
    if (!field || field->kind != FC_FIELD_COLOR || field->color_of(page.GetDocument()) == value)
        return false;
    field->color_of(page.GetDocumentForWrite()) = value;
    return true;
}
