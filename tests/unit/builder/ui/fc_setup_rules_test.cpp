#include "builder/ui/pages/fc_setup_rules.h"

#include <gtest/gtest.h>

namespace {

bool HighIsLead(unsigned char c) {
    return c >= 0x81;
}

} // namespace

TEST(FCSetupRules, UrlPrefixInAnyCaseBecomesOneLowerCasePrefix) {
    const struct {
        const char *stored, *shown, *stored_again;
    } cases[] = {
        {"http://example", "example", "http://example"},
        {"HTTP://example", "example", "http://example"},
        {"hTtP://http://x", "http://x", "http://http://x"}, // one prefix is taken off
        {"", "", "http://"},
        {"http:/", "http:/", "http://http:/"}, // shorter than the prefix: not one
        {"https://x", "https://x", "http://https://x"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(FCUrlWithoutPrefix(c.stored), c.shown) << c.stored;
        EXPECT_STREQ(FCUrlWithPrefix(c.stored), c.stored_again) << c.stored;
    }
}

TEST(FCSetupRules, AmpersandsDoubledButDoubleBytePairsKeptWhole) {
    EXPECT_STREQ(FCDoubleAmpersands("A&B&&C"), "A&&B&&&&C");
    // A trail byte with the ampersand's code belongs to its lead byte; a lead byte at the end
    // stands alone.
    EXPECT_STREQ(FCDoubleAmpersands("\x81&x&", HighIsLead), "\x81&x&&");
    EXPECT_STREQ(FCDoubleAmpersands("&\x81", HighIsLead), "&&\x81");
    EXPECT_STREQ(FCDoubleAmpersands("\x81&", nullptr), "\x81&&");
}

TEST(FCSetupRules, DefaultFolderAndLanguageList) {
    EXPECT_STREQ(FCDefaultInstallDir("ACME", "Saver"), "{pf}\\ACME\\Saver");
    EXPECT_STREQ(FCDefaultInstallDir("", "Saver"), "Saver");
    EXPECT_STREQ(FCDefaultCopyright(2026, "ACME"), "Copyright \xA9 2026 ACME");
    EXPECT_EQ(FCSetupLanguagePosition(11), 4);
    EXPECT_STREQ(FCSetupLanguageText(4), "Polish");
    EXPECT_EQ(FCSetupLanguagePosition(8), -1); // no entry: no selection
    // Nothing selected stores the first language, a position past the list the last.
    const int selections[][2] = {{-1, 1}, {0, 1}, {4, 11}, {6, 6}, {7, 7}, {9, 7}};
    for (const auto& s : selections)
        EXPECT_EQ(FCSetupLanguageForSelection(s[0]), s[1]) << s[0];
}
