// The stub's command-line table: every way Windows, the launcher and the builder start it.
#include "runtime/core/qvrk_command_line.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct LineCase {
    const char* line;
    int test_flash;
    QvrkRunMode mode;
    QvrkParentSource parent;
    int32_t window;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << '[' << c.line << ']';
}

class QvrkCommandLineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(QvrkCommandLineTable, SelectsModeAndParent) {
    const LineCase& c = GetParam();
    QvrkCommand cmd;
    cmd.test_flash = 7;
    cmd.window = 99;
    qvrk_parse_command_line(c.line, &cmd);
    EXPECT_EQ(c.test_flash, cmd.test_flash);
    if (!c.test_flash) {
        EXPECT_EQ(c.mode, cmd.mode);
        EXPECT_EQ(c.parent, cmd.parent);
        EXPECT_EQ(c.window, cmd.window);
    }
}

const LineCase kLines[] = {
    // Full screen: anything after the letter is ignored.
    {"saver.scr /s", 0, QVRK_RUN_SCREENSAVER, QVRK_PARENT_NONE, 0},
    {"saver.scr -S", 0, QVRK_RUN_SCREENSAVER, QVRK_PARENT_NONE, 0},
    {"saver.scr /S:123", 0, QVRK_RUN_SCREENSAVER, QVRK_PARENT_NONE, 0},
    {"saver.scr s", 0, QVRK_RUN_SCREENSAVER, QVRK_PARENT_NONE, 0},
    // Preview in a given window.
    {"saver.scr /p 1234", 0, QVRK_RUN_PREVIEW, QVRK_PARENT_NUMBER, 1234},
    {"saver.scr /p:1234", 0, QVRK_RUN_PREVIEW, QVRK_PARENT_NUMBER, 1234},
    {"saver.scr /l1234", 0, QVRK_RUN_PREVIEW, QVRK_PARENT_NUMBER, 1234},
    {"saver.scr /P : :77", 0, QVRK_RUN_PREVIEW, QVRK_PARENT_NUMBER, 77},
    {"saver.scr /p", 0, QVRK_RUN_PREVIEW, QVRK_PARENT_NUMBER, 0},
    {"saver.scr /p:abc", 0, QVRK_RUN_PREVIEW, QVRK_PARENT_NUMBER, 0},
    // Configure: none, foreground or a number.
    {"saver.scr", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NONE, 0},
    {"saver.scr   ", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NONE, 0},
    {"saver.scr /c", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_FOREGROUND, 0},
    {"saver.scr /C:", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_FOREGROUND, 0},
    {"saver.scr /c:5678", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NUMBER, 5678},
    {"saver.scr /c 5678", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NUMBER, 5678},
    {"saver.scr c:x", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NUMBER, 0},
    // Password change.
    {"saver.scr /a 42", 0, QVRK_RUN_CHANGE_PASSWORD, QVRK_PARENT_NUMBER, 42},
    {"saver.scr -A:9", 0, QVRK_RUN_CHANGE_PASSWORD, QVRK_PARENT_NUMBER, 9},
    // testflash only when exactly that word, lower case, follows.
    {"saver.scr /testflash", 1, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"saver.scr -testflash", 1, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"saver.scr testflash", 1, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"saver.scr /TestFlash", 0, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"saver.scr /testflash x", 0, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"saver.scr /testflas", 0, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    // Unknown first letters select nothing.
    {"saver.scr /x", 0, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"saver.scr /", 0, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"saver.scr //s", 0, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    // Quoted program paths are skipped whole, unquoted ones end at the first space.
    {"\"C:\\My Savers\\a b.scr\" /p 12", 0, QVRK_RUN_PREVIEW, QVRK_PARENT_NUMBER, 12},
    {"\"C:\\My Savers\\a b.scr\"", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NONE, 0},
    {"\"C:\\My Savers\\a b.scr\"/s", 0, QVRK_RUN_SCREENSAVER, QVRK_PARENT_NONE, 0},
    {"\"C:\\unterminated /s", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NONE, 0},
    {"C:\\My Docs\\a.scr /s", 0, QVRK_RUN_NONE, QVRK_PARENT_NONE, 0},
    {"C:\\My Savers\\a.scr /p 5", 0, QVRK_RUN_SCREENSAVER, QVRK_PARENT_NONE, 0},
    {"C:\\My cfg\\a.scr", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NUMBER, 0},
    {"", 0, QVRK_RUN_CONFIGURE, QVRK_PARENT_NONE, 0},
};

INSTANTIATE_TEST_SUITE_P(Lines, QvrkCommandLineTable, ::testing::ValuesIn(kLines));

TEST(QvrkCommandLine, SkipsProgramNameAndFollowingSpacesOnly) {
    EXPECT_STREQ("/s x", qvrk_skip_program_name("a.scr   /s x", 0));
    EXPECT_STREQ("\t/s", qvrk_skip_program_name("a.scr \t/s", 0));
    EXPECT_STREQ("a.scr\t/s", qvrk_skip_program_name(" a.scr\t/s", 0));
    EXPECT_STREQ("/c", qvrk_skip_program_name("\"a b\"  /c", 0));
    EXPECT_STREQ("", qvrk_skip_program_name("\"a b", 0));
    // The launcher's rule: tabs count as blanks too.
    EXPECT_STREQ("/s x", qvrk_skip_program_name("a.scr \t /s x", 1));
    EXPECT_STREQ("b.scr /c", qvrk_skip_program_name("pomlet.exe\tb.scr /c", 1));
    EXPECT_STREQ("b.scr", qvrk_skip_program_name("\"p o\"\t\t b.scr", 1));
    EXPECT_STREQ("", qvrk_skip_program_name("\"p o b.scr", 1));
}

struct NumberCase {
    const char* text;
    int32_t value;
};

TEST(QvrkCommandLine, NumberParserTable) {
    const NumberCase cases[] = {
        {"1234", 1234},
        {"  \t\r56", 56},
        {"+7", 7},
        {"-8", -8},
        {"12ab34", 12},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+-3", 0},
        {"- 3", 0},
        {"\n5", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"4294967295", -1}, // wraps in 32 bits
        {"4294967296", 0},
        {"99999999999999999999", static_cast<int32_t>(1661992959u)},
        {"0000042", 42},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(c.value, qvrk_parse_number(c.text)) << '[' << c.text << ']';
}

} // namespace
