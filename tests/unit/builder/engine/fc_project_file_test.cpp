#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <string>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_field_table.h"
#include "builder/engine/fc_project_file.h"
#include "media/base/kz_platform.h"
#include "media/base/kz_reporter.h"
#include "fc_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace fctest;

namespace {

// Every stored field compared by name; `skip_movie_background` for loads that re-read it.
void ExpectSameFields(const FCDocumentFields& a, const FCDocumentFields& b,
                      bool skip_movie_background = false) {
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i) {
        if (skip_movie_background && std::string(fields[i].name) == "movie_background_color")
            continue;
        EXPECT_TRUE(FCFieldEquals(fields[i], a, b)) << fields[i].name;
    }
}

// A document in which every field differs from its default and from its neighbours, so that a
// field read into the wrong place shows. Paths name nothing that exists.
void FillDistinct(FCDocumentFields& d) {
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i) {
        const FCField& f = fields[i];
        std::string tag = "/nowhere/" + std::string(f.name) + std::to_string(i);
        switch (f.kind) {
        case FC_FIELD_STRING:
        case FC_FIELD_PATH:
            f.text_of(d) = tag.c_str();
            break;
        case FC_FIELD_BOOL:
            f.flag_of(d) = !f.default_flag;
            break;
        case FC_FIELD_INT:
            // 3 to 6: none is a default, and setup_language keeps them.
            f.number_of(d) = 3 + i % 4;
            break;
        case FC_FIELD_COLOR:
            f.color_of(d) = FCColor{i / 100.0f, 0.5f, 0.75f, 0.125f};
            break;
        case FC_FIELD_LIST:
            f.list_of(d).RemoveAll();
            f.list_of(d).Add(KZString((tag + "a").c_str()));
            f.list_of(d).Add(KZString((tag + "b").c_str()));
            break;
        }
    }
}

// Writes a record of any version in the stored order, independently of the engine's writer.
struct RecordBuilder {
    Bytes b;
    void Str(const KZString& s) {
        b.i32(s.GetLength());
        if (s.GetLength() > 0)
            b.u8(0).raw(std::string(s.c_str(), size_t(s.GetLength())));
    }
    void Bool(bool v) { b.u8(v ? 1 : 0); }
    void Col(const FCColor& c) { b.f32(c.red).f32(c.green).f32(c.blue).f32(c.alpha); }
    void List(const FCStringList& l) {
        b.i32(l.GetCount());
        for (int i = 0; i < l.GetCount(); ++i)
            Str(l[i]);
    }
};

// `additional_count` replaces the stored count of additional_files when not -2.
std::vector<uint8_t> Record(int v, const FCDocumentFields& d, int32_t additional_count = -2) {
    RecordBuilder r;
    r.b.i32(v);
    r.Str(d.short_name);
    r.Str(d.long_name);
    r.Str(d.version);
    r.Str(d.company_name);
    r.Str(d.company_url);
    r.Bool(d.custom_copyright);
    if (v >= 4)
        r.Bool(d.menu_subfolder);
    if (v >= 5)
        r.Str(d.menu_subfolder_name);
    r.Str(d.copyright);
    r.Bool(d.custom_install_dir);
    r.Str(d.install_dir);
    r.Bool(d.setup_password_enabled);
    r.Str(d.setup_password);
    r.b.i32(d.setup_language);
    r.Bool(d.custom_wizard_image);
    r.Str(d.wizard_image_file);
    r.Bool(d.custom_wizard_small_image);
    r.Str(d.wizard_small_image_file);
    r.Str(d.movie_file);
    r.Bool(d.compress_movies);
    r.Bool(d.scramble_movies);
    r.Bool(d.mute_sound);
    r.Bool(d.user_can_mute);
    r.b.i32(d.quality);
    r.Bool(d.user_can_set_quality);
    r.Bool(d.custom_background);
    r.Col(d.background_color);
    r.b.i32(d.size_mode);
    r.Bool(d.wake_on_left_click);
    r.Bool(d.wake_on_right_click);
    r.Bool(d.wake_on_mouse_move);
    r.Bool(d.wake_on_key);
    r.Bool(d.hide_cursor);
    r.Str(d.settings_movie_file);
    r.Str(d.settings_message);
    r.Bool(d.settings_show_movie);
    r.b.i32(d.preview_mode);
    r.Str(d.preview_file);
    r.Col(d.preview_color);
    r.Bool(d.show_license);
    r.Str(d.license_file);
    r.Bool(d.install_license);
    r.Bool(d.install_readme);
    r.Str(d.readme_file);
    r.Bool(d.install_additional_files);
    if (additional_count == -2)
        r.List(d.additional_files);
    else
        r.b.i32(additional_count);
    if (v >= 4) {
        r.Bool(d.embed_playback_files);
        r.List(d.playback_files);
    }
    r.Bool(d.menu_configure);
    r.Str(d.menu_configure_caption);
    r.Bool(d.menu_launch);
    r.Str(d.menu_launch_caption);
    r.Bool(d.menu_uninstall);
    r.Str(d.menu_uninstall_caption);
    r.Bool(d.menu_readme);
    r.Str(d.menu_readme_caption);
    r.Bool(d.menu_license);
    r.Str(d.menu_license_caption);
    r.Bool(d.menu_url);
    r.Str(d.menu_url_caption);
    r.Str(d.menu_url_target);
    r.Bool(d.menu_custom);
    r.Str(d.menu_custom_caption);
    r.Str(d.menu_custom_target);
    r.Bool(d.end_show_readme);
    r.Bool(d.end_show_readme_ask);
    r.Str(d.end_show_readme_message);
    r.Bool(d.end_open_display_properties);
    r.Bool(d.end_open_display_properties_ask);
    r.Str(d.end_open_display_properties_message);
    r.Bool(d.end_launch);
    r.b.i32(d.end_launch_index);
    r.Str(d.end_launch_target);
    r.Bool(d.end_launch_ask);
    r.Str(d.end_launch_message);
    r.Col(d.movie_background_color);
    if (v >= 2) {
        r.Bool(d.custom_icon);
        r.Str(d.custom_icon_file);
    }
    if (v >= 3) {
        r.Bool(d.disable_startup_prompt);
        r.Bool(d.disable_dir_page);
        r.Bool(d.disable_program_group_page);
        r.Bool(d.disable_ready_page);
        r.Bool(d.disable_finished_page);
    }
    return r.b.data;
}

std::vector<uint8_t> ProjectFile(const std::vector<uint8_t>& record, int32_t file_version = 2,
                                 int64_t chunk_length = -1) {
    Bytes f;
    f.u32(0x54864146u).u32(0x48921245u).i32(file_version).i32(1);
    f.i32(int32_t(chunk_length >= 0 ? chunk_length : int64_t(record.size())));
    return f.raw(record).data;
}

class FCProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override { FCSetBuilderFolder("/opt/scrkit"); }
    ScratchFolder dir{"project_file"};
};

} // namespace

TEST_F(FCProjectFileTest, SaveThenLoadGivesBackEveryField) {
    FCDocument saved;
    FillDistinct(saved);
    saved.modified = true;
    std::string path = dir.file("p.kpj");
    ASSERT_TRUE(saved.save(path.c_str()));
    EXPECT_FALSE(saved.modified);

    FCDocument loaded;
    loaded.modified = true;
    ASSERT_EQ(loaded.load(path.c_str()), FC_LOAD_OK);
    EXPECT_FALSE(loaded.modified);
    // The movie is not there, so the stored background colour stays.
    ExpectSameFields(saved, loaded);

    // Written as file version 2 and record version 5, every string in ANSI.
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(bytes[0], 0x46);
    EXPECT_EQ(bytes[3], 0x54);
    EXPECT_EQ(bytes[4], 0x45);
    EXPECT_EQ(bytes[7], 0x48);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes[12], 1);
    EXPECT_EQ(bytes[20], 5);
    EXPECT_EQ(bytes, ProjectFile(Record(5, saved)));
}

TEST_F(FCProjectFileTest, DefaultDocumentRoundTripsWithEmptyStrings) {
    FCDocument saved;
    std::string path = dir.file("defaults.kpj");
    ASSERT_TRUE(saved.save(path.c_str()));
    FCDocument loaded;
    FillDistinct(loaded);
    ASSERT_EQ(loaded.load(path.c_str()), FC_LOAD_OK);
    ExpectSameFields(saved, loaded);
}

TEST_F(FCProjectFileTest, EveryRecordVersionOpensWithDefaultsForWhatItLacks) {
    FCDocument source;
    FillDistinct(source);
    for (int v = 1; v <= 5; ++v) {
        SCOPED_TRACE("record version " + std::to_string(v));
        for (int file_version : {1, 2}) {
            std::string path = dir.file("v.kpj");
            ASSERT_TRUE(WriteBytes(path, ProjectFile(Record(v, source), file_version)));
            FCDocument loaded;
            ASSERT_EQ(loaded.load(path.c_str()), FC_LOAD_OK);

            FCDocument expected;
            FillDistinct(expected);
            FCDocument defaults;
            if (v < 5)
                expected.menu_subfolder_name =
                    v == 4 ? source.company_name : defaults.menu_subfolder_name;
            if (v < 4) {
                expected.menu_subfolder = defaults.menu_subfolder;
                expected.embed_playback_files = defaults.embed_playback_files;
                expected.playback_files.RemoveAll();
            }
            if (v < 3) {
                expected.disable_startup_prompt = expected.disable_dir_page =
                    expected.disable_program_group_page = expected.disable_ready_page =
                        expected.disable_finished_page = false;
            }
            if (v < 2) {
                expected.custom_icon = false;
                expected.custom_icon_file = "";
            }
            ExpectSameFields(expected, loaded);
        }
    }
}

TEST_F(FCProjectFileTest, SetupLanguageIsNormalised) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 1}, {-3, 1}, {1, 1},  {2, 2},   {6, 6}, {7, 7},
                                                 {8, 7}, {9, 7},  {10, 1}, {11, 11}, {12, 1}};
    for (auto c : cases) {
        FCDocument source;
        source.setup_language = c.first;
        std::string path = dir.file("lang.kpj");
        ASSERT_TRUE(WriteBytes(path, ProjectFile(Record(5, source))));
        FCDocument loaded;
        ASSERT_EQ(loaded.load(path.c_str()), FC_LOAD_OK);
        EXPECT_EQ(loaded.setup_language, c.second) << "stored " << c.first;
    }
}

TEST_F(FCProjectFileTest, Utf16StringOpensAsAnsi) {
    FCDocument source;
    std::vector<uint8_t> record = Record(5, source);
    // Replace short_name ("Your Screensaver", right after the version) by "Caf\u00e9 \u20ac" in
    // UTF-16.
    size_t at = 4;
    size_t old_size = 4 + 1 + 16;
    Bytes s;
    const char16_t text[] = u"Caf\u00e9 \u20ac";
    s.i32(6).u8(1);
    for (int i = 0; i < 6; ++i)
        s.u16(uint16_t(text[i]));
    record.erase(record.begin() + long(at), record.begin() + long(at + old_size));
    record.insert(record.begin() + long(at), s.data.begin(), s.data.end());
    std::string path = dir.file("utf16.kpj");
    ASSERT_TRUE(WriteBytes(path, ProjectFile(record)));
    FCDocument loaded;
    ASSERT_EQ(loaded.load(path.c_str()), FC_LOAD_OK);
    EXPECT_EQ(loaded.short_name, "Caf\xE9 \x80") << "Windows-1252 bytes";
    EXPECT_EQ(loaded.long_name, "Your Screensaver");
}

TEST_F(FCProjectFileTest, FailuresGiveTheirResultAndLeaveTheDocumentAlone) {
    FCDocument source;
    std::vector<uint8_t> good = ProjectFile(Record(5, source));
    auto patched = [&](size_t offset, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> f = good;
        std::copy(bytes.begin(), bytes.end(), f.begin() + long(offset));
        return f;
    };
    auto cut = [&](size_t size) {
        return std::vector<uint8_t>(good.begin(), good.begin() + long(size));
    };
    // short_name's length sits at offset 24, right after the record version.
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int result;
    };
    const Case cases[] = {
        {"empty file", {}, FC_LOAD_NOT_PROJECT},
        {"first magic", patched(0, {0x47}), FC_LOAD_NOT_PROJECT},
        {"second magic", patched(7, {0x49}), FC_LOAD_NOT_PROJECT},
        {"file version 3", patched(8, {3}), FC_LOAD_NEWER_VERSION},
        {"file version 0", patched(8, {0}), FC_LOAD_NEWER_VERSION},
        {"no file version", cut(10), FC_LOAD_NEWER_VERSION},
        {"no chunk header", cut(14), FC_LOAD_BAD_FORMAT},
        {"negative chunk length", patched(16, {0xFF, 0xFF, 0xFF, 0xFF}), FC_LOAD_BAD_FORMAT},
        {"chunk shorter than its length", cut(good.size() - 1), FC_LOAD_BAD_FORMAT},
        {"record version 6", patched(20, {6}), FC_LOAD_BAD_FORMAT},
        {"record version 0", patched(20, {0}), FC_LOAD_BAD_FORMAT},
        {"negative string length", patched(24, {0xFE, 0xFF, 0xFF, 0xFF}), FC_LOAD_BAD_FORMAT},
        {"string length 10,000,000", patched(24, {0x80, 0x96, 0x98, 0x00}), FC_LOAD_BAD_FORMAT},
        {"string past the chunk", patched(24, {0x00, 0x00, 0x01, 0x00}), FC_LOAD_BAD_FORMAT},
        {"record cut in a field",
         ProjectFile(std::vector<uint8_t>(good.begin() + 20, good.end() - 3)), FC_LOAD_BAD_FORMAT},
        {"only the record version", ProjectFile({5, 0, 0, 0}), FC_LOAD_BAD_FORMAT},
    };
    for (const Case& c : cases) {
        std::string path = dir.file("bad.kpj");
        ASSERT_TRUE(WriteBytes(path, c.file));
        FCDocument d;
        FillDistinct(d);
        d.modified = true;
        EXPECT_EQ(d.load(path.c_str()), c.result) << c.name;
        FCDocument untouched;
        FillDistinct(untouched);
        ExpectSameFields(untouched, d);
        EXPECT_TRUE(d.modified) << c.name;
    }
    FCDocument d;
    EXPECT_EQ(d.load(dir.file("missing.kpj").c_str()), FC_LOAD_CANNOT_OPEN);
}

TEST_F(FCProjectFileTest, ListCountsOutsideTheTrustedRangeReadAsEmpty) {
    // Counts above 1000 come from damaged files; the strings behind are skipped so that the
    // fields after the list still read in step.
    for (int32_t count : {-1, 1001}) {
        FCDocument source;
        for (int i = 0; i < std::max(count, 0); ++i)
            source.additional_files.Add(KZString("x"));
        std::vector<uint8_t> record = Record(5, source, count < 0 ? count : -2);
        std::string path = dir.file("list.kpj");
        ASSERT_TRUE(WriteBytes(path, ProjectFile(record)));
        FCDocument loaded;
        int result = loaded.load(path.c_str());
        EXPECT_EQ(loaded.additional_files.GetCount(), 0) << count;
        if (count > 0) {
            ASSERT_EQ(result, FC_LOAD_OK);
            EXPECT_EQ(loaded.menu_configure_caption, "Configure...");
        }
    }
    FCDocument thousand;
    for (int i = 0; i < 1000; ++i)
        thousand.playback_files.Add(KZString("p"));
    std::string path = dir.file("thousand.kpj");
    ASSERT_TRUE(thousand.save(path.c_str()));
    FCDocument loaded;
    ASSERT_EQ(loaded.load(path.c_str()), FC_LOAD_OK);
    EXPECT_EQ(loaded.playback_files.GetCount(), 1000);
}

TEST_F(FCProjectFileTest, PathsFollowAProjectMovedWithItsFiles) {
    ScratchFolder old_place("project_old");
    ScratchFolder new_place("project_new");
    std::vector<uint8_t> movie = SwfFile(
        false, 6,
        SwfBody(0, 200, 0, 200, 256, 1,
                {{9, {0x33, 0x66, 0x99}}, {2, std::vector<uint8_t>(8, 0)}, {1, {}}, {0, {}}}));
    const char* names[] = {"main.swf", "lic.txt", "readme.txt", "extra.dat",    "play.swf",
                           "icon.ico", "wiz.bmp", "small.bmp",  "settings.swf", "preview.png"};
    for (const char* n : names)
        ASSERT_TRUE(WriteBytes(old_place.file(n), movie));

    FCDocument d;
    d.movie_file = old_place.file("main.swf").c_str();
    d.license_file = old_place.file("lic.txt").c_str();
    d.readme_file = old_place.file("readme.txt").c_str();
    d.additional_files.Add(KZString(old_place.file("extra.dat").c_str()));
    d.playback_files.Add(KZString(old_place.file("play.swf").c_str()));
    d.custom_icon_file = old_place.file("icon.ico").c_str();
    d.wizard_image_file = old_place.file("wiz.bmp").c_str();
    d.wizard_small_image_file = old_place.file("small.bmp").c_str();
    d.settings_movie_file = old_place.file("settings.swf").c_str();
    d.preview_file = old_place.file("preview.png").c_str();
    d.setup_password = old_place.file("main.swf").c_str(); // not a path: never relocated
    ASSERT_TRUE(d.save(old_place.file("p.kpj").c_str()));
    for (const char* n : names)
        std::rename(old_place.file(n).c_str(), new_place.file(n).c_str());
    std::rename(old_place.file("p.kpj").c_str(), new_place.file("p.kpj").c_str());

    FCDocument opened;
    KZRecordingReporter reporter;
    ASSERT_TRUE(opened.open_project(new_place.file("p.kpj").c_str(), reporter));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(reporter.wait_begins, 1);
    EXPECT_EQ(reporter.wait_depth, 0);
    EXPECT_EQ(std::string(opened.path_name.c_str()), new_place.file("p.kpj"));
    for (const KZString* field :
         {&opened.movie_file, &opened.license_file, &opened.readme_file, &opened.custom_icon_file,
          &opened.wizard_image_file, &opened.wizard_small_image_file, &opened.settings_movie_file,
          &opened.preview_file, &opened.additional_files[0], &opened.playback_files[0]})
        EXPECT_EQ(std::string(field->c_str()).rfind(new_place.path(), 0), 0u) << field->c_str();
    EXPECT_EQ(std::string(opened.setup_password.c_str()), old_place.file("main.swf"));
    // The movie's own background was read again from the moved movie.
    EXPECT_EQ(opened.movie_background_color,
              (FCColor{0x33 / 255.0f, 0x66 / 255.0f, 0x99 / 255.0f, 1}));
}

TEST_F(FCProjectFileTest, RelativePathsAreTakenFromTheProjectsFolderAndWrittenBackAsTheyWere) {
    ScratchFolder place("project_relative");
    ASSERT_TRUE(std::filesystem::create_directory(place.file("sub")));
    std::vector<uint8_t> movie = SwfFile(false, 6, SwfBody(0, 200, 0, 200, 256, 1, {}));
    ASSERT_TRUE(WriteBytes(place.file("sub/main.swf"), movie));
    ASSERT_TRUE(WriteBytes(place.file("play.swf"), movie));
    std::string project = place.file("p.kpj");
    FCDocument written;
    written.movie_file = "sub/main.swf";
    written.playback_files.Add(KZString("play.swf"));
    written.readme_file = "gone.txt"; // names nothing, still the project's folder
    written.license_file = place.file("play.swf").c_str(); // written in full: stays so
    ASSERT_TRUE(written.save(project.c_str()));
    std::vector<uint8_t> bytes = ReadBytes(project);

    // Opened from another current folder, by a relative name of the project too.
    std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(place.path() + "sub");
    FCDocument opened;
    KZRecordingReporter reporter;
    bool ok = opened.open_project("../p.kpj", reporter);
    std::filesystem::current_path(current);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(KZSameFile(opened.movie_file, place.file("sub/main.swf").c_str()));
    EXPECT_TRUE(KZSameFile(opened.playback_files[0], place.file("play.swf").c_str()));
    EXPECT_STREQ(FCFileNamePart(opened.readme_file).c_str(), "gone.txt");
    EXPECT_TRUE(KZSameFile(FCFolderPart(opened.readme_file), place.path().c_str()));
    EXPECT_EQ(std::string(opened.license_file.c_str()), place.file("play.swf"));
    EXPECT_NE(opened.movie_background_color.alpha, 0.0f); // read from the movie found there

    // Saved where it was, what did not change is written as the author wrote it.
    ASSERT_TRUE(opened.save(project.c_str()));
    EXPECT_EQ(ReadBytes(project), bytes);
    opened.readme_file = "other.txt";
    ASSERT_TRUE(opened.save(project.c_str()));
    FCDocumentFields stored;
    std::vector<uint8_t> changed = ReadBytes(project);
    ASSERT_EQ(FCReadProjectFile(changed.data(), int(changed.size()), stored, nullptr), FC_LOAD_OK);
    EXPECT_STREQ(stored.movie_file.c_str(), "sub/main.swf");
    EXPECT_STREQ(stored.playback_files[0].c_str(), "play.swf");
    EXPECT_STREQ(stored.readme_file.c_str(), "other.txt");
    // Saved elsewhere, the relative forms would name other files: the full paths go instead.
    ScratchFolder elsewhere("project_relative_elsewhere");
    ASSERT_TRUE(opened.save(elsewhere.file("p.kpj").c_str()));
    FCDocument copy;
    ASSERT_EQ(copy.load(elsewhere.file("p.kpj").c_str()), FC_LOAD_OK);
    EXPECT_TRUE(KZSameFile(copy.movie_file, place.file("sub/main.swf").c_str()));
    EXPECT_FALSE(FCIsRelativePath(copy.movie_file));
}

TEST_F(FCProjectFileTest, OpenProjectReportsEachFailureAndEndsAsFreshProject) {
    FCDocument source;
    std::vector<uint8_t> good = ProjectFile(Record(5, source));
    std::vector<uint8_t> newer = good;
    newer[8] = 3;
    std::vector<uint8_t> bad = good;
    bad[20] = 6;
    std::vector<uint8_t> alien = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'};
    ASSERT_TRUE(WriteBytes(dir.file("newer.kpj"), newer));
    ASSERT_TRUE(WriteBytes(dir.file("bad.kpj"), bad));
    ASSERT_TRUE(WriteBytes(dir.file("alien.kpj"), alien));
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("missing.kpj"), "Unable to open file"},
        {dir.file("alien.kpj"), "Not a KPJ file"},
        {dir.file("bad.kpj"), "Bad KPJ format"},
        {dir.file("newer.kpj"), "A newer version of the application is needed to open this file"},
    };
    for (const auto& c : cases) {
        FCDocument d;
        FillDistinct(d);
        d.path_name = "/projects/previous.kpj";
        d.modified = true;
        KZRecordingReporter reporter;
        EXPECT_FALSE(d.open_project(c.first.c_str(), reporter));
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0], "An error occurred when reading KPJ file:\n" + c.second);
        EXPECT_EQ(reporter.types[0], unsigned(KZ_MB_OK | KZ_MB_ICONERROR));
        EXPECT_EQ(reporter.wait_begins, 1);
        EXPECT_EQ(reporter.wait_depth, 0);
        FCDocument fresh;
        ExpectSameFields(fresh, d);
        EXPECT_FALSE(d.modified);
        EXPECT_EQ(d.path_name, "") << "a fresh project has no file";

        // The document is usable afterwards: it saves and opens again.
        ASSERT_TRUE(d.save(dir.file("after.kpj").c_str()));
        EXPECT_TRUE(d.open_project(dir.file("after.kpj").c_str(), reporter));
    }
}

TEST_F(FCProjectFileTest, WhatTheReaderWouldRefuseIsNeverWritten) {
    std::string path = dir.file("limits.kpj");
    FCDocument old;
    old.short_name = "Old";
    ASSERT_TRUE(old.save(path.c_str()));
    std::vector<uint8_t> before = ReadBytes(path);
    const std::string longest(FC_KPJ_MAX_STRING - 1, 'x');
    auto fill = [](FCStringList& list, int count) {
        list.RemoveAll();
        for (int i = 0; i < count; i++)
            list.Add(KZString(("m" + std::to_string(i) + ".swf").c_str()));
    };
    const struct {
        const char* what;
        std::function<void(FCDocument&)> change;
        std::string why;
    } cases[] = {
        {"a list past 1000", [&](FCDocument& d) { fill(d.playback_files, 1001); },
         "playback_files has 1001 entries; a project file holds at most 1000"},
        {"another list", [&](FCDocument& d) { fill(d.additional_files, 5000); },
         "additional_files has 5000 entries; a project file holds at most 1000"},
        {"a text of 10,000,000 bytes",
         [&](FCDocument& d) { d.settings_message = (longest + "x").c_str(); },
         "settings_message is 10000000 bytes long; a project file holds texts under 10000000 "
         "bytes"},
        {"a list entry of 10,000,000 bytes",
         [&](FCDocument& d) {
             fill(d.playback_files, 2);
             d.playback_files[1] = (longest + "x").c_str();
         },
         "entry 2 of playback_files is 10000000 bytes long; a project file holds texts under "
         "10000000 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FCDocument d;
        c.change(d);
        KZString why;
        EXPECT_FALSE(d.save(path.c_str(), &why));
        EXPECT_EQ(std::string(why.c_str()), c.why);
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_FALSE(Exists(path + ".saving"));
        KZMemoryStream out;
        EXPECT_FALSE(FCWriteProjectFile(d, out));
        EXPECT_EQ(out.GetLength(), 0);
    }

    // Right at the limits the file is written and reads back whole.
    FCDocument full;
    fill(full.playback_files, FC_KPJ_MAX_LIST);
    full.settings_message = longest.c_str();
    ASSERT_TRUE(full.save(path.c_str()));
    FCDocument back;
    ASSERT_EQ(back.load(path.c_str()), FC_LOAD_OK);
    EXPECT_EQ(back.playback_files.GetCount(), FC_KPJ_MAX_LIST);
    EXPECT_STREQ(back.playback_files[FC_KPJ_MAX_LIST - 1].c_str(), "m999.swf");
    EXPECT_EQ(back.settings_message.GetLength(), FC_KPJ_MAX_STRING - 1);
}

TEST_F(FCProjectFileTest, SavingKeepsWhatTheFileWas) {
    namespace fs = std::filesystem;
    std::string path = dir.file("kept.kpj");
    FCDocument d;
    d.setup_password = "secret";
    ASSERT_TRUE(d.save(path.c_str()));
    d.short_name = "Changed";

    // A read-only project is not rewritten; the save says why.
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::vector<uint8_t> before = ReadBytes(path);
    KZString why;
    EXPECT_FALSE(d.save(path.c_str(), &why));
    EXPECT_STREQ(why.c_str(), "the file is read-only");
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_FALSE(Exists(path + ".saving"));
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);

#ifdef _WIN32
    // Its attributes stay.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(d.save(path.c_str()));
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN,
              DWORD(FILE_ATTRIBUTE_HIDDEN));
#else
    // Its permissions stay: one holding the setup password may be its owner's alone.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(d.save(path.c_str()));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // Through a link, the file it leads to is saved and the link stays a link.
    std::string link = dir.file("link.kpj");
    fs::create_symlink(path, link);
    d.short_name = "Through the link";
    ASSERT_TRUE(d.save(link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    FCDocument back;
    ASSERT_EQ(back.load(path.c_str()), FC_LOAD_OK);
    EXPECT_STREQ(back.short_name.c_str(), "Through the link");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(Exists(link + ".saving"));
    EXPECT_FALSE(Exists(path + ".saving"));
#endif
}

TEST_F(FCProjectFileTest, FailedSaveKeepsThePreviousProject) {
    FCDocument first;
    first.short_name = "First";
    std::string path = dir.file("keep.kpj");
    ASSERT_TRUE(first.save(path.c_str()));
    std::vector<uint8_t> before = ReadBytes(path);

    // What is where the file beside would go (a leftover of a crash, someone else's file or
    // folder) is left alone, and the save writes beside it under another name.
    std::string blocker = path + ".saving";
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    std::string leftover = path + ".2.saving";
    ASSERT_TRUE(WriteBytes(leftover, {'o', 'l', 'd'}));
    FCDocument second;
    second.short_name = "Second";
    second.modified = true;
    ASSERT_TRUE(second.save(path.c_str()));
    EXPECT_FALSE(second.modified);
    FCDocument reread;
    ASSERT_EQ(reread.load(path.c_str()), FC_LOAD_OK);
    EXPECT_STREQ(reread.short_name.c_str(), "Second");
    EXPECT_TRUE(std::filesystem::is_directory(blocker));
    EXPECT_EQ(ReadBytes(leftover), std::vector<uint8_t>({'o', 'l', 'd'}));
    EXPECT_FALSE(Exists(path + ".3.saving"));
    std::filesystem::remove(blocker);
    std::filesystem::remove(leftover);
    ASSERT_TRUE(first.save(path.c_str()));
    second.modified = true;

    // Saving into a folder that does not exist fails without leaving anything.
    EXPECT_FALSE(second.save(dir.file("no/such/folder.kpj").c_str()));
    EXPECT_TRUE(second.modified);
    EXPECT_EQ(ReadBytes(path), before);
    // A destination that cannot be replaced (a folder) fails after the write beside, which is
    // then removed again.
    ScratchFolder occupied("project_occupied");
    ASSERT_TRUE(WriteBytes(occupied.file("inside"), {1}));
    std::string folder_path = occupied.path().substr(0, occupied.path().size() - 1);
    EXPECT_FALSE(second.save(folder_path.c_str()));
    EXPECT_FALSE(Exists(folder_path + ".saving"));
    EXPECT_TRUE(Exists(occupied.file("inside")));
    // And a good save replaces the old file and leaves no temporary beside it.
    ASSERT_TRUE(second.save(path.c_str()));
    EXPECT_NE(ReadBytes(path), before);
    EXPECT_FALSE(Exists(blocker));
}
