#include "builder/ui/controls/kz_message_box_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> Ids(const KZMessageBoxLayout& layout) {
    std::vector<int> ids;
    for (int i = 0; i < layout.button_count; ++i)
        ids.push_back(layout.buttons[i].command_id);
    return ids;
}

TEST(MessageBoxRules, ButtonsByLowFourBits) {
    struct Case {
        unsigned type;
        std::vector<int> ids;
        int escape;
    } cases[] = {
        {0, {1}, 1},    {1, {1, 2}, 2}, {2, {3, 4, 5}, 0},    {3, {6, 7, 2}, 2}, {4, {6, 7}, 0},
        {5, {4, 2}, 2}, {6, {1}, 1},    {0x23, {6, 7, 2}, 2}, // icon bits do not change the buttons
    };
    for (const Case& c : cases) {
        KZMessageBoxLayout layout = KZGetMessageBoxLayout(c.type);
        EXPECT_EQ(Ids(layout), c.ids) << "type " << c.type;
        EXPECT_EQ(layout.escape_id, c.escape) << "type " << c.type;
    }
    KZMessageBoxLayout yes_no_cancel = KZGetMessageBoxLayout(3);
    EXPECT_STREQ(yes_no_cancel.buttons[0].label_key, "&Yes");
    EXPECT_STREQ(yes_no_cancel.buttons[1].label_key, "&No");
    EXPECT_STREQ(yes_no_cancel.buttons[2].label_key, "Cancel");
    EXPECT_STREQ(KZGetMessageBoxLayout(2).buttons[0].label_key, "&Abort");
}

TEST(MessageBoxRules, IconByBitsFourToSeven) {
    EXPECT_EQ(KZGetMessageBoxLayout(0x00).icon, KZ_MB_ICON_NONE);
    EXPECT_EQ(KZGetMessageBoxLayout(0x10).icon, KZ_MB_ICON_STOP);
    EXPECT_EQ(KZGetMessageBoxLayout(0x20).icon, KZ_MB_ICON_QUESTION);
    EXPECT_EQ(KZGetMessageBoxLayout(0x31).icon, KZ_MB_ICON_EXCLAMATION);
    EXPECT_EQ(KZGetMessageBoxLayout(0x40).icon, KZ_MB_ICON_INFORMATION);
    EXPECT_EQ(KZGetMessageBoxLayout(0x50).icon, KZ_MB_ICON_NONE);
    EXPECT_EQ(KZGetMessageBoxLayout(0xF0).icon, KZ_MB_ICON_NONE);
}

TEST(MessageBoxRules, DefaultButtonOnlyWhenItExists) {
    EXPECT_EQ(KZGetMessageBoxLayout(0x103).default_index, 1); // Yes/No/Cancel, second: No
    EXPECT_EQ(KZGetMessageBoxLayout(0x203).default_index, 2);
    EXPECT_EQ(KZGetMessageBoxLayout(0x204).default_index, 0); // Yes/No has no third
    EXPECT_EQ(KZGetMessageBoxLayout(0x300).default_index, 0); // a fourth never exists
    EXPECT_EQ(KZGetMessageBoxLayout(0x100).default_index, 0);
    EXPECT_EQ(KZGetMessageBoxLayout(0x101).default_index, 1);
    EXPECT_EQ(KZGetMessageBoxLayout(0x401).default_index, 0);
}

TEST(MessageBoxRules, TopmostBit) {
    EXPECT_TRUE(KZGetMessageBoxLayout(0x40000).topmost);
    EXPECT_FALSE(KZGetMessageBoxLayout(0x20000 | 0x80000).topmost);
}

TEST(MessageBoxRules, DefaultIconOnlyForPlainAnswers) {
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(0), 0x30u);
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(1), 0x31u);
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(3), 0x33u);
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(4), 0x34u);
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(2), 2u);
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(5), 5u);
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(0x10), 0x10u); // an icon is kept
    EXPECT_EQ(KZAddDefaultMessageBoxIcon(0x40104), 0x40134u);
}

} // namespace
