#include "builder/ui/pages/fc_playback_rules.h"

#include <gtest/gtest.h>

namespace {

FCColor Color(float red, float green, float blue, float alpha = 1.0f) {
    FCColor color;
    color.red = red;
    color.green = green;
    color.blue = blue;
    color.alpha = alpha;
    return color;
}

} // namespace

TEST(FCPlaybackRules, DocumentColourToButtonRoundsHalfUpRedInTheLowByte) {
    const struct {
        FCColor color;
        uint32_t value;
    } cases[] = {
        {Color(0, 0, 1), 0xFF0000},
        {Color(1, 0, 0), 0x0000FF},
        {Color(0.5f, 0.2f, 1), 0xFF3380},            // 127.5 + 0.5 is 128; 51 + 0.5 stays 51
        {Color(0.998f, 0.0019f, 0.0021f), 0x0100FE}, // 254.49 → 254; 0.48 → 0; 0.54 → 1
        {Color(0.1f, 0.1f, 0.1f, 0.0f), 0x1A1A1A},   // alpha plays no part
        {Color(-1, 2, 0.5f), 0x80FF00},              // out of range: kept within a byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(FCColorToColorRef(c.color), c.value)
            << c.color.red << " " << c.color.green << " " << c.color.blue;
}

TEST(FCPlaybackRules, ButtonColourBackIsOpaqueAndEveryByteSurvivesTheRoundTrip) {
    FCColor back = FCColorFromColorRef(0x7F0080FF);
    EXPECT_FLOAT_EQ(back.red, 1.0f);
    EXPECT_FLOAT_EQ(back.green, 128 / 255.0f);
    EXPECT_FLOAT_EQ(back.blue, 0.0f);
    EXPECT_EQ(back.alpha, 1.0f); // the top byte is no alpha
    for (uint32_t v = 0; v < 256; ++v) {
        uint32_t value = v | ((255 - v) << 8) | (((v * 7) & 0xFF) << 16);
        ASSERT_EQ(FCColorToColorRef(FCColorFromColorRef(value)), value) << v;
    }
}

TEST(FCPlaybackRules, ListPositionsAreTheFieldValues) {
    EXPECT_STREQ(FCQualityText(0), "Low");
    EXPECT_STREQ(FCQualityText(2), "High");
    EXPECT_STREQ(FCSizeModeText(1), "Full Screen");
    EXPECT_STREQ(FCSizeModeText(3), "Never Resize");
    for (int outside : {-1, 4})
        EXPECT_STREQ(FCSizeModeText(outside), "") << outside;
    EXPECT_STREQ(FCQualityText(3), "");
}
