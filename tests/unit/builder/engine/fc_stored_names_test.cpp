#include <gtest/gtest.h>

#include <string>

#include "builder/engine/fc_stored_names.h"

namespace {

TEST(FCStoredNames, NamesWindowsTakesAsTheyAre) {
    const std::string longest(FC_STORED_NAME_MAX, 'a');
    for (const char* good : {"sample.swf", "D\xFCnen.swf", "a b.swf", "CONSOLE.swf", "con1.swf",
                             "x.con", "COM10.swf", ".hidden", longest.c_str()}) {
        SCOPED_TRACE(good);
        EXPECT_EQ(FCStoredNameProblem(good), nullptr);
    }
    const std::string too_long(FC_STORED_NAME_MAX + 1, 'a');
    const struct {
        std::string name;
        const char* says;
    } bad[] = {
        {"", "no file name"},
        {too_long, "100 characters"},
        {"what?.swf", "character"},
        {"a:b.swf", "character"},
        {"a*.swf", "character"},
        {"tab\t.swf", "character"},
        {"movie.swf.", "dot or a space"},
        {"movie.swf ", "dot or a space"},
        {"CON.swf", "device"},
        {"con", "device"},
        {"Lpt9.txt", "device"},
        {"NUL .swf", "device"},
        {"aux.tar.gz", "device"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.name);
        const char* problem = FCStoredNameProblem(b.name.c_str());
        ASSERT_NE(problem, nullptr);
        EXPECT_NE(std::string(problem).find(b.says), std::string::npos) << problem;
        // The file-name rule alone has no limit on the length.
        EXPECT_EQ(FCFileNameProblem(b.name.c_str()) == nullptr, b.name == too_long);
    }
}

TEST(FCStoredNames, OneNameWhenWindowsLetterCaseIsIgnored) {
    EXPECT_TRUE(FCSameStoredName("x.swf", "X.SWF"));
    EXPECT_TRUE(FCSameStoredName("\xC9t\xE9.swf", "\xE9T\xC9.SWF"));         // Été, éTÉ
    EXPECT_TRUE(FCSameStoredName("\x8Cuvre \x8A\xFF", "\x9Cuvre \x9A\x9F")); // Œuvre Šÿ, œuvre šŸ
    EXPECT_FALSE(FCSameStoredName("x.swf", "x.swf "));
    EXPECT_FALSE(FCSameStoredName("\xD7", "\xF7")); // × and ÷ are no letters
    EXPECT_FALSE(FCSameStoredName("a.swf", "b.swf"));
}

} // namespace
