// The library's dialog: gives its children the shared GUI font, restores a saved placement and
// stores the placement when accepted.
#pragma once

#include "builder/ui/framework/kz_dialog_base.h"

struct KZWndPlacement {
    bool valid = false;
    WINDOWPLACEMENT placement = {};
};

class KZCDialog : public KZCDialogBase {
public:
    explicit KZCDialog(int template_id = 0) : KZCDialogBase(template_id) {}

    // The record restored at opening (when valid) and filled when the dialog is accepted; null
    // for none. The caller keeps it alive.
    void SetPlacementRecord(KZWndPlacement* record) { placement_ = record; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    KZWndPlacement* placement_ = nullptr;
};
