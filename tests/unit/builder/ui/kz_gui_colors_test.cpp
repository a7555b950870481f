#include "builder/ui/controls/kz_gui_colors.h"

#include <gtest/gtest.h>

namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

TEST(GUIColors, LightFaceScalesEachChannelAndCapsFrom235) {
    EXPECT_EQ(KZLightFaceColor(Rgb(192, 192, 192)), Rgb(210, 210, 210));
    EXPECT_EQ(KZLightFaceColor(Rgb(240, 234, 0)), Rgb(255, 255, 0)); // 234*35/32 = 255
    EXPECT_EQ(KZLightFaceColor(Rgb(235, 100, 32)), Rgb(255, 109, 35));
}

TEST(GUIColors, HalfHighlightIsTheIntegerMean) {
    EXPECT_EQ(KZHalfHighlightColor(Rgb(212, 208, 200), Rgb(255, 255, 255)), Rgb(233, 231, 227));
    EXPECT_EQ(KZHalfHighlightColor(Rgb(1, 0, 3), Rgb(0, 0, 0)), Rgb(0, 0, 1));
}

} // namespace
