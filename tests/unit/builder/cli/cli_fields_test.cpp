#include <gtest/gtest.h>

#include <string>

#include "builder/cli/cli_fields.h"

namespace {

TEST(CliFieldsTest, AssignmentsOfEveryKind) {
    FCDocumentFields fields;
    fields.set_defaults();
    struct Case {
        const char* assignment;
        const char* field;
        const char* text; // CliFieldText afterwards
    };
    const Case cases[] = {
        {"short_name=My Saver", "short_name", "My Saver"},
        {"short_name=", "short_name", ""},
        {"long_name=a=b", "long_name", "a=b"},
        {"compress_movies=false", "compress_movies", "false"},
        {"compress_movies=true", "compress_movies", "true"},
        {"quality=0", "quality", "0"},
        {"size_mode=3", "size_mode", "3"},
        {"setup_language=11", "setup_language", "11"},
        {"end_launch_index=-1", "end_launch_index", "-1"},
        {"background_color=#FF8000", "background_color", "#FF8000"},
        {"background_color=#0a0B0c", "background_color", "#0A0B0C"},
        {"playback_files=a.swf;b.swf", "playback_files", "a.swf;b.swf"},
        {"playback_files=", "playback_files", ""},
        {"playback_files=;a.swf;;b.swf;", "playback_files", "a.swf;b.swf"},
        {"playback_files=;;", "playback_files", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment);
        std::string error;
        ASSERT_TRUE(CliApplyAssignment(fields, c.assignment, &error)) << error;
        const FCField* field = FCFindField(c.field);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(CliFieldText(fields, *field), c.text);
    }
    EXPECT_EQ(fields.playback_files.GetCount(), 0);
#ifndef _WIN32
    // A POSIX terminal speaks UTF-8; the document holds Windows-1252. (A Windows console hands
    // over ANSI bytes, which are taken as they are.)
    std::string error;
    ASSERT_TRUE(CliApplyAssignment(fields, "company_name=Caf\xC3\xA9", &error));
    EXPECT_EQ(std::string(fields.company_name.c_str()), "Caf\xE9");
    EXPECT_EQ(CliFieldText(fields, *FCFindField("company_name")), "Caf\xC3\xA9");
#endif
    EXPECT_FLOAT_EQ(fields.background_color.alpha, 1.0f);
}

TEST(CliFieldsTest, BadAssignmentsChangeNothing) {
    const char* const bad[] = {
        "nosuch=1",
        "short_name",
        "=value",
        "compress_movies=1",
        "compress_movies=yes",
        "quality=",
        "quality=1.5",
        "quality=99999999999",
        "quality=12abc",
        "background_color=#FFF",
        "background_color=FF8000",
        "background_color=#GG0000",
#ifndef _WIN32
        "company_name=\xE2\x82",     // broken UTF-8
        "company_name=\xE4\xB8\xAD", // a character Windows-1252 lacks
        // Overlong forms of ';' and NUL, an encoded surrogate, a code point past U+10FFFF.
        "playback_files=a\xC0\xBB"
        "b",
        "company_name=a\xC0\x80"
        "b",
        "company_name=\xE0\x80\xBB",
        "company_name=\xED\xA0\x80",
        "company_name=\xF4\x90\x80\x80",
#endif
    };
    for (const char* assignment : bad) {
        SCOPED_TRACE(assignment);
        FCDocumentFields fields;
        fields.set_defaults();
        FCDocumentFields before(fields);
        std::string error;
        EXPECT_FALSE(CliApplyAssignment(fields, assignment, &error));
        EXPECT_FALSE(error.empty());
        int count = 0;
        const FCField* all = FCFields(&count);
        for (int i = 0; i < count; i++)
            EXPECT_EQ(CliFieldText(fields, all[i]), CliFieldText(before, all[i])) << all[i].name;
    }
}

TEST(CliFieldsTest, NumbersOutsideTheirRangeAreRefusedWithTheRange) {
    const struct {
        const char* assignment;
        const char* error;
    } cases[] = {
        {"quality=3", "bad value for quality: \"3\" (expected 0 to 2)"},
        {"quality=-7", "bad value for quality: \"-7\" (expected 0 to 2)"},
        {"size_mode=7", "bad value for size_mode: \"7\" (expected 0 to 3)"},
        {"preview_mode=9", "bad value for preview_mode: \"9\" (expected 0 to 3)"},
        {"setup_language=-3", "bad value for setup_language: \"-3\" (expected 1 to 11)"},
        {"setup_language=0", "bad value for setup_language: \"0\" (expected 1 to 11)"},
        {"end_launch_index=-2", "bad value for end_launch_index: \"-2\" (expected -1 to 999)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assignment);
        FCDocumentFields fields;
        fields.set_defaults();
        std::string error;
        EXPECT_FALSE(CliApplyAssignment(fields, c.assignment, &error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(CliFieldsTest, JsonValuesByKind) {
    FCDocumentFields fields;
    fields.set_defaults();
    std::string error;
    ASSERT_TRUE(CliApplyAssignment(fields, "short_name=say \"hi\"\\", &error));
    ASSERT_TRUE(CliApplyAssignment(fields, "additional_files=x;y", &error));
    EXPECT_EQ(CliFieldJson(fields, *FCFindField("short_name")), "\"say \\\"hi\\\"\\\\\"");
    EXPECT_EQ(CliFieldJson(fields, *FCFindField("additional_files")), "[\"x\", \"y\"]");
    EXPECT_EQ(CliFieldJson(fields, *FCFindField("quality")), "2");
    EXPECT_EQ(CliFieldJson(fields, *FCFindField("hide_cursor")), "true");
}

} // namespace
