#include "builder/ui/controls/kz_radio_group_model.h"

void KZRadioGroupModel::Add(uintptr_t button, int id) {
    for (int i = 0; i < pairs_.GetCount(); ++i) {
        if (pairs_[i].button == button) {
            pairs_[i].id = id;
            return;
        }
    }
    for (int i = 0; i < pairs_.GetCount(); ++i) {
        if (pairs_[i].id == id) {
            pairs_[i].button = button;
            return;
        }
    }
    pairs_.Add(Pair{button, id});
}

void KZRadioGroupModel::Select(KZRadioButtonAccess& access, int id, bool check) {
    for (int i = 0; i < pairs_.GetCount(); ++i) {
        if (pairs_[i].id != id)
            continue;
        access.SetChecked(pairs_[i].button, check);
        if (!check)
            return;
        for (int j = 0; j < pairs_.GetCount(); ++j) {
            if (j != i && access.IsChecked(pairs_[j].button))
                access.SetChecked(pairs_[j].button, false);
        }
        return;
    }
}

int KZRadioGroupModel::Selected(KZRadioButtonAccess& access) const {
    for (int i = 0; i < pairs_.GetCount(); ++i) {
        if (access.IsChecked(pairs_[i].button))
            return pairs_[i].id;
    }
    return 0;
}

void KZRadioGroupModel::Enable(KZRadioButtonAccess& access, bool enable) {
    for (int i = 0; i < pairs_.GetCount(); ++i)
        access.SetEnabled(pairs_[i].button, enable);
}
