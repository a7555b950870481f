#include "builder/ui/pages/fc_post_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(FCPostRules, ActionRowEnabling) {
    const struct {
        bool available, checked, ask;
        bool box, radios, message;
    } cases[] = {
        {true, true, true, true, true, true},
        {true, true, false, true, true, false},   // Don't ask: no message to edit
        {true, false, true, true, false, false},  // unchecked: the pair and message go
        {false, true, true, false, false, false}, // no readme installed: nothing, whatever set
        {false, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        FCPostActionStates s = FCPostActionState(c.available, c.checked, c.ask);
        EXPECT_EQ(s.box, c.box) << c.available << c.checked << c.ask;
        EXPECT_EQ(s.radios, c.radios) << c.available << c.checked << c.ask;
        EXPECT_EQ(s.message, c.message) << c.available << c.checked << c.ask;
    }
}

TEST(FCPostRules, LaunchChoiceIsTheFileNameUnderApp) {
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"C:\\files\\readme.html", "{app}\\readme.html"},
        {"Z:/tmp/a b.exe", "{app}\\a b.exe"},
        {"plain.txt", "{app}\\plain.txt"},
        {"C:name.txt", "{app}\\name.txt"},
        {"", "{app}\\"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(FCLaunchChoiceText(c.path).c_str(), c.text) << c.path;
}

TEST(FCPostRules, LoadSelectsOnlyAListedIndex) {
    EXPECT_EQ(FCLaunchItemToSelect(0, 3), 0);
    EXPECT_EQ(FCLaunchItemToSelect(2, 3), 2);
    EXPECT_EQ(FCLaunchItemToSelect(3, 3), -1); // files removed since: the free text instead
    EXPECT_EQ(FCLaunchItemToSelect(0, 0), -1);
    EXPECT_EQ(FCLaunchItemToSelect(-1, 3), -1);
}

TEST(FCPostRules, StoreLaunchChoice) {
    const struct {
        const char* what;
        int32_t index;
        const char* target;
        int selected;
        const char* text;
        bool changed;
        int32_t new_index;
        const char* new_target;
    } cases[] = {
        {"picking a file clears the free text", -1, "C:\\x.exe", 1, "{app}\\b", true, 1, ""},
        {"picking another file", 0, "", 2, "{app}\\c", true, 2, ""},
        {"the same file again keeps everything", 1, "", 1, "{app}\\b", false, 1, ""},
        {"typing a free path", 1, "", -1, "http://example.com", true, -1, "http://example.com"},
        {"the same free path is no change", -1, "C:\\x.exe", -1, "C:\\x.exe", false, -1,
         "C:\\x.exe"},
        {"a stale index falls back to the free text shown", 5, "C:\\x.exe", -1, "C:\\x.exe", true,
         -1, "C:\\x.exe"},
        {"an emptied drop-down", -1, "C:\\x.exe", -1, "", true, -1, ""},
    };
    for (const auto& c : cases) {
        int32_t index = c.index;
        KZString target = c.target;
        EXPECT_EQ(FCStoreLaunchChoice(c.selected, c.text, index, target), c.changed) << c.what;
        EXPECT_EQ(index, c.new_index) << c.what;
        EXPECT_STREQ(target.c_str(), c.new_target) << c.what;
    }
}
