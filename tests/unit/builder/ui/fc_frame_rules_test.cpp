#include "builder/ui/frame/fc_frame_rules.h"

#include <gtest/gtest.h>

TEST(FCFrameRules, StepTableInOrderWithCommandsAndTemplates) {
    const char* short_names[] = {"Start", "Setup", "Style", "Playback", "Settings",
                                 "Files", "Menu",  "Post",  "Finish"};
    const int dialogs[] = {140, 249, 139, 250, 251, 252, 5101, 253, 151};
    for (int i = 0; i < FC_STEP_COUNT; ++i) {
        EXPECT_EQ(FCGetStep(i)->command_id, 200 + i);
        EXPECT_STREQ(FCGetStep(i)->short_name, short_names[i]);
        EXPECT_EQ(FCGetStep(i)->dialog_id, dialogs[i]);
        EXPECT_EQ(FCFindStepByCommand(200 + i), i);
    }
    EXPECT_STREQ(FCGetStep(3)->title, "Movie & Playback Properties");
    EXPECT_EQ(FCGetStep(9), nullptr);
    EXPECT_EQ(FCFindStepByCommand(209), -1); // in the frame's range, but no step
}

TEST(FCFrameRules, SizesFollowTheScreenResolution) {
    struct Case {
        int dpi, page_width, page_height, frame_width, frame_height;
    } cases[] = {
        {96, 450, 390, 680, 540},
        {120, 594, 515, 803, 638},
        {144, 747, 647, 921, 731},
    };
    for (const Case& c : cases) {
        FCFrameSizes sizes = FCComputeFrameSizes(c.dpi);
        EXPECT_EQ(sizes.page_width, c.page_width) << c.dpi;
        EXPECT_EQ(sizes.page_height, c.page_height) << c.dpi;
        EXPECT_EQ(sizes.frame_width, c.frame_width) << c.dpi;
        EXPECT_EQ(sizes.frame_height, c.frame_height) << c.dpi;
    }
}

TEST(FCFrameRules, PlacementIsElevenIntegersOrNothing) {
    FCPlacementValues values;
    ASSERT_TRUE(FCParsePlacement("0,2,1,-1,-1,-8,-30,100,50,780,590", &values));
    EXPECT_EQ(values.flags, 2);
    EXPECT_EQ(values.show_command, 1);
    EXPECT_EQ(values.min_x, -1);
    EXPECT_EQ(values.max_y, -30);
    EXPECT_EQ(values.left, 100);
    EXPECT_EQ(values.bottom, 590);
    EXPECT_EQ(FCFormatPlacement(values), "0,2,1,-1,-1,-8,-30,100,50,780,590");
    for (const char* bad :
         {"", "0,2,1,-1,-1,-8,-30,100,50,780", "0,2,1,-1,-1,-8,-30,100,50,780,590,7",
          "0,2,1,-1,-1,-8,-30,100,50,780,x", "0,2,1,-1,-1,-8,-30,100,50,780,590 ",
          "0;2;1;-1;-1;-8;-30;100;50;780;590"})
        EXPECT_FALSE(FCParsePlacement(bad, &values)) << bad;
}

TEST(FCFrameRules, LanguageValueMustBeAFourByteOneOrTwo) {
    const unsigned kDword = 4, kBinary = 3, kString = 1;
    EXPECT_EQ(FCLanguageFromValue(true, kDword, 4, 1), FC_LANGUAGE_ENGLISH);
    EXPECT_EQ(FCLanguageFromValue(true, kDword, 4, 2), FC_LANGUAGE_FRENCH);
    EXPECT_EQ(FCLanguageFromValue(true, kDword, 4, 3), 0);
    EXPECT_EQ(FCLanguageFromValue(true, kBinary, 8, 2), 0);
    EXPECT_EQ(FCLanguageFromValue(true, kBinary, 2, 2), 0);
    EXPECT_EQ(FCLanguageFromValue(true, kString, 4, 2), 0);
    EXPECT_EQ(FCLanguageFromValue(false, kDword, 4, 2), 0);
    EXPECT_EQ(FCLanguageFromLocale(0x040C), FC_LANGUAGE_FRENCH); // fr-FR
    EXPECT_EQ(FCLanguageFromLocale(0x0C0C), FC_LANGUAGE_FRENCH); // fr-CA
    EXPECT_EQ(FCLanguageFromLocale(0x0409), FC_LANGUAGE_ENGLISH);
    EXPECT_EQ(FCLanguageFromLocale(0x0407), FC_LANGUAGE_ENGLISH);
}

TEST(FCFrameRules, ProjectFileNames) {
    EXPECT_TRUE(FCIsProjectPath("C:\\a\\b.KPJ"));
    EXPECT_TRUE(FCIsProjectPath("b.kpj"));
    EXPECT_FALSE(FCIsProjectPath("C:\\a.kpj\\movie.swf"));
    EXPECT_FALSE(FCIsProjectPath("C:\\a\\kpj"));
    EXPECT_FALSE(FCIsProjectPath(""));

    EXPECT_EQ(FCProjectDisplayName("C:\\My Setups\\Dunes.v2.kpj"), "Dunes.v2");
    EXPECT_EQ(FCProjectDisplayName("C:\\My.Setups\\Dunes"), "Dunes");
    EXPECT_EQ(FCProjectDisplayName(""), "TarvoSetup1");

    EXPECT_EQ(FCWithProjectExtension("C:\\a\\Dunes"), "C:\\a\\Dunes.kpj");
    EXPECT_EQ(FCWithProjectExtension("C:\\a\\Dunes.KPJ"), "C:\\a\\Dunes.KPJ");
    EXPECT_EQ(FCWithProjectExtension("C:\\a.b\\Dunes.wdx"), "C:\\a.b\\Dunes.kpj");

    KZString dropped[] = {"C:\\p\\photo.jpg", "C:\\p\\movie.swf", "C:\\p\\one.Kpj",
                          "C:\\p\\two.kpj"};
    EXPECT_EQ(FCChooseDroppedProject(dropped, 4), 2);
    EXPECT_EQ(FCChooseDroppedProject(dropped, 2), -1);
    EXPECT_EQ(FCChooseDroppedProject(dropped, 0), -1);
}

TEST(FCFrameRules, CommandLineFileIsTheFirstArgumentThatIsNoOption) {
    struct Case {
        const char* line;
        const char* file;
    } cases[] = {
        {"scrkit.exe", ""},
        {"\"C:\\Program Files\\scrkit.exe\" \"C:\\My Setups\\a.KPJ\"", "C:\\My Setups\\a.KPJ"},
        {"scrkit.exe /dde C:\\b.kpj", "C:\\b.kpj"},
        {"scrkit.exe   movie.swf  other.kpj", "movie.swf"},
        {"scrkit.exe -x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FCCommandLineFile(c.line), c.file) << c.line;
}
