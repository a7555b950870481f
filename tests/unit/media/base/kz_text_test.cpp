#include "media/base/kz_text.h"

#include <string>

#include <gtest/gtest.h>

#include "media/base/kz_memory.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// Windows-1252 0x80..0x9F as Windows converts them (the unassigned five map to themselves).
const char16_t k1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool AnsiIs1252() {
#if defined(_WIN32)
    return GetACP() == 1252;
#else
    return true;
#endif
}

TEST(KZText, Windows1252BothWaysForAll256Bytes) {
    if (!AnsiIs1252())
        GTEST_SKIP() << "the system's ANSI code page is not 1252";
    char bytes[256];
    for (int i = 0; i < 256; ++i)
        bytes[i] = char(i);
    char16_t wide[256];
    ASSERT_EQ(AnsiToUtf16(bytes, 256, wide, 256), 256);
    for (int i = 0; i < 256; ++i) {
        char16_t expected = i >= 0x80 && i < 0xA0 ? k1252High[i - 0x80] : char16_t(i);
        EXPECT_EQ(wide[i], expected) << "byte " << i;
    }
    char back[256];
    ASSERT_EQ(Utf16ToAnsi(wide, 256, back, 256), 256);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(static_cast<unsigned char>(back[i]), i) << "unit " << int(wide[i]);
    // A character the code page does not have.
    const char16_t cjk[] = {u'a', 0x4E2D, u'b'};
    char out[4] = {0};
    ASSERT_EQ(Utf16ToAnsi(cjk, 3, out, 4), 3);
    EXPECT_STREQ(out, "a?b");
}

TEST(KZText, SizesAndTerminators) {
    // -1: NUL-terminated, and the NUL counts.
    EXPECT_EQ(AnsiToUtf16("abc", -1, nullptr, 0), 4);
    char16_t wide[8];
    ASSERT_EQ(AnsiToUtf16("abc", -1, wide, 8), 4);
    EXPECT_EQ(wide[3], 0);
    EXPECT_EQ(AnsiToUtf16("abc", 3, wide, 2), 0); // too small
    EXPECT_EQ(AnsiToUtf16(nullptr, 3, wide, 8), 0);
    const char16_t text[] = u"\u20ACuro";
    EXPECT_EQ(Utf16ToAnsi(text, -1, nullptr, 0), 5);
    char out[8];
    ASSERT_EQ(Utf16ToAnsi(text, -1, out, 8), 5);
    if (AnsiIs1252()) {
        EXPECT_STREQ(out, "\x80uro");
    }
    EXPECT_EQ(Utf16ToAnsi(text, 4, out, 3), 0);

    int length = 0;
    char16_t* converted = AnsiToUtf16Alloc("caf\xE9", &length);
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(converted[4], 0);
    KZString again;
    ASSERT_TRUE(Utf16ToAnsiString(converted, -1, again));
    EXPECT_STREQ(again.c_str(), "caf\xE9");
    KZFree(converted);
}

TEST(KZText, Utf8ToAnsiTakesOnlyNamesTheCodePageHolds) {
    if (!AnsiIs1252())
        GTEST_SKIP() << "the system's ANSI code page is not 1252";
    struct Case {
        const char* utf8;
        const char* ansi; // null: refused
    };
    const Case cases[] = {
        {"", ""},
        {"plain.swf", "plain.swf"},
        {"Bilder f\xC3\xBCr D\xC3\xBCnen", "Bilder f\xFCr D\xFCnen"},
        {"\xE2\x82\xAC"
         "uro \xC5\x93",
         "\x80uro \x9C"}, // U+20AC, U+0153 sit in 0x80..0x9F
        {"\xC3\xBF", "\xFF"},
        {"\xE6\x97\xA5\xE6\x9C\xAC.kpj", nullptr}, // CJK
        {"\xC4\x81", nullptr},                     // U+0101: Windows' best fit would make it 'a'
        {"\xF0\x9F\x98\x80", nullptr},             // beyond the BMP
        {"D\xFCnen", nullptr},                     // Windows-1252 bytes are no UTF-8
        {"\xC3", nullptr},                         // cut short
        {"\x80", nullptr},                         // stray continuation byte
        {"\xC0\xAF", nullptr},                     // overlong '/'
        {"\xE0\x80\xAF", nullptr},                 // overlong '/' in three bytes
        {"\xED\xA0\x80", nullptr},                 // a surrogate
        {"\xF4\x90\x80\x80", nullptr},             // past U+10FFFF
    };
    for (const Case& c : cases) {
        KZString out("untouched");
        bool ok = KZUtf8ToAnsi(c.utf8, out);
        if (c.ansi) {
            EXPECT_TRUE(ok) << c.utf8;
            EXPECT_STREQ(out.c_str(), c.ansi) << c.utf8;
        } else {
            EXPECT_FALSE(ok) << c.utf8;
            EXPECT_STREQ(out.c_str(), "untouched") << c.utf8;
        }
    }
}

TEST(KZText, EveryAnsiByteGoesToUtf8AndBack) {
    if (!AnsiIs1252())
        GTEST_SKIP() << "the system's ANSI code page is not 1252";
    char all[256];
    for (int i = 1; i < 256; ++i)
        all[i - 1] = char(i);
    all[255] = 0;
    KZString utf8, back;
    ASSERT_TRUE(KZAnsiToUtf8(all, utf8));
    EXPECT_NE(utf8.Compare(all), 0);
    ASSERT_TRUE(KZUtf8ToAnsi(utf8, back));
    EXPECT_EQ(back.Compare(all), 0);
    KZString one;
    ASSERT_TRUE(KZAnsiToUtf8("D\xFCnen \x80", one));
    EXPECT_STREQ(one.c_str(), "D\xC3\xBCnen \xE2\x82\xAC");
}

TEST(KZText, Utf16ToUtf8JoinsPairsAndReplacesLoneSurrogates) {
    const char16_t pair[] = {u'a', 0xD83D, 0xDE00, u'b'};
    const char16_t lone[] = {0xDC00, u'x', 0xD800};
    KZString out;
    ASSERT_TRUE(KZUtf16ToUtf8(pair, 4, out));
    EXPECT_STREQ(out.c_str(), "a\xF0\x9F\x98\x80"
                              "b");
    ASSERT_TRUE(KZUtf16ToUtf8(lone, 3, out));
    EXPECT_STREQ(out.c_str(), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(KZText, HexDigits) {
    // The neighbours of each digit range in ASCII are not digits.
    const struct {
        char c;
        int value;
    } cases[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'f', 15},  {'A', 10},
                 {'F', 15}, {'/', -1}, {':', -1}, {'@', -1},  {'G', -1},
                 {'`', -1}, {'g', -1}, {' ', -1}, {'\0', -1}, {'\xC1', -1}};
    for (const auto& c : cases)
        EXPECT_EQ(KZHexDigit(c.c), c.value) << int((unsigned char)c.c);
}

} // namespace
