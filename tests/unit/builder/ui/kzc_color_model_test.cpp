#include <gtest/gtest.h>

#include <string>

#include "builder/ui/controls/kzc_color_model.h"

namespace {

std::string Tip(KZCColor c) {
    char buffer[32];
    KZCFormatColorTip(c, buffer, sizeof buffer);
    return buffer;
}

} // namespace

TEST(KZCColorModel, ColorValuesPutRedInTheLowByte) {
    KZCColor c = KZCMakeColor(0x1A, 0x2B, 0x3C);
    EXPECT_EQ(c, 0x3C2B1Au);
    EXPECT_EQ(KZCRed(c), 0x1A);
    EXPECT_EQ(KZCGreen(c), 0x2B);
    EXPECT_EQ(KZCBlue(c), 0x3C);
}

TEST(KZCColorModel, PaletteHoldsGreysThenRowsOfHues) {
    KZCColor p[KZC_PALETTE_SIZE];
    KZCBuildColorPalette(p);
    ASSERT_EQ(KZC_PALETTE_SIZE, 156);
    struct Cell {
        int index;
        int r, g, b;
    };
    const Cell cells[] = {
        {0, 0, 0, 0},
        {1, 23, 23, 23},
        {5, 115, 115, 115},
        {11, 255, 255, 255},
        {12, 255, 0, 0}, // row 0: full value and saturation
        {12 + 4, 0, 255, 0},
        {12 + 8, 0, 0, 255},
        {12 + 2, 255, 255, 0},
        {12 + 1, 255, 128, 0},    // hue 30 degrees
        {24, 221, 0, 0},          // row 1: value sqrt(0.75)
        {36, 180, 0, 0},          // row 2: value sqrt(0.5)
        {48 + 4, 0, 128, 0},      // row 3: value 0.5
        {60, 255, 128, 128},      // row 4: saturation 0.5
        {108 + 6, 204, 255, 255}, // row 8: saturation 0.2, cyan
        {155, 128, 102, 115},     // last cell: hue 330, s 0.2, v 0.5
    };
    for (const Cell& c : cells) {
        EXPECT_EQ(p[c.index], KZCMakeColor(c.r, c.g, c.b)) << "cell " << c.index;
    }
    EXPECT_EQ(KZCColorPalette()[0], p[0]);
    EXPECT_EQ(KZCColorPalette()[155], p[155]);
}

TEST(KZCColorModel, PaletteIndexFindsCellsOrNone) {
    EXPECT_EQ(KZCPaletteIndexOf(KZCMakeColor(0, 0, 0)), 0);
    EXPECT_EQ(KZCPaletteIndexOf(KZCMakeColor(255, 255, 255)), 11);
    EXPECT_EQ(KZCPaletteIndexOf(KZCMakeColor(255, 0, 0)), 12);
    EXPECT_EQ(KZCPaletteIndexOf(KZCMakeColor(0x12, 0x34, 0x56)), -1);
}

TEST(KZCColorModel, TooltipShowsHexThenDecimal) {
    EXPECT_EQ(Tip(KZCMakeColor(255, 0, 0)), "#FF0000 (255 0 0)");
    EXPECT_EQ(Tip(KZCMakeColor(0x0A, 0xB0, 0x07)), "#0AB007 (10 176 7)");
    char hex[8];
    KZCFormatHexColor(KZCMakeColor(0x33, 0x66, 0x99), hex, sizeof hex);
    EXPECT_STREQ(hex, "#336699");
}

TEST(KZCColorModel, ClipboardTextBecomesAColor) {
    struct Case {
        const char* text;
        bool ok;
        KZCColor color;
    };
    const Case cases[] = {
        {"#1A2B3C", true, KZCMakeColor(0x1A, 0x2B, 0x3C)},
        {"ff", true, KZCMakeColor(255, 0, 0)},
        {"f", false, 0},
        {"", false, 0},
        {"#", false, 0},
        {"  #336699;\r\n", true, KZCMakeColor(0x33, 0x66, 0x99)},
        {"color: #ABCDEF", false, 0},
        {"(#abc)", true, KZCMakeColor(0xAB, 0xC0, 0)}, // missing digits count as 0
        {"[1a2b3c4d]", true, KZCMakeColor(0x1A, 0x2B, 0x3C)},
        {"'#12 34 56'", true, KZCMakeColor(0x12, 0, 0)},
        {"hello", false, 0},
        {"$$ff8000!!", true, KZCMakeColor(255, 0x80, 0)},
        // Only the first 20 bytes count: here they hold spaces and the hash sign alone.
        {"                   #ff0000", false, 0},
        {"                 #ff0000", true, KZCMakeColor(0xFF, 0, 0)},
    };
    for (const Case& c : cases) {
        KZCColor color = 0x777777;
        EXPECT_EQ(KZCParseClipboardColor(c.text, &color), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(color, c.ok ? c.color : 0x777777u) << '"' << c.text << '"';
    }
}

TEST(KZCColorModel, TypedHexNeedsSixDigits) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {{"#336699", true},  {"336699", true},    {" #336699 ", true},
                          {"#33669", false},  {"#3366990", false}, {"#33 6699", false},
                          {"#33669G", false}, {"", false}};
    for (const Case& c : cases) {
        KZCColor color = 1;
        EXPECT_EQ(KZCParseHexColor(c.text, &color), c.ok) << c.text;
        EXPECT_EQ(color, c.ok ? KZCMakeColor(0x33, 0x66, 0x99) : 1u) << c.text;
    }
}

TEST(KZCColorModel, TypedIntegersAreLimited) {
    struct Case {
        const char* text;
        int lowest, highest, expected;
    };
    const Case cases[] = {
        {"42", 0, 100, 42},
        {"  42x", 0, 100, 42},
        {"150", 0, 100, 100},
        {"-5", 0, 100, 0},
        {"+7", 0, 100, 7},
        {"", 0, 100, 0},
        {"-", 0, 100, 0},
        {"abc", 10, 100, 10},
        {"99999999999999999999", 0, 255, 255},
        {"-99999999999999999999", -10000, 10000, -10000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KZCReadLimitedInteger(c.text, c.lowest, c.highest), c.expected) << c.text;
}

TEST(KZCColorModel, TypedHueIsLimitedThenWrapped) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {{"370", 10},    {"-10", 350}, {"20000", 280}, {"10000", 280},
                          {"-20000", 80}, {"360", 0},   {"359", 359},   {"0", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(KZCReadHue(c.text), c.expected) << c.text;
}
