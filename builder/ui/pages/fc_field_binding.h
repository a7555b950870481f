// A page's plain controls bound to document fields by name through the field table: edits to
// text fields, check boxes to flags. Loading copies each field into its control; storing reads
// each control and writes the field only when it differs, marking the document modified then.
#pragma once

#include <windows.h>

#include "media/base/kz_string.h"

class FCStepDlg;
struct FCField;
struct FCDocumentFields;
struct FCColor;

struct FCFieldBinding {
    int control_id;
    const char* field; // a text, path or flag field of the table
};

// Loads `count` bindings into the controls of `page`; false when a name is not a text or flag
// field (a page's table is wrong), nothing being shown for it.
bool FCLoadBindings(FCStepDlg& page, const FCFieldBinding* bindings, int count);
// Stores them; true when any field changed.
bool FCStoreBindings(FCStepDlg& page, const FCFieldBinding* bindings, int count);

// One text field from a value: written (document marked modified) only when it differs.
bool FCStoreText(FCStepDlg& page, const char* field, const char* value);
bool FCStoreFlag(FCStepDlg& page, const char* field, bool value);
bool FCStoreNumber(FCStepDlg& page, const char* field, int32_t value);
bool FCStoreColor(FCStepDlg& page, const char* field, const FCColor& value);

// A control's text as the engine's ANSI string.
KZString FCControlText(HWND dialog, int id);
bool FCIsChecked(HWND dialog, int id);
