#include "builder/ui/pages/fc_settings_rules.h"

#include <gtest/gtest.h>

TEST(FCSettingsRules, SettingsPreviewFallsBackToUniformWithoutASettingsMovie) {
    const struct {
        int32_t mode;
        bool show_movie;
        const char* file;
        int32_t kept;
    } cases[] = {
        {2, true, "C:\\a.swf", 2},
        {2, false, "C:\\a.swf", 0}, // the message is shown: the file is not in use
        {2, true, "", 0},
        {2, true, nullptr, 0},
        {3, false, "", 3}, // only mode 2 depends on the settings movie
        {1, false, "", 1},
        {0, true, "", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FCCorrectPreviewMode(c.mode, c.show_movie, c.file), c.kept)
            << c.mode << " " << c.show_movie << " " << (c.file ? c.file : "(null)");
}

TEST(FCSettingsRules, ControlStatesFollowTheModeAndTheSettingsChoice) {
    const struct {
        int32_t mode;
        bool show_movie;
        const char* file;
        bool movie, message, settings_preview, color, specific;
    } cases[] = {
        {0, true, "m.swf", true, false, true, true, false},
        {1, true, "", true, false, false, false, false}, // movie chosen but no file yet
        {2, true, "m.swf", true, false, true, false, false},
        {3, false, "m.swf", false, true, false, false, true},
    };
    for (const auto& c : cases) {
        FCSettingsControlStates s = FCSettingsStates(c.mode, c.show_movie, c.file);
        EXPECT_EQ(s.movie_controls, c.movie) << c.mode;
        EXPECT_EQ(s.message, c.message) << c.mode;
        EXPECT_EQ(s.settings_preview, c.settings_preview) << c.mode;
        EXPECT_EQ(s.color, c.color) << c.mode;
        EXPECT_EQ(s.specific_file, c.specific) << c.mode;
    }
}

TEST(FCSettingsRules, FilterPutsMoviesFirstThenEveryPictureFormat) {
    EXPECT_STREQ(FCMovieOrPictureFilter("*.bmp;*.png", "Bitmap (*.bmp)|*.bmp|PNG (*.png)|*.png"),
                 "All supported types|*.swf;*.bmp;*.png|Adobe Flash (*.swf)|*.swf|"
                 "Bitmap (*.bmp)|*.bmp|PNG (*.png)|*.png|");
}
