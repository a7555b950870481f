// Bookkeeping of a radio-button group: (button, id) pairs and the rules of adding, selecting and
// enabling. The buttons are reached through an access interface, so the rules run without
// windows.
#pragma once

#include <cstdint>

#include "media/base/kz_array.h"

class KZRadioButtonAccess {
public:
    virtual ~KZRadioButtonAccess() = default;
    virtual bool IsChecked(uintptr_t button) = 0;
    virtual void SetChecked(uintptr_t button, bool checked) = 0;
    virtual void SetEnabled(uintptr_t button, bool enabled) = 0;
};

class KZRadioGroupModel {
public:
    struct Pair {
        uintptr_t button;
        int id;
    };

    // An existing button gets the new id; else an existing id gets the new button; else a pair
    // is appended.
    void Add(uintptr_t button, int id);
    // Sets the check of that id's button; when checking, unchecks every other checked button.
    void Select(KZRadioButtonAccess& access, int id, bool check);
    // The id of the first checked button, 0 when none is checked.
    int Selected(KZRadioButtonAccess& access) const;
    void Enable(KZRadioButtonAccess& access, bool enable);

    int GetCount() const { return pairs_.GetCount(); }
    const Pair& GetAt(int index) const { return pairs_[index]; }

private:
    KZTArray<Pair> pairs_;
};
