#include "builder/ui/controls/kz_gui_string_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

struct LanguageScope {
    explicit LanguageScope(int id) { KZGUIStringTable::SetLanguage(id); }
    ~LanguageScope() { KZGUIStringTable::SetLanguage(1033); }
};

TEST(GUIStringTable, MessageBoxLabelsInBothLanguages) {
    struct Case {
        const char* key;
        const char* french;
    } cases[] = {{"OK", "OK"},
                 {"&Yes", "&Oui"},
                 {"&No", "&Non"},
                 {"&Abort", "&Abandonner"},
                 {"&Retry", "&R\xE9\x65ssayer"},
                 {"&Ignore", "&Ignorer"},
                 {"Cancel", "Annuler"}};
    for (const Case& c : cases) {
        {
            LanguageScope english(1033);
            EXPECT_STREQ(KZGUIStringTable::Get(c.key), c.key);
        }
        LanguageScope french(1036);
        EXPECT_STREQ(KZGUIStringTable::Get(c.key), c.french);
    }
}

TEST(GUIStringTable, EveryKeyHasItsOwnFrenchLabel) {
    LanguageScope french(1036);
    std::set<std::string> labels;
    int count = 0;
    for (int i = 0; KZGUIStringTable::KeyAt(i); ++i, ++count) {
        const char* key = KZGUIStringTable::KeyAt(i);
        const char* label = KZGUIStringTable::Get(key);
        ASSERT_NE(label, nullptr);
        EXPECT_GT(strlen(label), 0u) << key;
        if (strcmp(key, "OK") != 0)
            EXPECT_STRNE(label, key) << key << " has no French label";
        labels.insert(label);
    }
    EXPECT_EQ(int(labels.size()), count);
}

TEST(GUIStringTable, UnknownKeysAndLanguages) {
    EXPECT_STREQ(KZGUIStringTable::Get("Not a key"), "Not a key");
    EXPECT_STREQ(KZGUIStringTable::Get(nullptr), "");
    LanguageScope german(1031); // anything but French reads English
    EXPECT_STREQ(KZGUIStringTable::Get("Cancel"), "Cancel");
}

} // namespace
