#include "runtime/core/qvrk_stored_settings_key.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(StoredSettingsKey, NamesWithAndWithoutCompany) {
    const struct {
        const char* company;
        const char* name;
        const char* key;
    } cases[] = {
        {"Acme", "Dunes", "Software\\TarvoSavers\\Acme\\Dunes"},
        {"", "Dunes", "Software\\TarvoSavers\\Dunes"},
        {"Acme", "", "Software\\TarvoSavers\\Acme\\Tarvo Screensaver"},
        {"", "", "Software\\TarvoSavers\\Tarvo Screensaver"},
    };
    for (const auto& c : cases) {
        char out[240];
        EXPECT_EQ(qvrk_stored_settings_key(c.company, c.name, out, sizeof out), strlen(c.key));
        EXPECT_STREQ(out, c.key) << c.company << "|" << c.name;
    }
}

TEST(StoredSettingsKey, CutToTheBufferWithTheWholeLengthReturned) {
    const char* whole = "Software\\TarvoSavers\\Acme\\Dunes";
    EXPECT_EQ(qvrk_stored_settings_key("Acme", "Dunes", nullptr, 0), strlen(whole));
    char out[12];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(qvrk_stored_settings_key("Acme", "Dunes", out, 9), strlen(whole));
    EXPECT_STREQ(out, "Software");
    EXPECT_EQ(out[9], 'x'); // nothing past the buffer it was given
    EXPECT_EQ(qvrk_stored_settings_key("Acme", "Dunes", out, 1), strlen(whole));
    EXPECT_STREQ(out, "");
}

} // namespace
