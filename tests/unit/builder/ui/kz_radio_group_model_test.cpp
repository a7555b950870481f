#include "builder/ui/controls/kz_radio_group_model.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Buttons as plain state, keyed like the window handles would be.
struct FakeButtons : KZRadioButtonAccess {
    std::map<uintptr_t, bool> checked;
    std::map<uintptr_t, bool> enabled;
    bool IsChecked(uintptr_t b) override { return checked[b]; }
    void SetChecked(uintptr_t b, bool c) override { checked[b] = c; }
    void SetEnabled(uintptr_t b, bool e) override { enabled[b] = e; }
};

TEST(RadioGroupModel, AddReplacesButtonOrIdBeforeAppending) {
    KZRadioGroupModel group;
    group.Add(10, 1);
    group.Add(20, 2);
    group.Add(10, 5); // existing button takes the new id
    ASSERT_EQ(group.GetCount(), 2);
    EXPECT_EQ(group.GetAt(0).id, 5);
    group.Add(30, 2); // existing id takes the new button
    ASSERT_EQ(group.GetCount(), 2);
    EXPECT_EQ(group.GetAt(1).button, 30u);
    group.Add(40, 3);
    EXPECT_EQ(group.GetCount(), 3);
}

TEST(RadioGroupModel, SelectUnchecksTheOthersOnlyWhenChecking) {
    KZRadioGroupModel group;
    FakeButtons buttons;
    group.Add(10, 1);
    group.Add(20, 2);
    group.Add(30, 3);
    EXPECT_EQ(group.Selected(buttons), 0);
    buttons.checked[10] = buttons.checked[30] = true; // two checked, as a dialog may leave them
    EXPECT_EQ(group.Selected(buttons), 1);
    group.Select(buttons, 2, true);
    EXPECT_FALSE(buttons.checked[10]);
    EXPECT_TRUE(buttons.checked[20]);
    EXPECT_FALSE(buttons.checked[30]);
    EXPECT_EQ(group.Selected(buttons), 2);
    buttons.checked[30] = true;
    group.Select(buttons, 2, false); // unchecking leaves the others alone
    EXPECT_FALSE(buttons.checked[20]);
    EXPECT_TRUE(buttons.checked[30]);
    EXPECT_EQ(group.Selected(buttons), 3);
    group.Select(buttons, 9, true); // an unknown id changes nothing
    EXPECT_EQ(group.Selected(buttons), 3);
}

TEST(RadioGroupModel, EnableReachesEveryButton) {
    KZRadioGroupModel group;
    FakeButtons buttons;
    group.Add(10, 1);
    group.Add(20, 2);
    group.Enable(buttons, false);
    EXPECT_EQ(buttons.enabled.size(), 2u);
    EXPECT_FALSE(buttons.enabled[10]);
    EXPECT_FALSE(buttons.enabled[20]);
    group.Enable(buttons, true);
    EXPECT_TRUE(buttons.enabled[10] && buttons.enabled[20]);
}

} // namespace
