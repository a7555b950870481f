#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "builder/ui/controls/kzc_color_dialog_model.h"

namespace {

std::string Text(const KZCColorDialogModel& m, KZCColorField field) {
    char buffer[16];
    m.FieldText(field, buffer, sizeof buffer);
    return buffer;
}

void ExpectHsv(const KZCColorDialogModel& m, int h, int s, int v) {
    EXPECT_EQ(m.Component(KZC_COMPONENT_HUE), h);
    EXPECT_EQ(m.Component(KZC_COMPONENT_SATURATION), s);
    EXPECT_EQ(m.Component(KZC_COMPONENT_VALUE), v);
}

const int kMapWidth = 170, kMapHeight = 159;

} // namespace

TEST(KZCColorDialogModel, RgbGivesHsvInEverySector) {
    struct Case {
        int r, g, b, h, s, v;
    };
    const Case cases[] = {
        {255, 0, 0, 0, 100, 100},        {255, 255, 0, 60, 100, 100},
        {0, 255, 0, 120, 100, 100},      {0, 255, 255, 180, 100, 100},
        {0, 0, 255, 240, 100, 100},      {255, 0, 255, 300, 100, 100},
        {0x33, 0x66, 0x99, 210, 67, 60}, {255, 0, 1, 360 - 0, 100, 100}, // 359.8 rounds up to 0
        {128, 64, 0, 30, 100, 50},
    };
    for (const Case& c : cases) {
        KZCColorDialogModel m;
        m.SetColor(KZCMakeColor(c.r, c.g, c.b));
        SCOPED_TRACE(testing::Message() << c.r << ' ' << c.g << ' ' << c.b);
        ExpectHsv(m, c.h % 360, c.s, c.v);
        EXPECT_EQ(m.Color(), KZCMakeColor(c.r, c.g, c.b));
    }
}

TEST(KZCColorDialogModel, HsvGivesRgb) {
    KZCColorDialogModel m;
    m.SetComponent(KZC_COMPONENT_VALUE, 50);
    m.SetComponent(KZC_COMPONENT_SATURATION, 100);
    m.SetComponent(KZC_COMPONENT_HUE, 120);
    EXPECT_EQ(m.Color(), KZCMakeColor(0, 128, 0));
    m.SetComponent(KZC_COMPONENT_HUE, 240);
    m.SetComponent(KZC_COMPONENT_VALUE, 100);
    EXPECT_EQ(m.Color(), KZCMakeColor(0, 0, 255));
}

TEST(KZCColorDialogModel, GreysAndBlackKeepHueAndSaturation) {
    KZCColorDialogModel m;
    m.SetColor(KZCMakeColor(0, 255, 0));
    m.SetComponent(KZC_COMPONENT_SATURATION, 0);
    EXPECT_EQ(m.Color(), KZCMakeColor(255, 255, 255));
    EXPECT_EQ(m.Component(KZC_COMPONENT_HUE), 120);
    m.SetComponent(KZC_COMPONENT_SATURATION, 100);
    EXPECT_EQ(m.Color(), KZCMakeColor(0, 255, 0));
    m.SetComponent(KZC_COMPONENT_VALUE, 0);
    m.SetComponent(KZC_COMPONENT_RED, 0); // a change of RGB while black keeps the rest
    ExpectHsv(m, 120, 100, 0);
}

TEST(KZCColorDialogModel, TypedTextIsReadAndShownCorrected) {
    struct Case {
        KZCColorField field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {KZC_FIELD_HUE, "370", "10"},      {KZC_FIELD_HUE, "-10", "350"},
        {KZC_FIELD_HUE, "20000", "280"},   {KZC_FIELD_SATURATION, "150", "100"},
        {KZC_FIELD_SATURATION, "-5", "0"}, {KZC_FIELD_VALUE, "101", "100"},
        {KZC_FIELD_RED, "300", "255"},     {KZC_FIELD_BLUE, "-1", "0"},
        {KZC_FIELD_GREEN, "17", "17"},     {KZC_FIELD_HEX, "#abcdef", "#ABCDEF"},
    };
    for (const Case& c : cases) {
        KZCColorDialogModel m;
        m.SetColor(KZCMakeColor(200, 100, 50));
        m.ApplyTypedText(c.field, c.typed);
        EXPECT_EQ(Text(m, c.field), c.shown) << c.typed;
    }
}

TEST(KZCColorDialogModel, TypedHexSetsRgbAndHsvFollows) {
    KZCColorDialogModel m;
    m.ApplyTypedText(KZC_FIELD_HEX, "#336699");
    EXPECT_EQ(Text(m, KZC_FIELD_RED), "51");
    EXPECT_EQ(Text(m, KZC_FIELD_GREEN), "102");
    EXPECT_EQ(Text(m, KZC_FIELD_BLUE), "153");
    EXPECT_EQ(Text(m, KZC_FIELD_HUE), "210");
    EXPECT_EQ(Text(m, KZC_FIELD_SATURATION), "67");
    EXPECT_EQ(Text(m, KZC_FIELD_VALUE), "60");
    // Half-typed text leaves the colour as it was.
    m.ApplyTypedText(KZC_FIELD_HEX, "#33");
    EXPECT_EQ(m.Color(), KZCMakeColor(0x33, 0x66, 0x99));
}

TEST(KZCColorDialogModel, TypedHueChangesRgb) {
    KZCColorDialogModel m;
    m.SetColor(KZCMakeColor(255, 0, 0));
    m.ApplyTypedText(KZC_FIELD_HUE, "480"); // 120 after wrapping
    EXPECT_EQ(m.Color(), KZCMakeColor(0, 255, 0));
}

TEST(KZCColorDialogModel, MapAxesLeaveOutTheBarsComponent) {
    for (int bar = 0; bar < KZC_COMPONENT_COUNT; ++bar) {
        KZCColorComponent x, y;
        KZCMapAxes((KZCColorComponent)bar, &x, &y);
        EXPECT_NE(x, bar);
        EXPECT_NE(y, bar);
        EXPECT_NE(x, y);
        // Map and bar stay in one colour space.
        EXPECT_EQ(x < KZC_COMPONENT_RED, bar < KZC_COMPONENT_RED);
        EXPECT_EQ(y < KZC_COMPONENT_RED, bar < KZC_COMPONENT_RED);
    }
}

TEST(KZCColorDialogModel, MapCornersAndClampedPoints) {
    KZCColorDialogModel m;
    m.SetColor(KZCMakeColor(255, 0, 0));
    // Hue bar: saturation across, value up.
    KZCSetMapPoint(&m, KZC_COMPONENT_HUE, kMapWidth - 1, 0, kMapWidth, kMapHeight);
    ExpectHsv(m, 0, 100, 100);
    KZCSetMapPoint(&m, KZC_COMPONENT_HUE, -20, 500, kMapWidth, kMapHeight);
    ExpectHsv(m, 0, 0, 0);
    // Red bar: blue across, green up, red as it is.
    m.SetColor(KZCMakeColor(200, 0, 0));
    EXPECT_EQ(KZCMapColorAt(m, KZC_COMPONENT_RED, kMapWidth - 1, 0, kMapWidth, kMapHeight),
              KZCMakeColor(200, 255, 255));
    EXPECT_EQ(KZCMapColorAt(m, KZC_COMPONENT_RED, 0, kMapHeight - 1, kMapWidth, kMapHeight),
              KZCMakeColor(200, 0, 0));
    EXPECT_EQ(m.Color(), KZCMakeColor(200, 0, 0)); // drawing changes nothing
}

TEST(KZCColorDialogModel, MapAndBarPointsRoundTrip) {
    for (int bar = 0; bar < KZC_COMPONENT_COUNT; ++bar) {
        KZCColorDialogModel m;
        m.SetColor(KZCMakeColor(0x33, 0x66, 0x99));
        KZCColorComponent xa, ya;
        KZCMapAxes((KZCColorComponent)bar, &xa, &ya);
        int x, y;
        KZCMapPoint(m, (KZCColorComponent)bar, kMapWidth, kMapHeight, &x, &y);
        KZCColorDialogModel back = m;
        KZCSetMapPoint(&back, (KZCColorComponent)bar, x, y, kMapWidth, kMapHeight);
        // One pixel spans at most two units of any component.
        EXPECT_LE(std::abs(back.Component(xa) - m.Component(xa)), 2) << bar;
        EXPECT_LE(std::abs(back.Component(ya) - m.Component(ya)), 2) << bar;
        int b = KZCBarPoint(m, (KZCColorComponent)bar, kMapHeight);
        back = m;
        KZCSetBarPoint(&back, (KZCColorComponent)bar, b, kMapHeight);
        EXPECT_LE(
            std::abs(back.Component((KZCColorComponent)bar) - m.Component((KZCColorComponent)bar)),
            2)
            << bar;
    }
}

TEST(KZCColorDialogModel, HueBarShowsPureHues) {
    KZCColorDialogModel m;
    m.SetColor(KZCMakeColor(60, 60, 60));
    EXPECT_EQ(KZCBarColorAt(m, KZC_COMPONENT_HUE, kMapHeight - 1, kMapHeight),
              KZCMakeColor(255, 0, 0));
    EXPECT_EQ(KZCBarPoint(m, KZC_COMPONENT_HUE, kMapHeight), kMapHeight - 1);
    KZCSetBarPoint(&m, KZC_COMPONENT_HUE, 0, kMapHeight);
    EXPECT_EQ(m.Component(KZC_COMPONENT_HUE), 359);
    // The value bar varies the value alone.
    m.SetColor(KZCMakeColor(0, 0, 255));
    EXPECT_EQ(KZCBarColorAt(m, KZC_COMPONENT_VALUE, kMapHeight - 1, kMapHeight), 0u);
    EXPECT_EQ(KZCBarColorAt(m, KZC_COMPONENT_VALUE, 0, kMapHeight), KZCMakeColor(0, 0, 255));
}
