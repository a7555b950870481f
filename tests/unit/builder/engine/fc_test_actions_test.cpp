#include <gtest/gtest.h>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_test_actions.h"

namespace {

// The key the test actions clear must be the one the runtime stores in.
TEST(FCTestActionsTest, StoredSettingsKey) {
    struct {
        const char* company;
        const char* name;
        const char* key;
    } cases[] = {
        {"Acme", "Stars", "Software\\TarvoSavers\\Acme\\Stars"},
        {"", "Stars", "Software\\TarvoSavers\\Stars"},
        {"Acme", "", "Software\\TarvoSavers\\Acme\\Tarvo Screensaver"},
        {"", "", "Software\\TarvoSavers\\Tarvo Screensaver"},
    };
    for (const auto& c : cases) {
        FCDocument document;
        document.company_name = c.company;
        document.long_name = c.name;
        EXPECT_STREQ(FCStoredSettingsKey(document).c_str(), c.key) << c.company << "|" << c.name;
    }
}

} // namespace
