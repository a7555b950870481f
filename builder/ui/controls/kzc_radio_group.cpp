#include "builder/ui/controls/kzc_radio_group.h"

namespace {

struct WindowButtons : KZRadioButtonAccess {
    bool IsChecked(uintptr_t button) override {
        return SendMessageA((HWND)button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void SetChecked(uintptr_t button, bool checked) override {
        SendMessageA((HWND)button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void SetEnabled(uintptr_t button, bool enabled) override {
        EnableWindow((HWND)button, enabled);
    }
};

} // namespace

void KZCRadioGroup::Select(int id, bool check) {
    WindowButtons buttons;
    model_.Select(buttons, id, check);
}

int KZCRadioGroup::Selected() const {
    WindowButtons buttons;
    return model_.Selected(buttons);
}

void KZCRadioGroup::Enable(bool enable) {
    WindowButtons buttons;
    model_.Enable(buttons, enable);
}
