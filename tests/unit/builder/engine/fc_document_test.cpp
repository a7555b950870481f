#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_field_table.h"
#include "builder/engine/fc_platform.h"
#include "fc_test_support.h"
#include "media/base/kz_folder.h"

using namespace fctest;

namespace {

// The builder folder as the defaults see it during these tests.
class FCDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { FCSetBuilderFolder("/opt/scrkit"); }
};

int ThisYear() {
    std::time_t now = std::time(nullptr);
    return std::localtime(&now)->tm_year + 1900;
}

} // namespace

TEST_F(FCDocumentTest, FreshDocumentHoldsEveryDefault) {
    FCDocument d;
    struct Text {
        const char* name;
        const KZString& value;
        std::string expected;
    };
    // The builder folder's own separator, then the platform's for the part the defaults add.
    const char sep = KZPathSeparator();
    std::string sample = std::string("/opt/scrkit") + sep + "sample" + sep;
    const Text texts[] = {
        {"short_name", d.short_name, "Your Screensaver"},
        {"long_name", d.long_name, "Your Screensaver"},
        {"version", d.version, "1.0"},
        {"company_name", d.company_name, "Your Company"},
        {"company_url", d.company_url, placeholder_url},
        {"copyright", d.copyright,
         "Copyright \xA9 " + std::to_string(ThisYear()) + " Your Company"},
        {"install_dir", d.install_dir, "{pf}\\Your Company\\Your Screensaver"},
        {"setup_password", d.setup_password, ""},
        {"wizard_image_file", d.wizard_image_file, ""},
        {"wizard_small_image_file", d.wizard_small_image_file, ""},
        {"movie_file", d.movie_file, sample + "sample.swf"},
        {"settings_movie_file", d.settings_movie_file, ""},
        {"settings_message", d.settings_message, "<Insert your credits here>"},
        {"preview_file", d.preview_file, ""},
        {"license_file", d.license_file, sample + "YourScreensaverLicense.txt"},
        {"readme_file", d.readme_file, sample + "YourScreensaverReadme.txt"},
        {"menu_configure_caption", d.menu_configure_caption, "Configure..."},
        {"menu_launch_caption", d.menu_launch_caption, "Launch Screensaver"},
        {"menu_uninstall_caption", d.menu_uninstall_caption, "Uninstall Screensaver"},
        {"menu_readme_caption", d.menu_readme_caption, "View Readme"},
        {"menu_license_caption", d.menu_license_caption, "View License"},
        {"menu_url_caption", d.menu_url_caption, "Visit Homepage"},
        {"menu_url_target", d.menu_url_target, placeholder_url},
        {"menu_custom_caption", d.menu_custom_caption, "...custom action..."},
        {"menu_custom_target", d.menu_custom_target, ""},
        {"custom_icon_file", d.custom_icon_file, ""},
        {"menu_subfolder_name", d.menu_subfolder_name, ""},
        {"end_show_readme_message", d.end_show_readme_message, "View the README file"},
        {"end_open_display_properties_message", d.end_open_display_properties_message,
         "Configure and Preview Screensaver"},
        {"end_launch_target", d.end_launch_target, ""},
        {"end_launch_message", d.end_launch_message, ""},
        {"path_name", d.path_name, ""},
    };
    for (const Text& t : texts)
        EXPECT_EQ(std::string(t.value.c_str()), t.expected) << t.name;

    struct Flag {
        const char* name;
        bool value;
        bool expected;
    };
    const Flag flags[] = {
        {"custom_copyright", d.custom_copyright, false},
        {"custom_install_dir", d.custom_install_dir, false},
        {"setup_password_enabled", d.setup_password_enabled, false},
        {"disable_startup_prompt", d.disable_startup_prompt, false},
        {"disable_dir_page", d.disable_dir_page, false},
        {"disable_program_group_page", d.disable_program_group_page, false},
        {"disable_ready_page", d.disable_ready_page, false},
        {"disable_finished_page", d.disable_finished_page, false},
        {"custom_wizard_image", d.custom_wizard_image, false},
        {"custom_wizard_small_image", d.custom_wizard_small_image, false},
        {"mute_sound", d.mute_sound, false},
        {"user_can_mute", d.user_can_mute, true},
        {"user_can_set_quality", d.user_can_set_quality, true},
        {"custom_background", d.custom_background, false},
        {"wake_on_left_click", d.wake_on_left_click, true},
        {"wake_on_right_click", d.wake_on_right_click, true},
        {"wake_on_mouse_move", d.wake_on_mouse_move, true},
        {"wake_on_key", d.wake_on_key, true},
        {"hide_cursor", d.hide_cursor, true},
        {"compress_movies", d.compress_movies, true},
        {"scramble_movies", d.scramble_movies, false},
        {"settings_show_movie", d.settings_show_movie, false},
        {"show_license", d.show_license, false},
        {"install_license", d.install_license, true},
        {"install_readme", d.install_readme, false},
        {"install_additional_files", d.install_additional_files, false},
        {"embed_playback_files", d.embed_playback_files, false},
        {"menu_configure", d.menu_configure, true},
        {"menu_launch", d.menu_launch, true},
        {"menu_uninstall", d.menu_uninstall, true},
        {"menu_readme", d.menu_readme, true},
        {"menu_license", d.menu_license, true},
        {"menu_url", d.menu_url, false},
        {"menu_custom", d.menu_custom, false},
        {"custom_icon", d.custom_icon, false},
        {"menu_subfolder", d.menu_subfolder, false},
        {"end_show_readme", d.end_show_readme, true},
        {"end_show_readme_ask", d.end_show_readme_ask, true},
        {"end_open_display_properties", d.end_open_display_properties, true},
        {"end_open_display_properties_ask", d.end_open_display_properties_ask, false},
        {"end_launch", d.end_launch, false},
        {"end_launch_ask", d.end_launch_ask, false},
        {"modified", d.modified, false},
    };
    for (const Flag& f : flags)
        EXPECT_EQ(f.value, f.expected) << f.name;

    EXPECT_EQ(d.setup_language, 1);
    EXPECT_EQ(d.quality, 2);
    EXPECT_EQ(d.size_mode, 2);
    EXPECT_EQ(d.preview_mode, 0);
    EXPECT_EQ(d.end_launch_index, -1);
    const FCColor black{0, 0, 0, 1};
    EXPECT_EQ(d.background_color, black);
    EXPECT_EQ(d.movie_background_color, black);
    EXPECT_EQ(d.preview_color, black);
    EXPECT_EQ(d.additional_files.GetCount(), 0);
    EXPECT_EQ(d.playback_files.GetCount(), 0);
}

TEST_F(FCDocumentTest, PlaceholderUrlNamesAHostThatCannotExist) {
    std::string url = placeholder_url;
    EXPECT_EQ(url.rfind("http://", 0), 0u);
    EXPECT_NE(url.find(".invalid/"), std::string::npos);
}

TEST_F(FCDocumentTest, ResetRestoresDefaultsAndKeepsPathName) {
    FCDocument d;
    d.company_name = "Acme";
    d.long_name = "Stars";
    d.reset();
    EXPECT_EQ(d.install_dir, "{pf}\\Your Company\\Your Screensaver") << "built from the defaults";

    d.short_name = "Changed";
    d.quality = 0;
    d.wake_on_key = false;
    d.background_color = FCColor{1, 0, 0, 1};
    d.additional_files.Add(KZString("a.txt"));
    d.modified = true;
    d.path_name = "/projects/p.kpj";
    d.reset();
    EXPECT_EQ(d.short_name, "Your Screensaver");
    EXPECT_EQ(d.quality, 2);
    EXPECT_TRUE(d.wake_on_key);
    EXPECT_EQ(d.background_color, (FCColor{0, 0, 0, 1}));
    EXPECT_EQ(d.additional_files.GetCount(), 0);
    EXPECT_FALSE(d.modified);
    EXPECT_EQ(d.path_name, "/projects/p.kpj");
}

TEST_F(FCDocumentTest, BuilderFolderGetsTrailingSeparator) {
    FCSetBuilderFolder("/somewhere/else");
    EXPECT_EQ(std::string(FCGetBuilderFolder().c_str()),
              std::string("/somewhere/else") + KZPathSeparator());
    FCSetBuilderFolder("/ends/with/slash/");
    EXPECT_EQ(FCGetBuilderFolder(), "/ends/with/slash/");
    FCSetBuilderFolder("C:\\Tools\\");
    EXPECT_EQ(FCGetBuilderFolder(), "C:\\Tools\\");
}

TEST(FCPaths, FileNamePartIsAfterLastBackslashOrSlash) {
    struct Case {
        const char* path;
        const char* name;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\Movies\\intro.swf", "intro.swf", "C:\\Movies\\"},
        {"/home/a/intro.swf", "intro.swf", "/home/a/"},
        {"C:\\mixed/dir\\x.swf", "x.swf", "C:\\mixed/dir\\"},
        {"D:/win/slash\\y.swf", "y.swf", "D:/win/slash\\"},
        {"bare.swf", "bare.swf", ""},
        {"ends\\", "", "ends\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FCFileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(FCFolderPart(c.path), c.folder) << c.path;
    }
}

TEST(FCColorRef, ChannelsRoundAtOneHalfAndPack) {
    EXPECT_EQ(FCColorToColorRef(FCColor{1, 0, 0, 1}), 0x0000FFu);
    EXPECT_EQ(FCColorToColorRef(FCColor{0, 1, 0, 1}), 0x00FF00u);
    EXPECT_EQ(FCColorToColorRef(FCColor{0, 0, 1, 0}), 0xFF0000u) << "alpha is not stored";
    // 0.5 * 255 + 0.5 = 128.0 -> 128; 0.2 * 255 + 0.5 = 51.5 -> 51; 1/255 -> 1.
    EXPECT_EQ(FCColorToColorRef(FCColor{0.5f, 0.2f, 1.0f / 255, 1}),
              128u | (51u << 8) | (1u << 16));
    // Values outside 0 to 1 stay inside their byte.
    EXPECT_EQ(FCColorToColorRef(FCColor{2.0f, -1.0f, 0, 1}), 0x0000FFu);
}

TEST(FCRelocate, FindsMovedFilesBesideTheProjectWithEitherSeparator) {
    ScratchFolder dir("relocate");
    ASSERT_TRUE(WriteBytes(dir.file("movie.swf"), {1, 2, 3}));
    FCDocument d;
    d.path_name = (dir.path() + "project.kpj").c_str();

    struct Case {
        std::string stored;
        std::string expected;
    };
    const Case cases[] = {
        {"C:\\Old Place\\movie.swf", dir.file("movie.swf")},
        {"/old/place/movie.swf", dir.file("movie.swf")},
        {"C:/old\\place/movie.swf", dir.file("movie.swf")},
        {"C:\\Old Place\\gone.swf", "C:\\Old Place\\gone.swf"},
        {dir.file("movie.swf"), dir.file("movie.swf")},
        {"", ""},
    };
    for (const Case& c : cases) {
        KZString path(c.stored.c_str());
        d.relocate_file(path);
        EXPECT_EQ(std::string(path.c_str()), c.expected) << c.stored;
    }

    // A file that still opens where it was stays there, even when a namesake lies beside the
    // project; a project never saved has no folder to look in.
    ScratchFolder other("relocate_other");
    ASSERT_TRUE(WriteBytes(other.file("movie.swf"), {9}));
    KZString kept(other.file("movie.swf").c_str());
    d.relocate_file(kept);
    EXPECT_EQ(std::string(kept.c_str()), other.file("movie.swf"));
    d.path_name = "";
    KZString unsaved("C:\\Old Place\\movie.swf");
    d.relocate_file(unsaved);
    EXPECT_EQ(unsaved, "C:\\Old Place\\movie.swf");
}

TEST(FCProgramFolder, IsTheFolderOfTheRunningProgram) {
    KZString folder = FCProgramFolder();
    ASSERT_FALSE(folder.IsEmpty());
    char last = folder[folder.GetLength() - 1];
    EXPECT_TRUE(last == '\\' || last == '/');
#if defined(_WIN32)
    const char* program = "fc_engine_test.exe";
#else
    const char* program = "fc_engine_test";
#endif
    EXPECT_TRUE(Exists(std::string(folder.c_str()) + program)) << folder.c_str();
}

TEST_F(FCDocumentTest, FieldTableNamesEachMemberOnce) {
    // A name or a member listed twice would leave another member unread, unwritten and unshown.
    int count = 0;
    const FCField* fields = FCFields(&count);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i) {
        const FCField& f = fields[i];
        SCOPED_TRACE(f.name);
        EXPECT_EQ(FCFindField(f.name), &f);
        FCDocumentFields changed;
        switch (f.kind) {
        case FC_FIELD_STRING:
        case FC_FIELD_PATH:
            f.text_of(changed) = "changed";
            break;
        case FC_FIELD_BOOL:
            f.flag_of(changed) = !f.flag_of(changed);
            break;
        case FC_FIELD_INT:
            f.number_of(changed) = 12345;
            break;
        case FC_FIELD_COLOR:
            f.color_of(changed) = FCColor{0.5f, 0.5f, 0.5f, 0.5f};
            break;
        case FC_FIELD_LIST:
            f.list_of(changed).Add(KZString("changed"));
            break;
        }
        FCDocumentFields defaults;
        for (int j = 0; j < count; ++j)
            EXPECT_EQ(FCFieldEquals(fields[j], changed, defaults), i != j) << fields[j].name;
        FCDocumentFields copy(changed);
        EXPECT_TRUE(FCFieldEquals(f, copy, changed)) << "copied";
    }
    EXPECT_EQ(FCFindField("path_name"), nullptr) << "not stored";
    EXPECT_EQ(FCFindField(nullptr), nullptr);
}
