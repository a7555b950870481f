// A group of radio buttons with their ids (the buttons belong to the dialog).
#pragma once

#include <windows.h>

#include "builder/ui/controls/kz_radio_group_model.h"

class KZCRadioGroup {
public:
    void Add(HWND button, int id) { model_.Add((uintptr_t)button, id); }
    void AddDlgItem(HWND dialog, int control_id, int id) {
        Add(GetDlgItem(dialog, control_id), id);
    }
    void Select(int id, bool check);
    int Selected() const;
    void Enable(bool enable);
    int GetCount() const { return model_.GetCount(); }

private:
    KZRadioGroupModel model_;
};
