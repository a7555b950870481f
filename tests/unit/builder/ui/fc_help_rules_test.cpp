#include "builder/ui/help/fc_help_rules.h"

#include <gtest/gtest.h>

namespace {

uint32_t Rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

TEST(HelpNames, WholeNamesWithTheirCaseOnly) {
    struct Case {
        const char* name;
        int id;
    } cases[] = {
        {"nsteps", 12002},
        {"curstep", 12003},
        {"next_step", 12004},
        {"prev_step", 12005},
        {"goto_step", 12006},
        {"get_color", 12007},
        {"test_setup", 12008},
        {"test_scr", 12009},
        {"test_settings", 12010},
        {"test_control_panel", 12011},
        {"about", 12012},
        {"close", 12014},
        {"visit_marqon", 12015},
        {"NSteps", -1},
        {"nstep", -1},
        {"nstepss", -1},
        {"", -1},
        {"Close", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FCFindExternalName(c.name), c.id) << c.name;
    EXPECT_EQ(FCFindExternalName(nullptr), -1);
}

TEST(HelpColors, EachNumberByTheTable) {
    FCHelpSystemColors colors;
    colors.button_face = Rgb(212, 208, 200);
    colors.button_highlight = Rgb(255, 255, 255);
    colors.button_shadow = Rgb(128, 128, 128);
    colors.button_text = Rgb(1, 2, 3);
    colors.window_frame = Rgb(4, 5, 6);
    colors.active_caption = Rgb(10, 36, 106);
    struct Case {
        int number;
        const char* text;
    } cases[] = {
        {1, "#D4D0C8"}, {2, "#E9E7E3"}, {3, "#DEDBD5"},  {4, "#808080"},
        {5, "#FFFFFF"}, {6, "#010203"}, {7, "#040506"},  {8, "#D4D0C8"},
        {9, "#0A246A"}, {0, "#000000"}, {10, "#000000"}, {-2, "#000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FCFormatHelpColor(FCHelpColor(c.number, colors)), c.text) << c.number;
}

TEST(HelpNumbers, OnlyWholeIntegers) {
    struct Case {
        const char* text;
        bool taken;
        int value;
    } cases[] = {
        {"2", true, 2},    {" 3 ", true, 3},  {"-1", true, -1},
        {"0", true, 0},    {"", false, 0},    {"abc", false, 0},
        {"2px", false, 0}, {"1.5", false, 0}, {"99999999999", false, 0},
    };
    for (const Case& c : cases) {
        int value = 12345;
        EXPECT_EQ(FCParseHelpNumber(c.text, &value), c.taken) << c.text;
        if (c.taken)
            EXPECT_EQ(value, c.value) << c.text;
        else
            EXPECT_EQ(value, 12345) << c.text;
    }
    int value = 0;
    EXPECT_FALSE(FCParseHelpNumber(nullptr, &value));
}

TEST(HelpPages, ResourceAddressOfEachStep) {
    EXPECT_EQ(FCHelpPageUrl("C:\\Tarvo\\scrkit.exe", 0), "res://C:\\Tarvo\\scrkit.exe/step1.html");
    EXPECT_EQ(FCHelpPageUrl("C:\\Tarvo\\ fra.dll", 8), "res://C:\\Tarvo\\ fra.dll/step9.html");
}

} // namespace
